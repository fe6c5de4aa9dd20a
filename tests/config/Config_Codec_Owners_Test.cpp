#include "app/Quorel_Context.h"
#include "config/Quorel_Config_Codec.h"
#include "config/Quorel_Config_Codec_Owners.h"
#include "config/Quorel_Config_Defaults.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Sequencer.h"
#include "link/Quorel_Serial_Virtual.h"
#include "monitor/Quorel_Temperature_Table.h"

#include "Test_Print.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Codec_Rig
{
    QTemporaryDir dir;
    Virtual_Clock clock;
    std::unique_ptr<Quorel_Context> context;
    Sequencer* seq = nullptr;
    Configuration_Class config;
    Temperature_Table table;
    std::vector<std::pair<QString, quint32>> statuses;
    QStringList car_numbers;
    int configuration_reads = 0;

    Codec_Rig()
    {
        context = std::make_unique<Quorel_Context>(clock, std::make_unique<Virtual_Serial_Port>(clock), dir.path(),
                                                   "QuorelGAS");
        context->App_Settings.Settings_Create();
        seq = context->Sequence.get();
        seq->Show_Message = [](int, const QString&, int) {};
        seq->Post_Status = [this](const QString& text, quint32 rgb) { statuses.push_back({text, rgb}); };
        Set_Config_Defaults(config, false, Model_Names{});
        config.Version_Number = 417;
        Codec_Hooks hooks;
        hooks.Car_Number_Read = [this](const QString& car_num) { car_numbers << car_num; };
        hooks.Configuration_Read = [this] { ++configuration_reads; };
        Install_Codec_Owners(*seq, config, context->Frames, table, hooks);
    }

    void Reply(const std::vector<quint8>& bytes)
    {
        for (size_t i = 0; i < bytes.size(); ++i)
            context->Frames.Rx_Frame[i] = bytes[i];
        context->Frames.Rx_Length = int(bytes.size());
    }
};

}   // namespace

TEST(Config_Codec_Owners, Whole_Write_Sizes_And_Fills_The_Frame)
{
    Codec_Rig rig;
    EXPECT_EQ(rig.seq->Prepare_All_Values(), 53);
    const QByteArray payload = rig.seq->Payload_Owners.at(0x3B)();
    EXPECT_EQ(payload, Write_Parameters_Payload(Parameter_List(417), rig.config, Encode_Inputs{&rig.table, false}));
    EXPECT_EQ(payload.size() + 3, 3 * 53 + 3);

    // Instruction 66 announces 3 × codes + 3.
    rig.seq->Build_Entries({66});
    rig.seq->Instruction_Pointer = 0;
    rig.seq->Run_Sequencer();
    EXPECT_EQ(rig.seq->Block_Length, 162);

    rig.config.Version_Number = 416;
    EXPECT_EQ(rig.seq->Prepare_All_Values(), 45);
    EXPECT_EQ(rig.seq->Payload_Owners.at(0x3B)().size(), 45 * 3);
}

TEST(Config_Codec_Owners, One_Code_Travels_With_Its_Companions)
{
    Codec_Rig rig;
    EXPECT_EQ(rig.seq->Prepare_Parameter_Values('C'), 10);
    const QByteArray payload = rig.seq->Payload_Owners.at(0x3B)();
    ASSERT_EQ(payload.size(), 30);
    EXPECT_EQ(payload[0], 'C');
    EXPECT_EQ(payload[27], 'E');
    EXPECT_EQ(rig.seq->Prepare_Parameter_Values(200), 0);
}

TEST(Config_Codec_Owners, Unreachable_Pressure_Completes_And_Is_Reported)
{
    Codec_Rig rig;
    rig.config.MAP_Sensor_C1 = 6000;
    rig.config.GP_PressMore = 30;
    EXPECT_EQ(rig.seq->Prepare_All_Values(), 53);
    const QByteArray payload = rig.seq->Payload_Owners.at(0x3B)();
    const int j = ('J' - 'A') * 3;
    EXPECT_EQ(payload[j], 'J');
    EXPECT_EQ(quint8(payload[j + 1]), 0x03);
    EXPECT_EQ(quint8(payload[j + 2]), 0xFF);
    bool reported = false;
    for (const auto& [text, rgb] : rig.statuses)
        reported = reported || text.contains("Parameter J is beyond the sensor's range");
    EXPECT_TRUE(reported);
}

TEST(Config_Codec_Owners, Configuration_Reply_Decoded_As_Far_As_It_Reaches)
{
    Codec_Rig rig;
    rig.config.PG_RPM = 1000;
    // 'A'..'C' and the checksum only; C1 = 7000 read low byte first.
    rig.Reply({0x1D, 0x35, 0x00, 0x00, 0x00, 0x00, 0x58, 0x1B, 0x00});
    rig.seq->Command_Owners.at(56)();
    EXPECT_EQ(rig.config.MAP_Sensor_C1, 7000);
    EXPECT_FALSE(rig.config.Lambda_ON);
    EXPECT_EQ(rig.config.PG_RPM, 1000);
    EXPECT_EQ(rig.configuration_reads, 1);
}

TEST(Config_Codec_Owners, Service_Time_Over_Posts_The_Reminder)
{
    Codec_Rig rig;
    rig.Reply({0x1D, 0x33, 0, 60, 0x0A, 0x00, 0, 0, 0, 0, 0});
    rig.seq->Command_Owners.at(53)();
    EXPECT_EQ(rig.config.ST_Set, 10);
    EXPECT_EQ(rig.config.ST_Speed, 60);
    ASSERT_EQ(rig.statuses.size(), 1u);
    EXPECT_EQ(rig.statuses[0].first, Text("ST_Message_Din_Indic"));
    EXPECT_EQ(rig.statuses[0].second, 0xFF00FFu);

    rig.statuses.clear();
    rig.Reply({0x1D, 0x33, 0, 60, 0x0A, 0x00, 0, 0, 1, 0, 0});
    rig.seq->Command_Owners.at(53)();
    EXPECT_EQ(rig.config.ST_Remains, 1);
    EXPECT_TRUE(rig.statuses.empty());

    rig.config.ST_Set = 5;
    rig.config.ST_Speed = 70;
    EXPECT_EQ(rig.seq->Payload_Owners.at(0x39)(), Service_Time_Payload(rig.config));
}

TEST(Config_Codec_Owners, Car_Number_Both_Ways)
{
    Codec_Rig rig;
    rig.Reply({0x1D, 0x34, 'A', 'B', '1', '2', '3', 255, 255, 255, 0});
    rig.seq->Command_Owners.at(54)();
    EXPECT_EQ(rig.config.Car_Num, "AB123");
    EXPECT_EQ(rig.car_numbers, QStringList{"AB123"});
    EXPECT_EQ(rig.seq->Payload_Owners.at(0x3A)(), QByteArray("AB123\xFF\xFF\xFF"));

    rig.Reply({0x1D, 0x34, 255, 'B', '1', '2', '3', 255, 255, 255, 0});
    rig.seq->Command_Owners.at(54)();
    EXPECT_EQ(rig.config.Car_Num, "");
    EXPECT_EQ(rig.car_numbers.size(), 2);

    // A short reply changes nothing.
    rig.config.Car_Num = "KEEP";
    rig.Reply({0x1D, 0x34, 'X', 0});
    rig.seq->Command_Owners.at(54)();
    EXPECT_EQ(rig.config.Car_Num, "KEEP");
}
