#include "language/Quorel_Apply_Texts.h"
#include "language/Quorel_Language_State.h"
#include "language/Quorel_Text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

namespace {

class Apply_Texts_Fixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Reset_Language_State();
        ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Language")));
        Set_Program_Folder(dir_.path());
        QFile file(dir_.path() + QStringLiteral("/Language/Deutsch.lng"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Deutsch\r\n"
                   "Form_PSW Passwort\r\n"
                   "GroupBox_SBS_Connect Verbindung\r\n"
                   "Button_CFG_User_Find Suchen\r\n"
                   "Button_CLB_Save_Hint Kalibrierdaten in einer CFG Datei speichern\r\n");
        file.close();

        form_.setObjectName(QStringLiteral("Form_PSW"));
        group_ = new QGroupBox(&form_);
        group_->setObjectName(QStringLiteral("GroupBox_SBS_Connect"));
        button_ = new QPushButton(group_);
        button_->setObjectName(QStringLiteral("Button_CFG_User_Find"));
        save_ = new QPushButton(&form_);
        save_->setObjectName(QStringLiteral("Button_CLB_Save"));
        save_->setText(QStringLiteral("keep"));
        label_ = new QLabel(QStringLiteral("unchanged"), &form_);
        label_->setObjectName(QStringLiteral("Label_No_Such_Key"));
    }
    void TearDown() override { Reset_Language_State(); }

    QTemporaryDir dir_;
    QWidget form_;
    QGroupBox* group_ = nullptr;
    QPushButton* button_ = nullptr;
    QPushButton* save_ = nullptr;
    QLabel* label_ = nullptr;
};

} // namespace

TEST_F(Apply_Texts_Fixture, English_Captions_Titles_And_Hints)
{
    EXPECT_EQ(Apply_Object_Texts(&form_), 4);
    EXPECT_EQ(form_.windowTitle(), QStringLiteral("Setting password and control"));
    EXPECT_EQ(group_->title(), QStringLiteral("Connection"));
    EXPECT_EQ(button_->text(), QStringLiteral("Find"));
    EXPECT_EQ(save_->text(), QStringLiteral("keep"));   // no caption key of its own
    EXPECT_EQ(save_->toolTip(), QStringLiteral("Save factors data \nin \"CFG\" file"));   // wrapped
    EXPECT_EQ(label_->text(), QStringLiteral("unchanged"));
}

TEST_F(Apply_Texts_Fixture, Selected_Language_And_English_Menu)
{
    Language().Language_Name = QStringLiteral("Deutsch");
    Apply_Object_Texts(&form_);
    EXPECT_EQ(form_.windowTitle(), QStringLiteral("Passwort"));
    EXPECT_EQ(group_->title(), QStringLiteral("Verbindung"));
    EXPECT_EQ(button_->text(), QStringLiteral("Suchen"));
    EXPECT_EQ(save_->toolTip(), QStringLiteral("Kalibrierdaten in einer \nCFG Datei speichern"));

    Set_English_Menu(true);
    Apply_Object_Texts(&form_);
    EXPECT_EQ(form_.windowTitle(), QStringLiteral("Setting password and control"));   // frame
    EXPECT_EQ(save_->toolTip(), QStringLiteral("Save factors data \nin \"CFG\" file"));  // tool hint
    EXPECT_EQ(group_->title(), QStringLiteral("Verbindung"));                          // content
}

TEST_F(Apply_Texts_Fixture, Hints_Off_Clears_Tool_Tips)
{
    Apply_Object_Texts(&form_);
    ASSERT_FALSE(save_->toolTip().isEmpty());
    Language().Show_Hint = false;
    Apply_Object_Texts(&form_);
    EXPECT_TRUE(save_->toolTip().isEmpty());
}

TEST_F(Apply_Texts_Fixture, Null_Root_Does_Nothing)
{
    EXPECT_EQ(Apply_Object_Texts(nullptr), 0);
}
