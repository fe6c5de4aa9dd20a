#include "Connect_Rig.h"

#include "calibration/Quorel_Calibration_Actions.h"
#include "config/Quorel_Config_Codec.h"
#include "files/Quorel_CFG_Save.h"
#include "link/Quorel_Sequencer.h"
#include "settings/Quorel_Ini.h"

#include <algorithm>

namespace {

// Every field of a record as a configuration file holds it, a line each.
QStringList Record_Text(const Configuration_Class& config, const Calibration_Map& map)
{
    Ini_File ini;
    Write_CFG_Keys(ini, config, map, {});
    return QString::fromLatin1(ini.Serialise()).split(QStringLiteral("\r\n"));
}

// What the ECU holds, decoded as the program decodes a configuration reply.
Configuration_Class Ecu_Record(const Connect_Rig& rig)
{
    Configuration_Class config = rig.context->Config_Data;   // identity and file-only fields
    // the reply frame: class and command, the slots, the checksum
    const QByteArray answer =
        QByteArray("\x1D\x35") + rig.ecu->Store().Config_Answer(rig.ecu->Config()) + QByteArray(1, '\0');
    Decode_Configuration_Block(reinterpret_cast<const quint8*>(answer.constData()), int(answer.size()), config,
                               &rig.context->Temperatures);
    return config;
}

// The lines where two records differ, for a readable failure.
QStringList Differences(const QStringList& a, const QStringList& b)
{
    QStringList out;
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString x = i < a.size() ? a[i] : QString(), y = i < b.size() ? b[i] : QString();
        if (x != y)
            out << x.simplified() + "  <>  " + y.simplified();
    }
    return out;
}

bool Run_Request(Connect_Rig& rig, int request)
{
    const size_t from = rig.port->Writes().size();
    rig.context->Pending_Request = request;
    // done when the request was taken and the polling of live data is back
    return rig.clock.Advance_Until(
        [&]() {
            return rig.context->Pending_Request == 0 && rig.port->Writes().size() > from + 2 &&
                   rig.Last_Command() == 0x31;
        },
        20000);
}

class Config_Round_Trip : public ::testing::TestWithParam<const char*>
{
};

TEST_P(Config_Round_Trip, WriteAllThenReadLeavesTheEcuAndTheRecordUnchanged)
{
    Connect_Rig rig(Firmware(GetParam()));
    ASSERT_TRUE(rig.Connect());
    rig.clock.Advance(3000);
    Quorel_Context& context = *rig.context;
    const QStringList read_first = Record_Text(context.Config_Data, context.Calibration);

    context.Timer_Cut_Off.Set_Enabled(false);
    int write_hooks = 0;
    context.After_Configuration_Write = [&]() { ++write_hooks; };
    const size_t from = rig.port->Writes().size();
    ASSERT_TRUE(Run_Request(rig, Calibration_Actions::Request_Write_Configuration));
    EXPECT_TRUE(context.Timer_Cut_Off.Enabled()) << "restarted by the write";
    EXPECT_EQ(write_hooks, 1);
    EXPECT_EQ(rig.ecu->Writes_Refused(), 0);
    EXPECT_EQ(rig.ecu->Codes_Ignored(), 0);

    // the announcement of 3 × codes + 3 goes out, then the value list once
    const int codes = int(Parameter_List(context.Config_Data.Version_Number).size());
    const auto& writes = rig.port->Writes();
    int announcements = 0, lists = 0;
    for (size_t i = from; i < writes.size(); ++i) {
        const QByteArray& w = writes[i].bytes;
        const bool announces_list =
            i + 1 < writes.size() && writes[i + 1].bytes.size() > 1 && quint8(writes[i + 1].bytes[1]) == 0x3B;
        if (w.size() == 5 && quint8(w[1]) == 0x23 && announces_list) {
            ++announcements;
            EXPECT_EQ(quint8(w[2]) * 256 + quint8(w[3]), Write_Frame_Length(codes));
        }
        if (w.size() > 1 && quint8(w[1]) == 0x3B) {
            ++lists;
            EXPECT_EQ(w.size(), Write_Frame_Length(codes));
        }
    }
    EXPECT_EQ(announcements, 1);
    EXPECT_EQ(lists, 1);

    // the ECU now holds what the program holds
    EXPECT_EQ(Differences(Record_Text(Ecu_Record(rig), context.Calibration), read_first).join(QLatin1Char(10)).toStdString(), "");
    const Sim_Ecu_Store after_write = rig.ecu->Store();

    // reading back changes nothing, and a second write sends the same bytes
    ASSERT_TRUE(Run_Request(rig, Calibration_Actions::Request_Read_Configuration));
    EXPECT_EQ(Differences(Record_Text(context.Config_Data, context.Calibration), read_first).join(QLatin1Char(10)).toStdString(), "");
    const QByteArray first_list = rig.ecu->Long_Write_Payload(0x3B);
    ASSERT_TRUE(Run_Request(rig, Calibration_Actions::Request_Write_Configuration));
    EXPECT_EQ(rig.ecu->Long_Write_Payload(0x3B), first_list);
    EXPECT_EQ(rig.ecu->Store().Parameters, after_write.Parameters);
    EXPECT_EQ(rig.ecu->Store().Map, after_write.Map);
}

INSTANTIATE_TEST_SUITE_P(Firmware, Config_Round_Trip, ::testing::Values("4.15", "4.16", "4.19", "6.05", "8.20"));

}   // namespace
