#include "Sim_Fixture.h"

#include "sim/Quorel_Sim_Blocks.h"

namespace {

int Word_Lsb(const QByteArray& block, int at) { return quint8(block[at]) | quint8(block[at + 1]) << 8; }
int Msb_24(const QByteArray& block, int at)
{
    return quint8(block[at]) << 16 | quint8(block[at + 1]) << 8 | quint8(block[at + 2]);
}

using Ident_Test = Sim_Line_Fixture;

TEST_F(Ident_Test, IdentificationRequestIsAnsweredWithFourBytesAnnouncingN)
{
    const QByteArray request = Read_Request(0x21);
    ASSERT_EQ(request, Bytes({0x1D, 0x21, 0x21, 0x21, 0x80}));
    const QByteArray answer = Exchange(request, 4);
    ASSERT_EQ(answer.size(), 4);
    EXPECT_EQ(quint8(answer[0]), 0x1D);
    EXPECT_EQ(quint8(answer[1]), 0x21);
    EXPECT_EQ(quint8(answer[2]), 68);
    EXPECT_TRUE(Checksum_Ok(answer));
    // nothing follows the answer
    EXPECT_TRUE(Read(1).isEmpty());
}

struct Block_Case
{
    bool has_w13;
    int n;
};

void PrintTo(const Block_Case& c, std::ostream* os) { *os << (c.has_w13 ? "with W13" : "without W13"); }

class Ident_Block_Test : public Sim_Line_Fixture, public ::testing::WithParamInterface<Block_Case>
{
};

TEST_P(Ident_Block_Test, BlockHasAnnouncedLengthAndItsFieldsAtTheirOffsets)
{
    Sim_Ecu_Config config;
    config.Has_W13 = GetParam().has_w13;
    config.Program_Name = "QGstreamLG6";
    config.Program_Date = "01.02.2020";
    config.Program_Version = "6.05";
    config.Ident_Code = 3;
    config.Work_Gas = 0x012345;
    config.Work_Petrol = 0xABCDEF;
    config.Gas_Accident_Count = 9;
    config.Live_Length = 68;
    config.Config_Length = 150;
    for (int i = 0; i < 12; ++i)
        config.W[size_t(i)] = quint16(0x0100 * (i + 1) + i + 2);
    config.W13 = 125;
    Join(config);

    const QByteArray ident = Exchange(Read_Request(0x21), 4);
    ASSERT_EQ(ident.size(), 4);
    const int n = quint8(ident[2]);
    EXPECT_EQ(n, GetParam().n);

    const QByteArray block = Exchange(Read_Request(0x30), n + 3);
    ASSERT_EQ(block.size(), n + 3);
    EXPECT_TRUE(Read(1).isEmpty()) << "answer longer than announced";
    EXPECT_TRUE(Checksum_Ok(block));
    EXPECT_EQ(quint8(block[0]), 0x1D);
    EXPECT_EQ(quint8(block[1]), 0x30);
    EXPECT_EQ(quint8(block[2]), 3);
    EXPECT_EQ(block.mid(3, 16), QByteArray("QGstreamLG6     "));
    EXPECT_EQ(block.mid(19, 10), QByteArray("01.02.2020"));
    EXPECT_EQ(block.mid(29, 4), QByteArray("6.05"));
    EXPECT_EQ(Msb_24(block, 33), 0x012345);
    EXPECT_EQ(Msb_24(block, 36), 0xABCDEF);
    EXPECT_EQ(quint8(block[39]), 68);
    EXPECT_EQ(quint8(block[40]), 150);
    EXPECT_EQ(quint8(block[42]), 9);
    for (int w = 1; w <= 12; ++w)
        EXPECT_EQ(Word_Lsb(block, 44 + 2 * (w - 1)), 0x0100 * w + w + 1) << "W" << w;
    if (GetParam().has_w13) {
        ASSERT_GE(block.size() - 1, 70);
        EXPECT_EQ(Word_Lsb(block, 68), 125);
    } else {
        EXPECT_LT(block.size() - 1, 70) << "a block without W13 must not reach 70 bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(W13, Ident_Block_Test,
                         ::testing::Values(Block_Case{true, 68}, Block_Case{false, 66}));

TEST(Ident_Block, LongNamesAreCutAndShortOnesBlankPadded)
{
    Sim_Ecu_Config config;
    config.Program_Name = "A_VERY_LONG_FIRMWARE_NAME";
    config.Program_Version = "10";
    const QByteArray block = Sim_Blocks::Identification_Block(config);
    EXPECT_EQ(block.mid(3, 16), QByteArray("A_VERY_LONG_FIRM"));
    EXPECT_EQ(block.mid(29, 4), QByteArray("10  "));
    EXPECT_EQ(block.mid(19, 10), QByteArray("12.03.2019"));
}

// The program takes the lengths of the reads from the identification block;
// every read must be answered with exactly that length.
struct Geometry
{
    int live_length, config_length, w4, w7, w12;
};

void PrintTo(const Geometry& g, std::ostream* os)
{
    *os << "live " << g.live_length << ", config " << g.config_length << ", W4 " << g.w4 << ", W7 " << g.w7
        << ", W12 " << g.w12;
}

class Read_Length_Test : public Sim_Line_Fixture, public ::testing::WithParamInterface<Geometry>
{
};

TEST_P(Read_Length_Test, EveryReadIsAnsweredWithTheLengthTheBlockAnnounces)
{
    Sim_Ecu_Config config;
    config.Live_Length = quint8(GetParam().live_length);
    config.Config_Length = quint8(GetParam().config_length);
    config.W[3] = quint16(GetParam().w4);
    config.W[6] = quint16(GetParam().w7);
    config.W[11] = quint16(GetParam().w12);
    Join(config);

    const int n = quint8(Exchange(Read_Request(0x21), 4).at(2));
    const QByteArray block = Exchange(Read_Request(0x30), n + 3);
    ASSERT_EQ(block.size(), n + 3);
    const int w4 = Word_Lsb(block, 44 + 6), w7 = Word_Lsb(block, 44 + 12), w12 = Word_Lsb(block, 44 + 22);
    const struct
    {
        int code;
        int length;
    } reads[] = {
        {0x31, quint8(block[39]) + 3},
        {0x32, 67},
        {0x33, 11},
        {0x34, 11},
        {0x35, quint8(block[40]) + 3},
        {0x36, 57},
        {0x37, (w4 + 1) * (w7 + w12 + 2) + w12 + 4},
    };
    for (const auto& r : reads) {
        SCOPED_TRACE(::testing::Message() << "command 0x" << std::hex << r.code);
        // ask for more than expected so that an over-long answer shows
        const QByteArray answer = Exchange(Read_Request(r.code), r.length + 16);
        ASSERT_EQ(answer.size(), r.length);
        EXPECT_EQ(quint8(answer[0]), 0x1D);
        EXPECT_EQ(quint8(answer[1]), r.code);
        EXPECT_TRUE(Checksum_Ok(answer));
    }
}

INSTANTIATE_TEST_SUITE_P(Geometries, Read_Length_Test,
                         ::testing::Values(Geometry{68, 159, 7, 7, 7}, Geometry{60, 90, 15, 3, 11},
                                           Geometry{255, 255, 0, 0, 0}));

}
