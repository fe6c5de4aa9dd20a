#include "settings/Quorel_Ini.h"
#include "settings/Quorel_Settings.h"

#include "Test_Print.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Settings_Fixture : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    Settings_Class settings{dir.path(), "QuorelGAS"};

    void Write_File(const QByteArray& text) const
    {
        QFile file(settings.File_Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    Ini_File File() const
    {
        Ini_File ini;
        EXPECT_TRUE(ini.Ini_Load(settings.File_Path()));
        return ini;
    }
    QStringList Keys() const
    {
        QStringList keys;
        const Ini_File ini = File();
        for (const auto& entry : ini.Entries())
            keys << entry.key;
        return keys;
    }
};

TEST_F(Settings_Fixture, DefaultsFollowProgramFolderAndName)
{
    EXPECT_EQ(settings.File_Path(), dir.path() + "/QuorelGAS.ini");
    EXPECT_EQ(settings.CFG_File_Path, dir.path() + "/Config");
    EXPECT_EQ(settings.CFG_File_Name, "QuorelGAS.cfg");
    EXPECT_EQ(settings.OSC_File_Path, dir.path() + "/Oscilloscope");
    EXPECT_EQ(settings.OSC_File_Name, "QuorelGAS.osc");
    EXPECT_EQ(settings.Title_Text, "QuorelGAS");
    EXPECT_EQ(settings.Port_Name, "COM1");
    EXPECT_EQ(settings.Reply_Delay, 60);
    EXPECT_EQ(settings.Delay_Compensation, 100);
    EXPECT_TRUE(settings.Save_Load_Data);
    EXPECT_TRUE(settings.Full_Screen);
    EXPECT_FALSE(settings.Search_Port);
}

TEST_F(Settings_Fixture, CreateWithoutFileKeepsDefaultsAndDisablesLoad)
{
    settings.Settings_Create();
    EXPECT_FALSE(settings.Load_Available);
    EXPECT_EQ(settings.Port_Name, "COM1");
    EXPECT_EQ(settings.Language, "English");
    EXPECT_FALSE(QFile::exists(settings.File_Path()));

    ASSERT_TRUE(settings.Settings_Write());
    EXPECT_TRUE(settings.Load_Available);
    EXPECT_TRUE(settings.Settings_Read());
}

TEST_F(Settings_Fixture, HandEditedLineWithBlanksAroundEquals)
{
    Write_File("    port_name = COM7 {the serial port}\r\n");
    ASSERT_TRUE(settings.Settings_Read());
    EXPECT_EQ(settings.Port_Name, "COM7");
    EXPECT_EQ(settings.Preferred_Port, "COM7");
    EXPECT_EQ(File().Ini_Find("Port_Name")->remark, "the serial port");
}

TEST_F(Settings_Fixture, BadNumbersAndFlagsLeaveTheFieldUnchanged)
{
    settings.Reply_Delay = 85;
    settings.Full_Screen = false;
    settings.Page_Number = 3;
    Write_File("Reply_Delay 6O\r\nFull_Screen yes\r\nPage_Number\r\nForm_Style TRUE\r\n");
    ASSERT_TRUE(settings.Settings_Read());
    EXPECT_EQ(settings.Reply_Delay, 85);
    EXPECT_FALSE(settings.Full_Screen);
    EXPECT_EQ(settings.Page_Number, 3);
    EXPECT_TRUE(settings.Form_Style);
}

TEST_F(Settings_Fixture, FalseInAnyLetterCaseClearsAFlag)
{
    for (const char* text : {"false", "FALSE", "False", "fAlSe"}) {
        SCOPED_TRACE(text);
        settings.Full_Screen = true;
        Write_File(QByteArray("Full_Screen ") + text + "\r\n");
        ASSERT_TRUE(settings.Settings_Read());
        EXPECT_FALSE(settings.Full_Screen);
    }
}

TEST_F(Settings_Fixture, BareKeyLineDoesNotDisturbTheNextLine)
{
    Write_File("Language\r\nPort_Name COM3\r\n");
    ASSERT_TRUE(settings.Settings_Read());
    EXPECT_EQ(settings.Port_Name, "COM3");
    EXPECT_EQ(settings.Language, "English");  // a blank is no language
}

TEST_F(Settings_Fixture, HexadecimalIntegersAreRead)
{
    Write_File("Reply_Delay $64\r\nPosition_Left -$10\r\n");
    ASSERT_TRUE(settings.Settings_Read());
    EXPECT_EQ(settings.Reply_Delay, 100);
    EXPECT_EQ(settings.Position_Left, -16);
}

struct Clamp_Case
{
    const char* line;
    int Settings_Class::*field;
    int expected;
};

class Settings_Clamp : public Settings_Fixture, public ::testing::WithParamInterface<Clamp_Case>
{
};

TEST_P(Settings_Clamp, OutOfRangeFileValuesAreClampedToTheControl)
{
    Write_File(QByteArray(GetParam().line) + "\r\n");
    ASSERT_TRUE(settings.Settings_Read());
    EXPECT_EQ(settings.*GetParam().field, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Settings_Clamp,
    ::testing::Values(Clamp_Case{"Reply_Delay 5000", &Settings_Class::Reply_Delay, 999},
                      Clamp_Case{"Reply_Delay -3", &Settings_Class::Reply_Delay, 1},
                      Clamp_Case{"Reply_Delay 0", &Settings_Class::Reply_Delay, 1},
                      Clamp_Case{"Reply_Delay 999", &Settings_Class::Reply_Delay, 999},
                      Clamp_Case{"Delay_Compensation 5000", &Settings_Class::Delay_Compensation, 999},
                      Clamp_Case{"Delay_Compensation -3", &Settings_Class::Delay_Compensation, 1},
                      Clamp_Case{"Hint_Length 5000", &Settings_Class::Hint_Length, 200},
                      Clamp_Case{"Hint_Length -3", &Settings_Class::Hint_Length, 10},
                      Clamp_Case{"Page_Number 5000", &Settings_Class::Page_Number, 7},
                      Clamp_Case{"Page_Number -3", &Settings_Class::Page_Number, 0},
                      Clamp_Case{"Page_Number 7", &Settings_Class::Page_Number, 7},
                      Clamp_Case{"Logo_Width -3", &Settings_Class::Logo_Width, 0},
                      Clamp_Case{"Logo_Height -3", &Settings_Class::Logo_Height, 0},
                      Clamp_Case{"Logo_Top -3", &Settings_Class::Logo_Top, 0},
                      Clamp_Case{"Position_Top -300", &Settings_Class::Position_Top, -300}));

TEST_F(Settings_Fixture, GarbageFileLoadsWhatIsGoodAndDefaultsTheRest)
{
    QByteArray text("\x00\x01\xFF\xFE garbage line\r\n", 20);
    text += "}}}{{{\r\n=====\r\n[Settings]\r\n";
    text += "Reply_Delay twenty\r\n";
    text += "Search_Port maybe\r\n";
    text += "Page_Number 2.5\r\n";
    text += "Port_Name ttyUSB1 {ok}\r\n";
    text += QByteArray(5000, 'x') + "\r\n";
    text += "Transmit_Now True\r\n";
    text += "Hint_Length 45";  // no line end at the end of the file
    Write_File(text);
    ASSERT_TRUE(settings.Settings_Read());
    EXPECT_EQ(settings.Port_Name, "ttyUSB1");
    EXPECT_TRUE(settings.Transmit_Now);
    EXPECT_EQ(settings.Hint_Length, 45);
    EXPECT_EQ(settings.Reply_Delay, 60);
    EXPECT_FALSE(settings.Search_Port);
    EXPECT_EQ(settings.Page_Number, 0);
}

TEST_F(Settings_Fixture, UnknownHandAddedKeyKeepsItsPlace)
{
    Write_File("Port_Name COM2 {p}\r\nMy_Own_Key hello {mine}\r\nReply_Delay 70\r\nOSC_Max_RPM 6000 {later}\r\n");
    ASSERT_TRUE(settings.Settings_Read());
    ASSERT_TRUE(settings.Settings_Write());

    const Ini_File ini = File();
    ASSERT_GE(ini.Entries().size(), 4);
    EXPECT_EQ(ini.Entries()[0].key, "PORT_NAME");
    EXPECT_EQ(ini.Entries()[1].key, "MY_OWN_KEY");
    EXPECT_EQ(ini.Entries()[1].value, "hello");
    EXPECT_EQ(ini.Entries()[1].remark, "mine");
    EXPECT_EQ(ini.Entries()[2].key, "REPLY_DELAY");
    EXPECT_EQ(ini.Entries()[2].value, "70");
    EXPECT_EQ(ini.Entries()[3].key, "OSC_MAX_RPM");
    EXPECT_EQ(ini.Entries()[3].value, "6000");
}

TEST_F(Settings_Fixture, ExitWriteOrderAndSaveAddsTheFileKeysFirst)
{
    ASSERT_TRUE(settings.Settings_Write());
    const QStringList exit_order{"PORT_NAME",   "SEARCH_PORT",  "REPLY_DELAY",   "DELAY_COMPENSATION",
                                 "SAVE_LOAD_DATA", "POSITION_TOP", "POSITION_LEFT", "FULL_SCREEN",
                                 "TRANSMIT_NOW", "FORM_STYLE",   "SHOW_HINT",     "HINT_LENGTH",
                                 "LANGUAGE",     "ENGLISH_MENU", "PAGE_NUMBER",   "CHECKPASSWORD"};
    EXPECT_EQ(Keys(), exit_order);

    QFile::remove(settings.File_Path());
    ASSERT_TRUE(settings.Settings_Save());
    EXPECT_EQ(Keys(), QStringList({"CFG_FILE_PATH", "CFG_FILE_NAME"}) + exit_order);

    // Written exactly: key column, value, remark in braces, CR LF.
    QFile file(settings.File_Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\r\nSearch_Port                  False {}\r\n"));
    EXPECT_TRUE(text.contains("\r\nFull_Screen                  True {}\r\n"));
    EXPECT_TRUE(text.contains("\r\nReply_Delay                  60 {}\r\n"));
}

TEST_F(Settings_Fixture, WrittenFileReadsBackIdentically)
{
    settings.Port_Name = "/dev/ttyUSB0";
    settings.Search_Port = true;
    settings.Reply_Delay = 125;
    settings.Delay_Compensation = 35;
    settings.Save_Load_Data = false;
    settings.Transmit_Now = true;
    settings.Position_Top = -20;
    settings.Position_Left = 1900;
    settings.Full_Screen = false;
    settings.Page_Number = 6;
    settings.Form_Style = true;
    settings.CheckPassword = true;
    settings.CFG_File_Path = dir.path() + "/Kunden {alt}";
    settings.CFG_File_Name = QString::fromLatin1("M\xFCller.cfg");
    settings.Language = "Deutsch";
    settings.English_Menu = true;
    settings.Show_Hint = false;
    settings.Hint_Length = 55;
    ASSERT_TRUE(settings.Settings_Save());

    Settings_Class back(dir.path(), "QuorelGAS");
    ASSERT_TRUE(back.Settings_Read());
    EXPECT_EQ(back.Port_Name, settings.Port_Name);
    EXPECT_EQ(back.Search_Port, settings.Search_Port);
    EXPECT_EQ(back.Reply_Delay, settings.Reply_Delay);
    EXPECT_EQ(back.Delay_Compensation, settings.Delay_Compensation);
    EXPECT_EQ(back.Save_Load_Data, settings.Save_Load_Data);
    EXPECT_EQ(back.Transmit_Now, settings.Transmit_Now);
    EXPECT_EQ(back.Position_Top, settings.Position_Top);
    EXPECT_EQ(back.Position_Left, settings.Position_Left);
    EXPECT_EQ(back.Full_Screen, settings.Full_Screen);
    EXPECT_EQ(back.Page_Number, settings.Page_Number);
    EXPECT_EQ(back.Form_Style, settings.Form_Style);
    EXPECT_EQ(back.CheckPassword, settings.CheckPassword);
    EXPECT_EQ(back.CFG_File_Path, settings.CFG_File_Path);
    EXPECT_EQ(back.CFG_File_Name, settings.CFG_File_Name);
    EXPECT_EQ(back.Language, settings.Language);
    EXPECT_EQ(back.English_Menu, settings.English_Menu);
    EXPECT_EQ(back.Show_Hint, settings.Show_Hint);
    EXPECT_EQ(back.Hint_Length, settings.Hint_Length);
}

TEST_F(Settings_Fixture, EnglishMenuWritesEnglishRemarksButTheRealLanguage)
{
    settings.Remark_Text = [](const QString& key) { return "DE:" + key; };
    settings.Language = "Deutsch";
    settings.English_Menu = true;
    ASSERT_TRUE(settings.Settings_Write());
    Ini_File ini = File();
    EXPECT_EQ(ini.Ini_Read_Text("Language"), QString("Deutsch"));
    EXPECT_EQ(ini.Ini_Find("Language")->remark, "DE:Language_Rem");
    EXPECT_EQ(ini.Ini_Find("Port_Name")->remark, "");
    EXPECT_EQ(ini.Ini_Find("Reply_Delay")->remark, "");

    settings.English_Menu = false;
    ASSERT_TRUE(settings.Settings_Write());
    ini = File();
    EXPECT_EQ(ini.Ini_Find("Port_Name")->remark, "DE:Port_Name_Rem");
    EXPECT_EQ(ini.Ini_Find("Language")->remark, "DE:Language_Rem");
}

TEST_F(Settings_Fixture, DefaultKeepsPortPasswordLanguageAndBranding)
{
    Write_File("Port_Name COM9\r\nLanguage Deutsch\r\nCheckPassword True\r\nTitle_Text Garage X\r\n"
               "Reply_Delay 300\r\nFull_Screen False\r\nPage_Number 4\r\nCFG_File_Name car.cfg\r\n"
               "English_Menu True\r\nHint_Length 99\r\nSearch_Port True\r\n");
    ASSERT_TRUE(settings.Settings_Read());
    settings.Settings_Defaults();

    EXPECT_EQ(settings.Port_Name, "COM9");
    EXPECT_EQ(settings.Language, "Deutsch");
    EXPECT_TRUE(settings.CheckPassword);
    EXPECT_EQ(settings.Title_Text, "Garage X");
    EXPECT_EQ(settings.Reply_Delay, 60);
    EXPECT_TRUE(settings.Full_Screen);
    EXPECT_EQ(settings.Page_Number, 0);
    EXPECT_EQ(settings.CFG_File_Name, "QuorelGAS.cfg");
    EXPECT_FALSE(settings.English_Menu);
    EXPECT_EQ(settings.Hint_Length, 30);
    EXPECT_FALSE(settings.Search_Port);
}

TEST_F(Settings_Fixture, BrandingIsReadOnlyForOtherProgramNames)
{
    const QByteArray text = "Title_Text Garage X\r\nLogo_Top 9\r\nLogo_Width 40\r\nName_Block_PIC_2 Six\r\n"
                            "Port_Name COM4\r\n";
    Write_File(text);
    ASSERT_TRUE(settings.Settings_Read());
    EXPECT_EQ(settings.Title_Text, "Garage X");
    EXPECT_EQ(settings.Logo_Top, 9);
    EXPECT_EQ(settings.Logo_Width, 40);
    EXPECT_EQ(settings.Name_Block_PIC[1], "Six");
    EXPECT_EQ(settings.Name_Block_PIC[0], "KYT-4");

    Settings_Class ambrisol(dir.path(), "aMbRiSoL");
    EXPECT_TRUE(ambrisol.Is_Ambrisol());
    QFile::copy(settings.File_Path(), ambrisol.File_Path());
    ASSERT_TRUE(ambrisol.Settings_Read());
    EXPECT_EQ(ambrisol.Port_Name, "COM4");
    EXPECT_EQ(ambrisol.Title_Text, "aMbRiSoL");
    EXPECT_EQ(ambrisol.Logo_Top, 2);
    EXPECT_EQ(ambrisol.Name_Block_PIC[1], "KYT-6");
}

TEST_F(Settings_Fixture, BrandingIsNeverWritten)
{
    Write_File("Title_Text Garage X\r\n");
    ASSERT_TRUE(settings.Settings_Read());
    settings.Logo_Top = 7;
    ASSERT_TRUE(settings.Settings_Save());
    const Ini_File ini = File();
    EXPECT_EQ(ini.Ini_Find("Logo_Top"), nullptr);
    EXPECT_EQ(ini.Ini_Read_Text("Title_Text"), QString("Garage X"));
}

TEST_F(Settings_Fixture, WriteFailureIsReportedAndLeavesNoFile)
{
    Settings_Class nowhere(dir.path() + "/no/such/folder", "QuorelGAS");
    EXPECT_FALSE(nowhere.Settings_Write());
    EXPECT_FALSE(nowhere.Settings_Save());
    EXPECT_FALSE(QFile::exists(nowhere.File_Path()));
}

} // namespace
