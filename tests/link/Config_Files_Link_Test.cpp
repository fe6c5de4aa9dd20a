#include "Connect_Rig.h"

#include "calibration/Quorel_Calibration_Actions.h"
#include "files/Quorel_CFG_Actions.h"
#include "link/Quorel_Sequencer.h"
#include "settings/Quorel_Ini.h"

#include <QDir>

namespace {

// A rig whose ECU holds a car number and a few values of known encoding.
struct Files_Rig : Connect_Rig
{
    explicit Files_Rig(const QString& car_num)
    {
        Sim_Ecu_Store store = ecu->Store();
        store.Car_Num = Sim_Ecu_Store::Make_Car_Num(car_num);
        store.Parameters['F'] = 103;     // RPM sensitivity, volts25
        store.Parameters['I'] = 50000;   // changeover rpm as a period word
        store.Parameters['_'] = 0x8014;  // zero128 PG_Time, PG_Delay 20
        store.Parameters['`'] = 0x1403;  // half PG_PrimingTime, byte
        store.Parameters['f'] = 0x4080;  // factors 64 and 128
        ecu->Set_Store(store);
        context->App_Settings.CFG_File_Path = Config_Folder();
        QDir().mkpath(Config_Folder());
    }

    QString Config_Folder() const { return dir.path() + "/Config"; }

