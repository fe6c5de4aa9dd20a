#include "language/Quorel_Language_En.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace {

// The English table's keys by group, as the documentation lists them.
const char* const Group_Lists = R"(
- General terms and lists (107): Version, Date, PreStart, Open, Close, Connect, Not_Connect, About, Gas, Petrol, Automat, Mode, GAS, PETROL, Gas_Char, Petrol_Char, RPM, Pressure, Temperature, Lambda, Power, Voltage, Battery, Diagram, Factor, Grid, Offset, Angl, Type, Number, Injector, Injector_Number, Petrol_Filter, Injection, Level, Loader, Settings, Oscilloscope, Scheme, Help, Start, Stop, Range, Continue, Cancel, Ignore, Back, Next, Change, SequentInjection, NoSequentInjection, MonoInjection, Pairs-Parallel, Scaler, Threshold, Sensitivity, Threshold_Sensitivity, From, To, Clear, Receiv, Transmitt, Save, Load, Default, Absolute, Relative, Test, On, Off, Averaging, Information, No_Port, Search_Port, Finds_Port, CFG_Option_List, CFG_Option_RPM_Source, CFG_Option_Switch_PG, CFG_Option_Switch_GP, CFG_Option_Switch_GPG, CFG_Option_Gas_Injectors, CFG_Option_Petrol_Injection, CFG_Option_Gas_Pump, CFG_Option_Gas_Level_Sensor, CFG_Option_Pressure_Sensor, CFG_Option_Lambda_Sensor, CFG_Option_Factor_Press_Petrol, CFG_Option_Factor_Press_Power, CFG_Option_Factor_OffSet_Petrol, CFG_Option_DTB_Car, CFG_Option_DTB_Comments, CFG_Option_DTB_User, Mode_Level_Set, Mode_Level_Wait, Mode_Level_Etalon, Mode_Level_Pause, Mode_Level_Work, ST_Message_Din_Indic, ST_Message_Block_Indic, Text_Save_In_File, Text_Del_File, Text_Full_File, Loader_Save_CFG, Loader_File_Error, Compatible_File_Error, Loader_Error_Version_From, Loader_Error_Version_To.
- Units (8): Dim_RPM_Short, Dim_Bar_Long, Dim_Degree_Short, Dim_Hour_Short, Dim_Volt_Short, Dim_Volt_Long, Dim_MS_Short, Dim_Sec_Long.
- Tabs (8): TabSheet_General, TabSheet_Configuration, TabSheet_Calibration, TabSheet_Oscilloscope, TabSheet_AutoCalibration, TabSheet_Errors, TabSheet_Settings, TabSheet_About.
- Window titles (9): Form_RPM, Form_DTB, Form_Drive, Form_RPM_Scaler, Form_Loader, Form_PSW, Form_SBS, Form_TMP, Form_FONT.
- Auto-calibration (17): ACB_TabSheet_Panel, ACB_Prompt_Run_AutoCalibration, ACB_Prompt_Start, ACB_Prompt_Wait, ACB_Prompt_CLB_Transmitt, ACB_Prompt_CFG_Transmitt, ACB_Prompt_Restore_CLB, ACB_Prompt_Stoped, ACB_Prompt_Failed, ACB_Prompt_Min_Range, ACB_Prompt_Max_Range, ACB_Prompt_Connect, ACB_Prompt_Completion, ACB_Prompt_Finish, ACB_Prompt_Recommend_Min, ACB_Prompt_Recommend_Max, ACB_Prompt_Not_Petrol.
- Messages (52): Error_CFG_Receiv, Error_CLB_Receiv, Error_Mode, Error_CFG_Transmitt, Error_CLB_Transmitt, Error_Low_pressure, Error_Normal_pressure, Error_Engine_on, Error_Engine_off, Error_Engine_Idling, Error_Save_Data, Error_Not_Save_Data, Error_Disk_is_full, Error_Folder_not_exist, Error_File_not_found, Error_CLB_data_bad, Error_CLB_data_not_exist, Error_CFG_data_bad, Error_CFG_data_not_exist, Error_CFG_file_not_select, Error_Temperature, Error_Version, Error_OverWrite, Error_ExistWrite, Error_NewWrite, Error_CurrentWrite, Error_Loader_Transmitt, Error_Data_Transmitt, Error_Transmission, Error_MAP_Ctrl, Error_MAP_Ctrl_Transmit, Error_MAP_Ctrl_No_Pair, Error_MAP_Ctrl_No_Calc, Error_Short_Pulse_ON, Error_History_File, Error_MSG_Run_ACB, Error_Receiv_Data_On, Error_Receiv_Data_Off, Error_Mode_MAZDA, Error_Setting, Error_Sure, Error_Message, Error_Yes, Error_No, Error_Cancel, Error_Gas_Pump_ON, Error_Gas_Pump_OFF, Error_High_pressure, Error_Pressure_Drop, Error_Window_Close, Error_Sensitivity, Error_Version_New.
- Captions of controls (318): Label_GEN_PressInject, Label_GEN_Pump_Status, Label_GEN_Averaging, Label_GEN_Pump_Press, Button_GEN_Pump_Run, Label_GEN_Pump_Leveling, GroupBox_CFG_RPM_Source, Label_CFG_RPM_Source, Label_CFG_RPM_Sensitiv, Label_CFG_RPM_Filter, Label_CFG_RPM_AutoFilter_ON, Label_CFG_RPM_Prescaler, Button_CFG_RPM_set, Button_CFG_RPM_Scaler, Button_CFG_RPM_Scaler_Sensitiv, Label_CFG_RPM_Virtual_ON, GroupBox_CFG_Switch_PG, Label_CFG_PG_DualFuelInject_ON, Label_CFG_PG_PressInject, Label_CFG_PG_RPM, Label_CFG_PG_Time, Label_CFG_PG_Delay, Label_CFG_PG_PrimingTime, Label_CFG_PG_Pump_Status, Label_CFG_PG_GAS_Accident_ON, Label_CFG_PG_GAS_Accident_Cnt, Button_CFG_PG_GAS_Accident_Clr, Label_CFG_PG_GAS_Accident_Num, Label_CFG_PG_GAS_Hot_Engine_ON, GroupBox_CFG_Switch_GP, Label_CFG_GP_Buzzer_ON, Label_CFG_GP_PressMore, Label_CFG_GP_PressLess, Label_CFG_GP_Time, Label_CFG_GP_PressDrop, Label_CFG_GP_PressRise, Label_CFG_GP_PressInit, Label_CFG_GP_MinPetTime, Label_CFG_GP_MinGasTime, Label_CFG_GP_MaxPetTime, Label_CFG_GP_StoreInterval, Label_CFG_GP_BackStepNum, GroupBox_CFG_Switch_GPG, Label_CFG_GPG_RPM_Current, Label_CFG_GPG_RPM_ON, Label_CFG_GPG_RPM_Petrol, Label_CFG_GPG_RPM_Gas, Label_CFG_GPG_RPM_Idle_ON, Label_CFG_GPG_CutOff_Cycles_ON, GroupBox_CFG_Gas_Injectors, Label_CFG_Inject_Type, Label_CFG_Inject_Number, Label_CFG_Inject_Range, Label_CFG_Inject_Start, Label_CFG_Inject_PWM, Label_CFG_Inject_PWM_DutyCycle, Label_CFG_Inject_PWM_Freq, GroupBox_CFG_Petrol_Injection, Label_CFG_Polarity_Pulse, Label_CFG_SequentInjection, Label_CFG_NoSequentInjection, Label_CFG_MonoInjection, Label_CFG_Petrol_Pass_ON, Label_CFG_Petrol_Filter_ON, Label_CFG_Petrol_Filter_Factor, Label_CFG_MAZDA_Mode_Factor, Button_Inject_Detect, GroupBox_CFG_Gas_Pump, Label_CFG_Pump_Type, Label_CFG_Pump_Dry_Test_ON, Label_CFG_Pump_MeasureDelay, Label_CFG_Pump_PressRise, Label_CFG_Pump_Time, GroupBox_CFG_Gas_Level_Sensor, Label_CFG_Level_Invert_ON, Label_CFG_Level_90_ON, Label_CFG_Level_Buzzer_ON, Label_CFG_Level_Current_Volt, Label_CFG_Level_Current, Label_CFG_Level_Etalon, Button_CFG_LevelSensor_Clr, Button_CFG_LevelSensor_Set, GroupBox_CFG_Pressure_Sensor, Label_CFG_Press_Type, Label_CFG_Press_Volt, Label_CFG_Press_Bar, Label_CFG_Press_Aver_Freq, GroupBox_CFG_Lambda_Sensor, Label_CFG_Lambda_ON, Label_CFG_Lambda_Type, Button_CFG_User_Archive, Button_CFG_User_New, Button_CFG_User_Find, Button_CFG_User_Again, GroupBox_CFG_Car, Label_CFG_Car_Num, Label_CFG_Car_Model, Label_CFG_Car_Engine, Label_CFG_Car_Injectors, GroupBox_CFG_Car_Date, Label_CFG_Car_Date_Current, Label_CFG_Car_Date_Save, Label_CFG_Car_Date_Mounting, Button_CFG_Car_Password, GroupBox_CFG_Service_Time, Label_CFG_ST_Set, Label_CFG_ST_Block_Gas, Label_CFG_ST_Mileage, Label_CFG_ST_Speed, Label_CFG_ST_Remains, Button_CFG_ST_Clr, Button_CFG_ST_Set, Button_CFG_ST_Refresh, GroupBox_CFG_Owner, Label_CFG_Owner_Name, Label_CFG_Owner_Phone, Label_CFG_Owner_Address, GroupBox_CFG_Comments, Button_CFG_Comments_Clr, Label_RPM_Time, CheckBox_OSC_File_Both, Button_OSC_Record, Button_OSC_FromFile, Button_OSC_Test_Drive, Label_ACB_Script, GroupBox_ACB_SCR_Inject, GroupBox_ACB_SCR_Add, Button_ACB_SCR_Add_Plius, Button_ACB_SCR_Add_Symbol, GroupBox_ACB_SCR_Clear, Button_ACB_SCR_Clear_All, Button_ACB_SCR_Clear_Symbol, Button_ACB_SCR_Default, Label_ACB_SCR_Step, GroupBox_ACB_Settings, Label_ACB_Pause, Label_ACB_Pause_Dim, Label_ACB_StabilizationTime, Label_ACB_Stabil_Time_Dim, Label_ACB_StabilizationRange, Label_ACB_Stabil_Range_Dim, Label_ACB_CompareRange, Label_ACB_Compar_Range_Dim, Label_ACB_Script_Mode, CheckBox_ACB_Animate, CheckBox_ACB_Default_CLB, Label_ERR_History, Label_ERR_Current, Memo_ERR_TempAUX1, Memo_ERR_TempAUX2, Memo_ERR_PressInject, Memo_ERR_PressManifold, Memo_ERR_LeakageGas, Memo_ERR_ShortCircuit, Memo_ERR_OK, Label_ERR_CPU_Freq, Label_ERR_CPU_Freq_Dim, Button_ERR_Clear, GroupBox_Setup_Ports, Label_Port_Name, Label_Port_Quantity, Label_Search_Port, Button_Setup_Port, GroupBox_Language, Label_English_Menu, GroupBox_Reply_Delay, GroupBox_Config_Files, GroupBox_SET_Averaging, CheckBox_SaveLoadData, CheckBox_Transmit_Now, CheckBox_Form_Style, CheckBox_Show_Hint, CheckBox_checkPassword, Button_Find_Ports, Button_Setup_Font, GroupBox_About_Program, Label_About_Ver, Label_About_Date, GroupBox_About_Work, Label_About_Work_Gas, Label_About_Work_Petrol, GroupBox_About_HotKey, GroupBox_About_Address, Label_About_F1, Label_About_F2, Label_About_F3, Label_About_F4, Label_About_F5, Label_About_F6, Label_About_F7, Label_About_F8, Label_About_F10, Label_About_Letter_I, Label_About_Letter_F, Label_About_Letter_T, Label_About_Letter_R, Label_About_Letter_S, Label_About_Letter_L, Label_About_Letter_D, Label_About_Letter_Z, Label_About_Letter_X, Label_About_Letter_C, Label_About_Letter_V, Label_About_Letter_B, Label_About_Letter_N, Label_About_Letter_M, Label_About_Letter_8, Label_About_Letter_A, GroupBox_About_Select_CLB_Point, Label_About_Letter_012345678, Label_About_Letter_P_1234567, Label_About_Letter_O_1234567, Label_About_Letter_Esc, Label_About_Arrow_Key, Label_About_Mouse_Left, Label_About_Mouse_Right, GroupBox_About_Technic, Button_About_Diagram, Button_About_Help, Button_HEX_Loader, Button_About_History, Label_CFG_GP_PressRestart, Label_CFG_Pump_Hydr_Cond_ON, Label_CFG_Pump_Hydr_Cond_T_On, Label_CFG_Pump_Hydr_Cond_T_Off, Label_CFG_Inject_Delay_ON, Label_CFG_GPG_2Fuel_ON, Label_CFG_GPG_2Fuel_Temp, Label_CFG_GPG_2Fuel_Period, Label_CFG_GPG_2Fuel_RPM, Label_CFG_GPG_2Fuel_Petrol, Label_CFG_GPG_2Fuel_Time, Label_CFG_GPG_2Fuel_Delay, Label_DTB_Comments, Button_DTB_Car_Num, Button_DTB_Car_Model, Button_DTB_Car_Engine, Button_DTB_Car_Jet, Button_DTB_Save_Date, Button_DTB_Mounting_Date, Button_DTB_User_Name, Button_DTB_User_Phone, Button_DTB_User_Address, Button_DTB_Load, Label_Drive_Time, Label_Drive_Speed, Label_Drive_RPM, Label_Drive_From, Label_Drive_To, Button_Drive_Set, Label_RPM_RPM, Label_RPM_Scaler, Label_RPM_Sensitiv, Label_RPM_Comment_Set_PreStart, Label_RPM_Comment_Set_PreStart_S, Label_RPM_Comment_Set_Scaler, Label_RPM_Comment_Set_Sensitiv, Label_RPM_Comment_Set_Check, Label_RPM_Comment_Set_Bad, Label_RPM_Comment_Set_Bad_S, Label_RPM_Comment_Set_Good, Label_RPM_Comment_Set_Good_S, Label_RPM_Comment_Set_Stopped, Label_RPM_Comment_Set_Stopped_S, Label_Connect_Loader, Panel_Connect_Loader, Panel_Desconnect_Loader, GroupBox_Loader, Label_Loader_File_Name, Label_Loader_File_Data, Label_Loader_File_Ver, Label_Loader_Prompt, Label_Loader_Check_Version, Button_Loader_Browse, Button_Loader_Load, Button_Loader_Exit, Label_Loader_Prompt_off, Label_Loader_Prompt_on, Label_PSW_Prompt, Label_PSW_Input, Label_PSW_pass2, Label_PSW_Date, Label_PSW_Name, Label_PSW_Phone, Label_PSW_Comm, Button_PSW_Clr, Button_PSW_Set, Label_PSW_Incorrect, Label_PSW_Recom1, Label_PSW_Recom2, Label_PSW_Save, Button_PSW_Check, Button_PSW_Default, Label_PSW_Warning, Button_PSW_Setting, Button_PSW_Cancel, Label_PSW_Ok, Label_PSW_Set, Label_PSW_Clr, Label_PSW_Def, GroupBox_SBS_Connect, Label_SBS_Prompt_Connect, Label_SBS_Prompt_Engine, GroupBox_SBS_Config, Label_SBS_CFG, Button_SBS_Load_CFG, Label_SBS_RPM_Prompt, GroupBox_SBS_ACB, Label_SBS_ACB, Label_SBS_ACB_Wait, Button_SBS_Start_ACB, Label_TMP_Cap1, Label_TMP_Cap2, Label_FONT_Text_Size, Label_FONT_Data_Size, Label_FONT_ICO_OffSet, Label_FONT_Tools_Bar, Button_FONT_Setting.
- Hints (194): Button_StepbyStep_Hint, Button_QuorelGAS_Hint, Button_Gas_Fors_All_Hint, Button_Gas_Fors1_Hint, Button_Gas_Fors2_Hint, Button_Gas_Fors3_Hint, Button_Gas_Fors4_Hint, Button_Gas_Fors5_Hint, Button_Gas_Fors6_Hint, Button_Gas_Fors7_Hint, Button_Gas_Fors8_Hint, Button_WorkMode_Hint, Button_Input_Hint, GEN_Averaging_Hint, Button_Select_ComPort_Hint, Button_CFG_Receiv_Hint, Button_CFG_Transmitt_Hint, Button_CFG_Save_Hint, Button_CFG_Load_Hint, Button_CFG_Default_Hint, RPM_Source_Hint, RPM_Sensitiv_Hint, RPM_Filter_Hint, RPM_AutoFilter_ON_Hint, RPM_Prescaler_Hint, RPM_set_Hint, RPM_Scaler_Hint, RPM_Scaler_Sensitiv_Hint, RPM_Virtual_ON_Hint, PG_DualFuelInject_ON_Hint, PG_PressInject_Hint, PG_RPM_Hint, PG_Time_Hint, PG_Delay_Hint, PG_PrimingTime_Hint, PG_PrimingTime_Temp_Hint, PG_Pump_Status_Hint, PG_GAS_Accident_ON_Hint, PG_GAS_Accident_Cnt_Hint, PG_GAS_Accident_Clr_Hint, PG_GAS_Accident_Num_Hint, PG_GAS_Hot_Engine_ON_Hint, GP_Buzzer_ON_Hint, GP_PressMore_Hint, GP_PressLess_Hint, GP_Time_Hint, GP_PressDrop_Hint, GP_PressRise_Hint, GP_PressInit_Hint, GP_MinPetTime_Hint, GP_MinGasTime_Hint, GP_MaxPetTime_Hint, GP_StoreInterval_Hint, GP_BackStepNum_Hint, GPG_RPM_ON_Hint, GPG_RPM_Petrol_Hint, GPG_RPM_Gas_Hint, GPG_RPM_Idle_ON_Hint, GPG_CutOff_Cycles_ON_Hint, Inject_Type_Hint, Inject_Num_Hint, Inject_Range_Hint, Inject_Start_Hint, Inject_PWM_Hint, Inject_Duty_Hint, Inject_Period_Hint, Polarity_Pulse_Hint, SequentInjection_Hint, NoSequentInjection_Hint, MonoInjection_Hint, Petrol_Pass_ON_Hint, Petrol_Filter_ON_Hint, Petrol_Filter_Factor_Hint, MAZDA_Mode_ON_Hint, MAZDA_Mode_Factor_Hint, Button_Inject_Detect_Hint, Pump_Type_Hint, Pump_Dry_Test_ON_Hint, Pump_MeasureDelay_Hint, Pump_PressRise_Hint, Pump_Time_Hint, Level_Invert_Hint, Level_90_Hint, Level_Buzzer_ON_Hint, Level_Current_Volt_Hint, Level_Hint, Level_Mode_Wait_Hint, Level_Mode_Etalon_Hint, Level_Mode_Pause_Hint, Level_Mode_Work_Hint, Level_Current_Hint, Level_Etalon_Hint, Button_CFG_LevelSensor_Clr_Hint, Button_CFG_LevelSensor_Set_Hint, Press_Type_Hint, Press_Volt_Hint, Press_Bar_Hint, Press_Calc_Hint, Press_Indic_Hint, Press_Absolute_Hint, Press_Relative_Hint, Press_Aver_Freq_Hint, Lambda_Type_Hint, Lambda_ON_Hint, Factor_Clear_Hint, Factor_Default_Hint, User_Archive_Hint, User_New_Hint, User_Find_Hint, User_Again_Hint, Car_Num_Hint, Car_Model_Hint, Car_Engine_Hint, Car_Injectors_Hint, Car_Date_Save_Hint, Car_Date_Mounting_Hint, Car_Password_Hint, ST_Block_Hint, ST_Calc_Hint, ST_Hour_Hint, ST_Remains_Hint, ST_Clr_Hint, ST_Set_Hint, ST_Refresh_Hint, Owner_Name_Hint, Owner_Phone_Hint, Owner_Address_Hint, Comments_Hint, Comments_Clr_Hint, Button_CLB_Receiv_Hint, Button_CLB_Transmitt_Hint, Button_CLB_Save_Hint, Button_CLB_Load_Hint, Button_CLB_Default_Hint, OSC_Max_Mls_Hint, OSC_Max_RPM_Hint, OSC_Max_Deg_Hint, OSC_Max_Bar_Hint, OSC_View_RPM_Hint, OSC_View_Gas_Hint, OSC_View_Petrol_Hint, OSC_View_DegAUX1_Hint, OSC_View_DegAUX2_Hint, OSC_View_PressInject_Hint, OSC_View_Power_Hint, OSC_View_Lambda_Hint, OSC_View_Grid_Hint, OSC_Step_Grid_Hint, Button_OSC_FromFile_Hint, Button_OSC_Record_Hint, Button_OSC_Test_Drive_Hint, Button_OSC_StartStop_Hint, Button_OSC_Clear_Hint, ACB_Pause_Hint, ACB_Stabil_Time_Hint, ACB_Stabil_Range_Hint, ACB_Compar_Range_Hint, ACB_Script_Hint, ACB_Animate_Hint, ACB_Default_CLB_Hint, Button_ACB_SaveSettings_Hint, Button_ACB_StartStop_Hint, Button_ERR_Clear_Hint, Port_Name_Hint, Search_Port_Hint, Reply_Delay_Hint, Save_Load_Data_Hint, Transmit_Now_Hint, Form_Style_Hint, Show_Hint_Hint, checkPassword_Hint, English_Menu_Hint, Language_Hint, Button_Setup_Font_Hint, Button_Setup_Port_Hint, Button_INI_Save_Hint, Button_INI_Load_Hint, Button_INI_Default_Hint, Button_About_Diagram_Hint, Button_About_Help_Hint, Button_About_History_Hint, GP_PressRestart_Hint, Pump_Hydr_Cond_ON_Hint, Pump_Hydr_Cond_T_On_Hint, Pump_Hydr_Cond_T_Off_Hint, Inject_Delay_ON_Hint, GPG_2Fuel_ON_Hint, GPG_2Fuel_Temp_Hint, GPG_2Fuel_Period_Hint, GPG_2Fuel_RPM_Hint, GPG_2Fuel_Petrol_Hint, GPG_2Fuel_Time_Hint, GPG_2Fuel_Delay_Hint, Button_Drive_Set_Hint.
)";

