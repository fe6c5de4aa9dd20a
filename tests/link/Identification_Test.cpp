#include "link/Quorel_Identification.h"
#include "settings/Quorel_Settings.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// An identification answer as the ECU sends it, checksum last.
struct Block_Builder
{
    QByteArray name = "QGstreamLG4";
    QByteArray date = "2013.05.20";
    QByteArray version = "4.19";
    int code = 3;
    int work_gas = 0;
    int work_petrol = 0;
    std::vector<int> words = std::vector<int>(12, 0);
    bool with_w13 = true;
    int w13 = 125;

    static QByteArray Fixed(const QByteArray& text, int n) { return text.leftJustified(n, ' ', true); }

    std::vector<quint8> Build() const
    {
        QByteArray b(with_w13 ? 70 : 68, '\0');
        b[0] = char(0x1D);
        b[1] = char(0x30);
        b[2] = char(code);
        b.replace(3, 16, Fixed(name, 16));
        b.replace(19, 10, Fixed(date, 10));
        b.replace(29, 4, Fixed(version, 4));
        for (int i = 0; i < 3; ++i) {
            b[33 + i] = char(work_gas >> (16 - 8 * i));
            b[36 + i] = char(work_petrol >> (16 - 8 * i));
        }
        b[39] = char(0x4B);
        b[40] = char(0x60);
        b[41] = char(0xEE);
        b[42] = char(9);
        b[43] = char(0xEE);
        for (int n = 0; n < 12; ++n) {
            b[44 + 2 * n] = char(words[size_t(n)] & 0xFF);
            b[45 + 2 * n] = char(words[size_t(n)] >> 8);
        }
        if (with_w13) {
            b[68] = char(w13 & 0xFF);
            b[69] = char((w13 >> 8) & 0xFF);
        }
        quint8 sum = 0;
        for (char c : b)
            sum = quint8(sum + quint8(c));
        b.append(char(sum));
        return std::vector<quint8>(b.begin(), b.end());
    }
};

struct Identification_Test : ::testing::Test
{
    QTemporaryDir dir;
    Settings_Class settings{dir.path(), "QuorelGAS"};

    Identification_Class Decode(const Block_Builder& builder)
    {
        const auto bytes = builder.Build();
        return Decode_Identification(bytes.data(), int(bytes.size()), settings);
    }
};

TEST_F(Identification_Test, FieldsAndByteOrders)
{
    Block_Builder b;
    b.name = "  QGstreamLG4";
    b.work_gas = 0x012345;
    b.work_petrol = 0xABCDEF;
    for (int n = 0; n < 12; ++n)
        b.words[size_t(n)] = 0x0100 * (n + 1) + 0x10 + n;   // distinct high and low bytes
    const auto id = Decode(b);
    ASSERT_TRUE(id.Complete);
    EXPECT_EQ(id.Identification_Code, 3);
    EXPECT_EQ(id.Program_Name, "QGstreamLG4");
    EXPECT_EQ(id.Program_Date, "2013.05.20");
    EXPECT_EQ(id.Program_Version, "4.19");
    EXPECT_EQ(id.Work_Gas, 0x012345);
    EXPECT_EQ(id.Work_Petrol, 0xABCDEF);
    EXPECT_EQ(id.Live_Data_Length, 0x4B);
    EXPECT_EQ(id.Config_Length, 0x60);
    EXPECT_EQ(id.Gas_Accident_Cnt, 9);
    for (int n = 0; n < 12; ++n)
        EXPECT_EQ(id.W[size_t(n)], 0x0100 * (n + 1) + 0x10 + n) << "W" << n + 1;
    EXPECT_TRUE(id.Has_W13);
    EXPECT_EQ(id.W13, 125);
    EXPECT_EQ(id.Required_Version, "1.25");
    EXPECT_EQ(id.ECU_Model_Name, "KYT-4");
    EXPECT_EQ(id.ECU_Model_Quoted, "\"KYT-4\"");
    EXPECT_EQ(id.Version_Number, 419);
    EXPECT_TRUE(id.About_Program_Visible);
    EXPECT_TRUE(id.About_Work_Visible);
    EXPECT_EQ(id.Inject_Num_Max, 4);
}

TEST_F(Identification_Test, ModelNames)
{
    settings.Name_Block_PIC = {"Mini", "Midi", "Maxi"};
    struct Case { const char* name; const char* model; };
    const Case cases[] = {
        {"QGstreamLG4", "Mini"}, {"qgstream lg 44", "Mini"}, {"QGstream LG6", "Midi"}, {"QGSTREAMLG8", "Maxi"},
        {"QGstreamLG5", "Unknow"}, {"QGstreamLG444", "Unknow"}, {"", "Unknow"}, {"   ", "Unknow"},
    };
    for (const Case& c : cases) {
        Block_Builder b;
        b.name = c.name;
        EXPECT_EQ(Decode(b).ECU_Model_Name, c.model) << c.name;
    }
    settings.Name_Block_PIC = {"KYT-4", "KYT-6", "KYT-8"};
    Block_Builder b;
    b.name = "QGstream LG6";
    EXPECT_EQ(Decode(b).ECU_Model_Name, "KYT-6");
}

