#include "Sim_Fixture.h"

#include "sim/Quorel_Sim_Blocks.h"
#include "sim/Quorel_Sim_Parameters.h"
#include "sim/Quorel_Sim_Profiles.h"

#include <string>

namespace {

int Word_Lsb(const QByteArray& block, int at) { return quint8(block[at]) | quint8(block[at + 1]) << 8; }

QByteArray With_Checksum(QByteArray frame)
{
    frame.append(char(Sum8(frame, int(frame.size()))));
    return frame;
}

struct Store_Fixture : Sim_Line_Fixture
{
    // Length announcement, then the long write; returns the write's answer.
    QByteArray Long_Write(int command, const QByteArray& data)
    {
        const int length = int(data.size()) + 3;
        EXPECT_EQ(Exchange(Frame({0x1D, 0x23, length >> 8, length & 0xFF}), 3), Frame({0x1D, 0x23}));
        // a long frame is still on the wire when the read would start
        Write(With_Checksum(Bytes({0x1D, command}) + data));
        clock.Advance(Serial_Port::Wire_Time_Ms(length));
        return Read(8);
    }
    // Data bytes of a read answer of the given length.
    QByteArray Read_Data(int command, int length)
    {
        const QByteArray answer = Exchange(Read_Request(command), length + 8);
        EXPECT_EQ(answer.size(), length);
        EXPECT_TRUE(Checksum_Ok(answer));
        return answer.mid(2, answer.size() - 3);
    }
};

// ---- profiles ---------------------------------------------------------------

struct Profile_Case
{
    const char* version;
    const char* model;
    int codes;
};

void PrintTo(const Profile_Case& c, std::ostream* os) { *os << c.version; }

class Profile_Test : public Store_Fixture, public ::testing::WithParamInterface<Profile_Case>
{
};

TEST_P(Profile_Test, EveryAnswerHasTheLengthTheIdentificationBlockAnnounces)
{
    const auto profile = Sim_Profiles::Profile(GetParam().version);
    ASSERT_TRUE(profile);
    Join(*profile);

    const QByteArray ident = Exchange(Read_Request(0x21), 8);
    ASSERT_EQ(ident.size(), 4);
    const int n = quint8(ident[2]);
    const QByteArray block = Exchange(Read_Request(0x30), n + 8);
    ASSERT_EQ(block.size(), n + 3);
    EXPECT_EQ(block.mid(3, 16).trimmed(), QByteArray(GetParam().model));
    EXPECT_EQ(block.mid(29, 4), QByteArray(GetParam().version));
    EXPECT_LT(quint8(block[2]), 7);
    // two bytes per parameter code of the firmware
    EXPECT_EQ(quint8(block[40]), 2 * GetParam().codes);

    const int w4 = Word_Lsb(block, 50), w7 = Word_Lsb(block, 56), w12 = Word_Lsb(block, 66);
    const int factors = (w4 + 1) * (w7 + w12 + 2) + w12 + 4;
    EXPECT_LE(factors, 1024) << "one frame must hold the correction factors";
    const struct
    {
        int code;
        int length;
    } reads[] = {
        {0x31, quint8(block[39]) + 3}, {0x32, 67}, {0x33, 11}, {0x34, 11},
        {0x35, quint8(block[40]) + 3}, {0x36, 57}, {0x37, factors},
    };
    for (const auto& r : reads) {
        SCOPED_TRACE(::testing::Message() << "command 0x" << std::hex << r.code);
        const QByteArray answer = Exchange(Read_Request(r.code), r.length + 16);
        ASSERT_EQ(answer.size(), r.length);
        EXPECT_EQ(quint8(answer[1]), r.code);
        EXPECT_TRUE(Checksum_Ok(answer));
    }
}

TEST_P(Profile_Test, ConfigurationBlockHoldsTheFactoryValueOfEachCodeInListOrder)
{
    const auto profile = Sim_Profiles::Profile(GetParam().version);
    ASSERT_TRUE(profile);
    Join(*profile);
    const auto codes = Sim_Parameters::Codes(Sim_Parameters::Version_Number(GetParam().version));
    ASSERT_EQ(int(codes.size()), GetParam().codes);
    EXPECT_EQ(codes.front(), 'A');
    const QByteArray data = Read_Data(0x35, 2 * GetParam().codes + 3);
    ASSERT_EQ(data.size(), 2 * GetParam().codes);
    for (size_t k = 0; k < codes.size(); ++k) {
        const quint16 value = Sim_Parameters::Factory_Value(codes[k]);
        const int b0 = quint8(data[int(2 * k)]), b1 = quint8(data[int(2 * k + 1)]);
        SCOPED_TRACE(std::string(1, char(codes[k])));
        if (Sim_Parameters::Is_Word(codes[k]))
            EXPECT_EQ(b0 | b1 << 8, value);
        else
            EXPECT_EQ(b0 << 8 | b1, value);
    }
}

INSTANTIATE_TEST_SUITE_P(Firmware, Profile_Test,
                         ::testing::Values(Profile_Case{"4.15", "QGstreamLG4", 43}, Profile_Case{"4.19", "QGstreamLG4", 53},
                                           Profile_Case{"6.05", "QGstreamLG6", 43}, Profile_Case{"6.16", "QGstreamLG6", 45},
                                           Profile_Case{"8.20", "QGstreamLG8", 53}));

TEST(Sim_Profiles, NamesAreThoseServedAndUnknownOnesAreRefused)
{
    const QStringList names = Sim_Profiles::Names();
    EXPECT_EQ(names, QStringList({"4.15", "4.19", "6.05", "6.16", "8.20"}));
    EXPECT_FALSE(Sim_Profiles::Profile("5.00"));
    EXPECT_FALSE(Sim_Profiles::Profile(""));
    // the default ECU is the 4.19 profile
    const Sim_Ecu_Config defaults;
    const Sim_Ecu_Config p = *Sim_Profiles::Profile("4.19");
    EXPECT_EQ(Sim_Blocks::Identification_Block(defaults), Sim_Blocks::Identification_Block(p));
}

TEST(Sim_Parameters, ListFollowsTheVersionRanges)
{
    const struct
    {
        const char* version;
        int count;
    } cases[] = {{"4.00", 43}, {"4.15", 43}, {"4.16", 45}, {"4.17", 53}, {"4.99", 53}, {"5.00", 0},
                 {"6.16", 45}, {"8.17", 53}, {"9.17", 0}, {"3.99", 0}, {"x.19", 0}, {"419", 53}};
    for (const auto& c : cases)
        EXPECT_EQ(int(Sim_Parameters::Codes(Sim_Parameters::Version_Number(c.version)).size()), c.count)
            << c.version;
    const auto list = Sim_Parameters::Codes(417);
    EXPECT_EQ(list[43], 'l');
    EXPECT_EQ(list[44], 'm');
    EXPECT_EQ(list.back(), 'u');
}

// ---- writes are stored and read back ----------------------------------------

using Round_Trip_Test = Store_Fixture;

TEST_F(Round_Trip_Test, ValueListUpdatesEachCodeAndReadsBackInItsSlotOrder)
{
    // the whole list of 4.19 with a distinct value per code
    const auto codes = Sim_Parameters::Codes(419);
    QByteArray list;
    for (quint8 code : codes)
        list.append(Bytes({code, code - 0x20, 0x1D}));
    EXPECT_EQ(Long_Write(0x3B, list), Frame({0x1D, 0x3B}));
    for (quint8 code : codes)
        EXPECT_EQ(ecu->Store().Parameters.at(code), (code - 0x20) << 8 | 0x1D);

    // a few codes alone, as the editor sends a change with its companions
    EXPECT_EQ(Long_Write(0x3B, Bytes({'C', 0x19, 0xC8, 'e', 0x01, 0x04, 'X', 0xD1, 0x2C})), Frame({0x1D, 0x3B}));
    const QByteArray data = Read_Data(0x35, 2 * 53 + 3);
    ASSERT_EQ(data.size(), 106);
    const auto slot = [&data](char code) { return data.mid(2 * (code - 'A'), 2); };
    EXPECT_EQ(slot('C'), Bytes({0xC8, 0x19})) << "a word reads back low byte first";
    EXPECT_EQ(slot('e'), Bytes({0x01, 0x04})) << "a byte pair reads back in the order written";
    EXPECT_EQ(slot('X'), Bytes({0x2C, 0xD1})) << "level with its flags in the high byte";
    EXPECT_EQ(slot('A'), Bytes({0x21, 0x1D}));
    EXPECT_EQ(slot('D'), Bytes({0x1D, 0x24}));
    EXPECT_EQ(ecu->Codes_Ignored(), 0);
}

TEST_F(Round_Trip_Test, CodesTheFirmwareLacksAreAcknowledgedButIgnored)
{
    Join(*Sim_Profiles::Profile("4.15"));
    EXPECT_EQ(Long_Write(0x3B, Bytes({'n', 0x01, 0x90, 'B', 0x40, 0x01})), Frame({0x1D, 0x3B}));
    EXPECT_EQ(ecu->Codes_Ignored(), 1);
    EXPECT_EQ(ecu->Store().Parameters.count('n'), 0u);
    EXPECT_EQ(ecu->Store().Parameters.at('B'), 0x4001);
    EXPECT_EQ(Read_Data(0x35, 89).mid(2, 2), Bytes({0x40, 0x01}));
}

TEST_F(Round_Trip_Test, SingleParameterWriteChangesTheConfigurationStore)
{
    EXPECT_EQ(Exchange(Frame({0x1D, 0x46, 0x80, 0x67}), 8), Frame({0x1D, 0x46}));
    EXPECT_EQ(ecu->Store().Parameters.at('F'), 0x8067);
    EXPECT_EQ(Read_Data(0x35, 109).mid(2 * 5, 2), Bytes({0x67, 0x80}));
}

TEST_F(Round_Trip_Test, PasswordBlockReadsBackAsWritten)
{
    EXPECT_EQ(Read_Data(0x32, 67), QByteArray(64, char(0xFF))) << "factory ECU has no password";
    const QByteArray block = Sim_Ecu_Store::Make_Password_Block("Se cret", "01.02.2024/Garage Nord//555 0101");
    ASSERT_EQ(block.size(), 64);
    EXPECT_EQ(block.left(8), QByteArray("Se cret") + char(0xFF));
    EXPECT_EQ(Long_Write(0x38, block), Frame({0x1D, 0x38}));
    EXPECT_EQ(Read_Data(0x32, 67), block);
    EXPECT_EQ(ecu->Store().Password_Block, block);
    // deleting writes an empty password
    const QByteArray none = Sim_Ecu_Store::Make_Password_Block("", "");
    EXPECT_EQ(Long_Write(0x38, none), Frame({0x1D, 0x38}));
    EXPECT_EQ(Read_Data(0x32, 67), QByteArray(64, char(0xFF)));
}

TEST_F(Round_Trip_Test, ServiceTimeWriteReadsBackInTheAnswerLayout)
{
    const struct
    {
        int speed, interval;
        bool block_gas;
        quint32 remains;
    } cases[] = {{60, 250, true, 250 * 60}, {45, 0xABCD, false, 0x7EDCBA98}, {0, 0, false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.interval);
        const quint32 r = c.remains | (c.block_gas ? 0x80000000u : 0);
        const QByteArray write = Bytes({0, c.speed, c.interval >> 8, c.interval & 0xFF, int(r >> 24), int(r >> 16 & 0xFF),
                                        int(r >> 8 & 0xFF), int(r & 0xFF)});
        EXPECT_EQ(Long_Write(0x39, write), Frame({0x1D, 0x39}));
        const QByteArray d = Bytes({0, 0}) + Read_Data(0x33, 11);   // d[i] = answer byte i
        ASSERT_EQ(d.size(), 10);
        EXPECT_EQ(quint8(d[3]), c.speed);
        EXPECT_EQ(Word_Lsb(d, 4), c.interval);
        const quint32 remains = quint32(quint8(d[7]) & 0x7F) << 24 | quint32(quint8(d[6])) << 16
                                | quint32(quint8(d[9])) << 8 | quint8(d[8]);
        EXPECT_EQ(remains, c.remains);
        EXPECT_EQ((quint8(d[7]) & 0x80) != 0, c.block_gas);
        EXPECT_EQ(ecu->Store().ST_Set, c.interval);
        EXPECT_EQ(ecu->Store().ST_Block_Gas, c.block_gas);
    }
}

TEST_F(Round_Trip_Test, CarNumberReadsBackAsWritten)
{
    EXPECT_EQ(Read_Data(0x34, 11), QByteArray(8, char(0xFF)));
    // the frame the program sends for AB12
    EXPECT_EQ(Exchange(Frame({0x1D, 0x23, 0x00, 0x0B}), 3), Frame({0x1D, 0x23}));
    EXPECT_EQ(Exchange(Bytes({0x1D, 0x3A, 0x41, 0x42, 0x31, 0x32, 0xFF, 0xFF, 0xFF, 0xFF, 0x39}), 8), Frame({0x1D, 0x3A}));
    EXPECT_EQ(Read_Data(0x34, 11), Bytes({0x41, 0x42, 0x31, 0x32, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Sim_Ecu_Store::Make_Car_Num("ABCDEFGHIJ"), QByteArray("ABCDEFGH"));
}

TEST_F(Round_Trip_Test, MapReadsBackAsWrittenWithTheReadCommandEchoed)
{
    // factory map: nine points, factor 128 each, 0 ... 25 ms
    const QByteArray factory = Read_Data(0x36, 57);
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(Word_Lsb(factory, 2 + 6 * k), 128) << k;
    EXPECT_EQ(Word_Lsb(factory, 4 + 6 * 8), 25000);

    QByteArray map(54, '\0');
    for (int i = 0; i < 54; ++i)
        map[i] = char(i * 7 + 1);
    EXPECT_EQ(Long_Write(0x3C, map), Frame({0x1D, 0x3C}));
    const QByteArray answer = Exchange(Read_Request(0x36), 64);
    ASSERT_EQ(answer.size(), 57);
    EXPECT_EQ(quint8(answer[1]), 0x36);
    EXPECT_EQ(answer.mid(2, 54), map);
}

TEST_F(Round_Trip_Test, CorrectionFactorsReadBackAsWrittenAndFollowTheGeometry)
{
    const int length = Sim_Blocks::Correction_Length(ecu->Config());
    ASSERT_EQ(length, 735);
    QByteArray factors(length - 3, '\0');
    for (int i = 0; i < factors.size(); ++i)
        factors[i] = char(i % 251);
    EXPECT_EQ(Long_Write(0x3D, factors), Frame({0x1D, 0x3D}));
    EXPECT_EQ(Read_Data(0x37, length), factors);

    // another geometry: the block follows W4, W7, W12
    Sim_Ecu_Config config = ecu->Config();
    config.W[3] = 7;
    config.W[6] = 7;
    config.W[11] = 3;
    ecu->Set_Config(config);
    const int shorter = 8 * (7 + 3 + 2) + 3 + 4;
    EXPECT_EQ(Sim_Blocks::Correction_Length(config), shorter);
    EXPECT_EQ(Read_Data(0x37, shorter).size(), shorter - 3);
    QByteArray small(shorter - 3, char(99));
    EXPECT_EQ(Long_Write(0x3D, small), Frame({0x1D, 0x3D}));
    EXPECT_EQ(ecu->Store().Factors, small);
}

TEST_F(Round_Trip_Test, BlockOfTheWrongSizeIsNotAcknowledgedAndNotStored)
{
    const struct
    {
        int command;
        int data_length;
    } cases[] = {{0x38, 60}, {0x39, 9}, {0x3A, 7}, {0x3B, 4}, {0x3C, 53}, {0x3D, 100}};
    int refused = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "command 0x" << std::hex << c.command);
        const Sim_Ecu_Store before = ecu->Store();
        EXPECT_TRUE(Long_Write(c.command, QByteArray(c.data_length, char(0x41))).isEmpty());
        EXPECT_EQ(ecu->Writes_Refused(), ++refused);
        EXPECT_EQ(ecu->Store().Password_Block, before.Password_Block);
        EXPECT_EQ(ecu->Store().Car_Num, before.Car_Num);
        EXPECT_EQ(ecu->Store().Map, before.Map);
        EXPECT_EQ(ecu->Store().Factors, before.Factors);
        EXPECT_EQ(ecu->Store().Parameters, before.Parameters);
        EXPECT_EQ(ecu->Store().ST_Set, before.ST_Set);
    }
}

TEST_F(Round_Trip_Test, ConfiguredPasswordAndCarNumberAreServedFromTheStart)
{
    Sim_Ecu_Config config;
    config.Password = "1234";
    config.Password_Owner = "05.05.2025/Ivo";
    config.Car_Num = "KA4711";
    Join(config);
    const QByteArray password = Read_Data(0x32, 67);
    EXPECT_EQ(password.left(8), Bytes({'1', '2', '3', '4', 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(password.mid(8, 14), QByteArray("05.05.2025/Ivo"));
    EXPECT_EQ(password.mid(22), QByteArray(42, char(0xFF)));
    EXPECT_EQ(Read_Data(0x34, 11), Bytes({'K', 'A', '4', '7', '1', '1', 0xFF, 0xFF}));
}

// ---- identity ---------------------------------------------------------------

TEST_F(Round_Trip_Test, TooNewEcuReportsIdentificationCodeSevenOrMore)
{
    for (int code : {0, 6, 9}) {
        Sim_Ecu_Config config;
        config.Ident_Code = quint8(code);
        Sim_Profiles::Make_Too_New(config);
        Join(config);
        const QByteArray block = Exchange(Read_Request(0x30), 80);
        ASSERT_EQ(block.size(), 71);
        EXPECT_EQ(quint8(block[2]), code < 7 ? 7 : code);
        // it still answers the live-data poll
        EXPECT_EQ(Exchange(Read_Request(0x31), 80).size(), quint8(block[39]) + 3);
    }
}

TEST_F(Round_Trip_Test, LiveDataIsAnIdlingEngine)
{
    const QByteArray d = Bytes({0, 0}) + Read_Data(0x31, 71);   // d[i] = answer byte i
    EXPECT_EQ(quint8(d[2]) & 0x7F, 2);
    EXPECT_EQ(Word_Lsb(d, 4) & 1, 1) << "engine running";
    EXPECT_NEAR(30000000 / Word_Lsb(d, 44), 800, 60);
    EXPECT_NEAR(Word_Lsb(d, 10), 3000, 500);
}

}