struct Group
{
    QString Name;
    int Count = 0;
    QStringList Keys;
};

QList<Group> Parse_Groups()
{
    QList<Group> groups;
    static const QRegularExpression line_re(QStringLiteral(R"(^- (.+?) \((\d+)\): (.*)\.$)"));
    for (const QString& line : QString::fromUtf8(Group_Lists).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const auto m = line_re.match(line.trimmed());
        if (!m.hasMatch())
            continue;
        Group g;
        g.Name = m.captured(1);
        g.Count = m.captured(2).toInt();
        for (const QString& key : m.captured(3).split(QLatin1Char(',')))
            g.Keys.append(key.trimmed());
        groups.append(g);
    }
    return groups;
}

} // namespace

TEST(Language_En_Table, Has_713_Distinct_Keys_Each_With_A_Text)
{
    QSet<QString> keys;
    for (const Language_En_Row& row : Language_En()) {
        const QString key = QString::fromLatin1(row.Key);
        EXPECT_FALSE(keys.contains(key)) << "duplicate " << row.Key;
        keys.insert(key);
        EXPECT_FALSE(QString::fromUtf16(row.Text).isEmpty()) << row.Key;
        EXPECT_FALSE(key.endsWith(QLatin1String("_Rem"))) << row.Key;
    }
    EXPECT_EQ(keys.size(), 713);
}