TEST_F(Identification_Test, VersionNumberAndInjectors)
{
    struct Case { const char* version; int number; int injectors; };
    const Case cases[] = {
        {"6.05", 605, 6}, {"3.02", 302, 8}, {"4.19", 419, 4}, {"4.00", 400, 4}, {"3.99", 399, 8},
        {"5.99", 599, 4}, {"8.00", 800, 8}, {"419", 419, 4}, {"x.19", 0, 8}, {"4.x", 0, 8},
        {"4.", 0, 8}, {".19", 0, 8}, {"abcd", 0, 8}, {"-4.1", 0, 8}, {"", 0, 8},
    };
    for (const Case& c : cases) {
        Block_Builder b;
        b.version = c.version;
        const auto id = Decode(b);
        EXPECT_EQ(id.Version_Number, c.number) << c.version;
        EXPECT_EQ(id.Inject_Num_Max, c.injectors) << c.version;
    }
}

TEST_F(Identification_Test, EmptyNameHidesTheProgramGroupAndHasNoVersion)
{
    Block_Builder b;
    b.name = "";
    b.version = "6.05";
    const auto id = Decode(b);
    EXPECT_EQ(id.Version_Number, 0);
    EXPECT_FALSE(id.About_Program_Visible);
    EXPECT_FALSE(id.About_Work_Visible) << "both counters zero";
    b.name = "QGstreamLG6";
    b.work_petrol = 1;
    EXPECT_TRUE(Decode(b).About_Work_Visible);
}

TEST_F(Identification_Test, W13OnlyWhenItPrecedesTheChecksum)
{
    Block_Builder b;
    b.with_w13 = false;
    auto bytes = b.Build();
    ASSERT_EQ(bytes.size(), 69u);
    auto id = Decode_Identification(bytes.data(), 69, settings);
    EXPECT_TRUE(id.Complete);
    EXPECT_FALSE(id.Has_W13);
    EXPECT_EQ(id.Required_Version, "");

    // One byte more: byte 69 would be the checksum, not half of W13.
    bytes.insert(bytes.end() - 1, quint8(0x7D));
    id = Decode_Identification(bytes.data(), 70, settings);
    EXPECT_FALSE(id.Has_W13);

    b.with_w13 = true;
    b.w13 = 119;
    bytes = b.Build();
    ASSERT_EQ(bytes.size(), 71u);
    id = Decode_Identification(bytes.data(), 71, settings);
    EXPECT_TRUE(id.Has_W13);
    EXPECT_EQ(id.Required_Version, "1.19");
}

TEST_F(Identification_Test, ShortBlockDecodesNothing)
{
    const auto bytes = Block_Builder().Build();
    const auto id = Decode_Identification(bytes.data(), 40, settings);
    EXPECT_FALSE(id.Complete);
    EXPECT_EQ(id.Program_Name, "");
    EXPECT_EQ(id.ECU_Model_Name, "Unknow");
    EXPECT_EQ(id.Version_Number, 0);
    EXPECT_FALSE(Decode_Identification(nullptr, 71, settings).Complete);
}

TEST_F(Identification_Test, RequiredVersionText)
{
    struct Case { int w13; const char* text; };
    const Case cases[] = {
        {125, "1.25"}, {119, "1.19"}, {100, "1.00"}, {7, "0.07"}, {25, "0.25"}, {1000, "10.00"},
        {0, ""}, {-1, ""}, {-32768, ""}, {32767, "327.67"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Required_Version_Text(c.w13), c.text) << c.w13;

    // On the wire W13 is signed: FF FF is -1, no version asked.
    Block_Builder b;
    b.w13 = 0xFFFF;
    EXPECT_EQ(Decode(b).W13, -1);
    EXPECT_EQ(Decode(b).Required_Version, "");
}

TEST_F(Identification_Test, TooNew)
{
    EXPECT_FALSE(ECU_Too_New(6, "1.25").Too_New);
    EXPECT_FALSE(ECU_Too_New(0, "").Too_New);
    const auto newer = ECU_Too_New(7, "1.25");
    EXPECT_TRUE(newer.Too_New);
    EXPECT_EQ(newer.Text, "1.25");
    const auto own = ECU_Too_New(9, "1.19");
    EXPECT_TRUE(own.Too_New);
    EXPECT_EQ(own.Text, "");
    EXPECT_EQ(ECU_Too_New(255, "").Text, "");
}

TEST_F(Identification_Test, UntrustedNamesAreMadeSafeForPaths)
{
    EXPECT_EQ(Path_Safe_Name("KYT-6"), "KYT-6");
    EXPECT_EQ(Path_Safe_Name("../../etc/passwd"), "_._.._etc_passwd");
    EXPECT_EQ(Path_Safe_Name("a/b\\c d"), "a_b_c_d");
    EXPECT_EQ(Path_Safe_Name(".hidden"), "_hidden");

    // Control bytes in the name field read as blanks.
    Block_Builder b;
    b.name = QByteArray("QGstream\x00LG6\n", 13);
    EXPECT_EQ(Decode(b).Program_Name, "QGstream LG6");
    EXPECT_EQ(Decode(b).ECU_Model_Name, "KYT-6");
}

} // namespace