    void Write_Client_File(const QString& name, const QByteArray& text)
    {
        QFile file(Config_Folder() + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    std::optional<QString> File_Value(const QString& name, const QString& key) const
    {
        Ini_File ini;
        if (!ini.Ini_Load(Config_Folder() + "/" + name))
            return std::nullopt;
        return ini.Ini_Read_Text(key);
    }

    bool Run_Request(int request)
    {
        context->Pending_Request = request;
        const size_t from = port->Writes().size();
        return clock.Advance_Until(
            [&]() { return context->Pending_Request == 0 && port->Writes().size() > from + 2 && Last_Command() == 0x31; },
            20000);
    }
};

TEST(Config_Files_Link, CarNumberReadNamesTheClientFileAndReloadsItsCarData)
{
    Files_Rig rig("AB123");
    rig.Write_Client_File("AB123.cfg", "Car_Model Golf {}\r\nUser_Name Smith {}\r\nPG_Delay 9 {}\r\n");
    rig.context->Config_Data.Car_Engine = "stale";
    ASSERT_TRUE(rig.Connect());
    rig.clock.Advance(3000);
    const Configuration_Class& config = rig.context->Config_Data;
    EXPECT_EQ(config.Car_Num, "AB123");
    EXPECT_EQ(rig.context->App_Settings.CFG_File_Name, "AB123.cfg");
    EXPECT_EQ(config.Car_Model, "Golf");
    EXPECT_EQ(config.User_Name, "Smith");
    EXPECT_EQ(config.Car_Engine, "") << "car data are cleared before they are read";
    EXPECT_EQ(config.PG_Delay, 20) << "only the car and owner data come from the file";
}

TEST(Config_Files_Link, CarNumbersThatAreNoPlainNameStayInTheFolder)
{
    struct Case { const char* car; const char* file; };
    // an empty car number leaves no current file
    for (const Case c : {Case{"../../x", "___.._x.cfg"}, Case{"A/B", "A_B.cfg"}, Case{"", ""}}) {
        Files_Rig rig(c.car);
        rig.context->App_Settings.CFG_File_Name = "Before.cfg";
        ASSERT_TRUE(rig.Connect());
        rig.clock.Advance(3000);
        const QString name = rig.context->App_Settings.CFG_File_Name;
        EXPECT_EQ(name, c.file) << c.car;
        EXPECT_FALSE(name.contains('/')) << c.car;
    }
}

TEST(Config_Files_Link, SaveWhileConnectedGoesThroughTheSequencerAndHoldsTheDecodedValues)
{
    Files_Rig rig("CAR1");
    ASSERT_TRUE(rig.Connect());
    rig.clock.Advance(3000);
    rig.context->CFG_Files->Save_Requested();
    EXPECT_EQ(rig.context->Pending_Request, 11);
    ASSERT_TRUE(rig.clock.Advance_Until([&]() { return rig.context->Pending_Request == 0; }, 2000));
    struct Case { const char* key; const char* value; };
    for (const Case c : {Case{"RPM_Sensitiv", "251"}, Case{"PG_RPM", "600"}, Case{"PG_Time", "0"},
                         Case{"PG_Delay", "20"}, Case{"PG_PrimingTime", "40"}, Case{"PG_GAS_Accident_Num", "3"},
                         Case{"Petrol_Filter_Factor", "50"}, Case{"MAZDA_Mode_Factor", "100"}})
        EXPECT_EQ(rig.File_Value("CAR1.cfg", c.key).value_or("missing"), c.value) << c.key;
}

TEST(Config_Files_Link, WriteAllSavesTheClientFileAfterTheTransfer)
{
    Files_Rig rig("CAR2");
    ASSERT_TRUE(rig.Connect());
    rig.clock.Advance(3000);
    EXPECT_FALSE(QFile::exists(rig.Config_Folder() + "/CAR2.cfg")) << "reading alone writes no file";
    ASSERT_TRUE(rig.Run_Request(Calibration_Actions::Request_Write_Configuration));
    EXPECT_TRUE(rig.context->CFG_Files->Values_Written);
    EXPECT_EQ(rig.File_Value("CAR2.cfg", "PG_Delay").value_or("missing"), "20");
}

TEST(Config_Files_Link, LoadWhileConnectedShowsTheFileAndTransmitsItWithTransmitNow)
{
    for (const bool transmit_now : {false, true}) {
        Files_Rig rig("CAR3");
        ASSERT_TRUE(rig.Connect());
        rig.clock.Advance(3000);
        rig.Write_Client_File("Other.cfg", "PG_Delay 33 {}\r\n");
        rig.context->App_Settings.Transmit_Now = transmit_now;
        int updates = 0;
        QObject::connect(rig.context.get(), &Quorel_Context::Config_Updated, [&]() { ++updates; });
        const QByteArray list_before = rig.ecu->Long_Write_Payload(0x3B);
        rig.context->CFG_Files->Load_Chosen(rig.Config_Folder() + "/Other.cfg");
        EXPECT_EQ(rig.context->Config_Data.PG_Delay, 20) << "the sequencer loads it, not the key";
        EXPECT_EQ(rig.context->Pending_Request, 9);
        rig.clock.Advance(3000);
        EXPECT_EQ(rig.context->Config_Data.PG_Delay, 33);
        EXPECT_GT(updates, 0);
        const QByteArray list_after = rig.ecu->Long_Write_Payload(0x3B);
        if (transmit_now) {
            ASSERT_FALSE(list_after.isEmpty());
            EXPECT_NE(list_after, list_before);
            EXPECT_EQ(rig.ecu->Store().Parameters.at('_') & 0xFF, 33);
        } else {
            EXPECT_EQ(list_after, list_before) << "nothing is sent without Transmit_Now";
        }
    }
}

TEST(Config_Files_Link, FailedSaveShowsTheSystemErrorAndKeepsTheRecord)
{
    Files_Rig rig("CAR4");
    rig.context->App_Settings.CFG_File_Name = "CAR4.cfg";
    // a folder in place of the file: the save cannot replace it
    QDir().mkpath(rig.Config_Folder() + "/CAR4.cfg");
    const QString date_before = rig.context->Config_Data.Date_Save;
    const CFG_Save_Result result = rig.context->CFG_Files->Save();
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Error.isEmpty());
    EXPECT_EQ(rig.context->Config_Data.Date_Save, date_before);
    EXPECT_EQ(rig.Shown_Message(), result.Error);
}

}   // namespace