TEST(Language_En_Table, Holds_Every_Key_Of_The_Group_Lists)
{
    const QList<Group> groups = Parse_Groups();
    ASSERT_EQ(groups.size(), 8);
    QSet<QString> listed;
    for (const Group& g : groups) {
        EXPECT_EQ(g.Keys.size(), g.Count) << g.Name.toStdString();
        for (const QString& key : g.Keys) {
            listed.insert(key);
            EXPECT_FALSE(English_Text(key).isEmpty()) << key.toStdString();
        }
    }
    EXPECT_EQ(listed.size(), 713);
    for (const Language_En_Row& row : Language_En())
        EXPECT_TRUE(listed.contains(QString::fromLatin1(row.Key))) << row.Key;
}

TEST(Language_En_Table, Quoted_Texts)
{
    const std::pair<const char*, const char16_t*> cases[] = {
        {"Gas", u"Gas"}, {"GAS", u"Gas"}, {"PETROL", u"Petrol"}, {"RPM", u"R.P.M."},
        {"Gas_Char", u"G"}, {"Petrol_Char", u"P"}, {"Lambda", u"Lambda sensor"},
        {"Power", u"Battery voltage"}, {"Start", u"START"}, {"Stop", u"STOP"},
        {"Not_Connect", u"Disconnect"}, {"Close", u"Closed"}, {"Receiv", u"Receive"},
        {"Transmitt", u"Transmit"}, {"Dim_RPM_Short", u"r.p.m."}, {"Dim_Volt_Short", u"v"},
        {"Dim_Volt_Long", u"volt"}, {"Dim_Sec_Long", u"sec"}, {"Dim_Hour_Short", u"h"},
        {"TabSheet_Configuration", u"Config"}, {"TabSheet_AutoCalibration", u"Autocalibr."},
        {"Error_Window_Close", u"The window will close after"},
        {"Error_OverWrite", u"The file with such name already exists. Overwrite?"},
        {"Error_Folder_not_exist", u"folder does not exist"},
        {"GroupBox_SBS_Connect", u"Connection"}, {"Form_SBS", u"Step by step"},
        {"Form_TMP", u"Priming time setting"}, {"Form_PSW", u"Setting password and control"},
        {"Form_DTB", u"Clients database"}, {"Form_FONT", u"Font, Size, Style, Color"},
        {"Label_Drive_Speed", u"Speed (Km/h)"}, {"Label_Drive_Time", u"Dispersal time (sec)"},
        {"ACB_Prompt_Connect", u"Autocalibration failed. No connection with ECU"},
        {"ACB_Prompt_Completion", u"Autocalibration successfully completed."},
        {"ACB_Prompt_Stoped", u"Autocalibration stopped."},
        {"CFG_Option_Switch_GPG", u"Gas/Petrol/Gas"}, {"CFG_Option_Factor_Press_Power", u"Offset gas"},
        {"Factor_Clear_Hint", u"Erase correction factors of the gas mixture"},
        {"Button_CLB_Save_Hint", u"Save factors data in \"CFG\" file"},
        {"Label_PSW_Recom1", u"otherwise it will be blocked can configure the device"},
        {"GroupBox_Loader", u"Loaded file inforamation"}, {"Error_ExistWrite", u"File : exists"},
        {"User_Again_Hint", u"To continue find in archive of configurations"},
        {"GroupBox_About_Technic", u"Technical support"}, {"Label_TMP_Cap1", u"Temperature sensor"},
    };
    for (const auto& [key, text] : cases)
        EXPECT_EQ(English_Text(QString::fromLatin1(key)), QString::fromUtf16(text)) << key;
}

TEST(Language_En_Table, Degree_Sign_Is_Followed_By_Cyrillic_Es)
{
    const QString degree = English_Text(QStringLiteral("Dim_Degree_Short"));
    ASSERT_EQ(degree.size(), 2);
    EXPECT_EQ(degree[0].unicode(), 0x00B0);
    EXPECT_EQ(degree[1].unicode(), 0x0421);
}

TEST(Language_En_Table, Match_Is_Exact_And_Case_Sensitive)
{
    EXPECT_TRUE(English_Text(QStringLiteral("gas")).isEmpty());
    EXPECT_TRUE(English_Text(QStringLiteral("TABSHEET_GENERAL")).isEmpty());
    EXPECT_TRUE(English_Text(QStringLiteral(" Gas")).isEmpty());
    EXPECT_TRUE(English_Text(QStringLiteral("Port_Name_Rem")).isEmpty());
    EXPECT_TRUE(English_Text(QStringLiteral("ACB_Prompt_Sec")).isEmpty());
    EXPECT_EQ(English_Text(QStringLiteral("Pairs-Parallel")), QStringLiteral("Pairs-parallel"));
}
