#include "app/Quorel_Clock.h"
#include "app/Quorel_Context.h"
#include "app/Quorel_Main_Form.h"
#include "config/Quorel_CFG_Editor_Form.h"
#include "language/Quorel_Language_State.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Sequencer.h"
#include "link/Quorel_Serial_Virtual.h"
#include "monitor/Quorel_Bar_Gauge_Widget.h"
#include "monitor/Quorel_General_Form.h"
#include "monitor/Quorel_Lambda_Chart.h"
#include "monitor/Quorel_Led_Widget.h"
#include "monitor/Quorel_Live_Decode.h"
#include "monitor/Quorel_Live_Monitor.h"
#include "monitor/Quorel_Strip_Chart_Widget.h"
#include "monitor/Quorel_Value_Box_Widget.h"
#include "sim/Quorel_Sim_Ecu.h"
#include "sim/Quorel_Sim_Virtual.h"

#include <QDate>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QLabel>
#include <QRegularExpression>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

#include "link/Connect_Rig.h"

namespace {

// The main window on a virtual line with the simulated ECU at its far end.
class Monitor_Pages : public ::testing::Test
{
protected:
    void SetUp() override { window = std::make_unique<TForm_QuorelGAS>(*context); }

    void TearDown() override
    {
        window.reset();
        context.reset();
        ecu.reset();
    }

    // Connects and waits for live data; the read of the ECU's data on
    // connection enables the ECU controls.
    bool Connect()
    {
        context->ComPort->Set_Port(Line_Name);
        context->ComPort->Port_Open();
        return clock.Advance_Until([this]() { return context->ECU_Connected; }, 10000) &&
               clock.Advance_Until([this]() { return Find<QPushButton>("Button_WorkMode")->isEnabled(); }, 10000) &&
               clock.Advance_Until([this]() { return context->Live_Data.RPM > 0; }, 10000);
    }

    template <class T>
    T* Find(const char* name) const
    {
        return window->findChild<T*>(QLatin1String(name));
    }
    QWidget* Page(int index) const { return Find<QTabWidget>("PageControl_QuorelGAS")->widget(index); }
    bool Advance_Until(const std::function<bool()>& done, qint64 limit_ms)
    {
        for (qint64 t = 0; t < limit_ms; t += 20) {
            if (done())
                return true;
            clock.Advance(20);
        }
        return done();
    }

    Connect_Rig rig{{}, "Page_Number 0\r\n"};
    QTemporaryDir& dir = rig.dir;
    Virtual_Clock& clock = rig.clock;
    Virtual_Serial_Port*& port = rig.port;
    std::unique_ptr<Ecu_Simulator>& ecu = rig.ecu;
    std::unique_ptr<Quorel_Context>& context = rig.context;
    std::unique_ptr<TForm_QuorelGAS> window;
};

// Controls of a page with a name and a place of their own.
std::vector<QWidget*> Placed_Children(QWidget* parent)
{
    std::vector<QWidget*> out;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->objectName().isEmpty() && !child->objectName().startsWith("qt_") && !child->isHidden())
            out.push_back(child);
    return out;
}

void Expect_Fits_Without_Overlap(QWidget* parent)
{
    const std::vector<QWidget*> children = Placed_Children(parent);
    for (size_t i = 0; i < children.size(); ++i) {
        QWidget* a = children[i];
        EXPECT_TRUE(QRect(QPoint(0, 0), parent->size()).contains(a->geometry()))
            << a->objectName().toStdString() << " leaves " << parent->objectName().toStdString();
        for (size_t j = i + 1; j < children.size(); ++j)
            EXPECT_FALSE(a->geometry().intersects(children[j]->geometry()))
                << a->objectName().toStdString() << " overlaps " << children[j]->objectName().toStdString();
        QString caption;
        int room = a->width();
        if (auto* label = qobject_cast<QLabel*>(a)) {
            caption = label->text();
            room -= 2 * label->frameWidth() + label->indent() * (label->indent() > 0);
        } else if (auto* button = qobject_cast<QPushButton*>(a)) {
            caption = button->text().remove('&');
            room -= 12;
        }
        for (const QString& line : caption.split('\n'))
            EXPECT_LE(a->fontMetrics().horizontalAdvance(line), room)
                << a->objectName().toStdString() << ": \"" << line.toStdString() << "\"";
        if (!caption.isEmpty()) {
            EXPECT_FALSE(a->accessibleName().isEmpty()) << a->objectName().toStdString();
        }
        Expect_Fits_Without_Overlap(a);
    }
}

TEST_F(Monitor_Pages, Read_On_Connection_Is_Noted_Then_Enables_The_ECU_Controls)
{
    ASSERT_FALSE(Find<QPushButton>("Button_WorkMode")->isEnabled());
    context->ComPort->Set_Port(Line_Name);
    context->ComPort->Port_Open();
    ASSERT_TRUE(clock.Advance_Until(
        [this]() { return context->Monitor->Messages.Contains(Text("Error_Receiv_Data_On")); }, 10000))
        << "the read is noted while it runs";
    EXPECT_FALSE(Find<QPushButton>("Button_WorkMode")->isEnabled());
    ASSERT_TRUE(clock.Advance_Until(
        [this]() { return !context->Monitor->Messages.Contains(Text("Error_Receiv_Data_On")); }, 10000));
    EXPECT_TRUE(Find<QPushButton>("Button_WorkMode")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>("Button_ERR_Clear")->isEnabled());
    EXPECT_EQ(Find<QLabel>("Panel_ErrorStatus")->text(), Text("Error_Receiv_Data_Off"));
}

TEST_F(Monitor_Pages, Configuration_Page_Shows_The_Switch_Panel_Lamps_And_The_Level)
{
    ASSERT_TRUE(Connect());
    Find<QTabWidget>("PageControl_QuorelGAS")->setCurrentIndex(1);
    Find<QPushButton>("Button_WorkMode")->click();   // Automat -> Gas
    auto* mode = Find<QLabel>("Panel_WorkMode");
    ASSERT_TRUE(Advance_Until([&]() { return mode->text() == "Gas"; }, 5000));
    clock.Advance(1000);
    // on gas with a resistive level sensor the green lamps show the tank
    // level against the five thresholds; red and yellow stay dark
    const Configuration_Class& config = context->Config_Data;
    ASSERT_FALSE(config.Level_Invert);
    const int thresholds[5] = {config.Level1, config.Level2, config.Level3, config.Level4, config.Level5};
    const int level = context->Live_Data.Level;
    for (int k = 0; k < 7; ++k) {
        auto* lamp = Find<Led_Widget>(Led_Names[size_t(k)]);
        ASSERT_NE(lamp, nullptr) << Led_Names[size_t(k)];
        const bool green = k >= 1 && k <= 5;
        EXPECT_EQ(lamp->Lit(), green && level >= thresholds[k - 1]) << Led_Names[size_t(k)] << " level " << level;
    }
    auto* level0 = Find<QLineEdit>("Edit_CFG_Level0");
    ASSERT_NE(level0, nullptr);
    EXPECT_FALSE(level0->text().isEmpty());
    EXPECT_EQ(level0->accessibleName(), level0->text());
    EXPECT_EQ(Find<QLineEdit>("Edit_CFG_Level_Current")->text(), QString::number(level));
    EXPECT_NE(Find<QLabel>("Image_CFG_Level_Sensor_Current"), nullptr);
    // the pressure sensor's live output and today's date follow on the same page
    auto* press_volt = Find<QLineEdit>("Edit_CFG_Press_Volt");
    ASSERT_GT(context->Live_Data.Press_Volt, 0);
    EXPECT_EQ(press_volt->text(), QLocale::system().toString(context->Live_Data.Press_Volt / 100.0, 'f', 2));
    EXPECT_EQ(press_volt->accessibleName(), press_volt->text());
    EXPECT_TRUE(Find<QLabel>("Label_CFG_Car_Date_Current")
                    ->text()
                    .endsWith(" : " + QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)));
}

TEST_F(Monitor_Pages, Designed_Size_Captions_Fit_And_Nothing_Overlaps)
{
    window->showNormal();
    QApplication::processEvents();
    ASSERT_EQ(window->Scale_Factor(), TForm_QuorelGAS::Scale_One);
    ASSERT_EQ(Find<QWidget>("PageControl_QuorelGAS")->size(), QSize(776, 452));
    for (int page : {0, 5}) {
        SCOPED_TRACE(page);
        Find<QTabWidget>("PageControl_QuorelGAS")->setCurrentIndex(page);
        QApplication::processEvents();
        QWidget* form = Placed_Children(Page(page)).front();
        EXPECT_LE(form->width(), Page(page)->width());
        EXPECT_LE(form->height(), Page(page)->height());
        Expect_Fits_Without_Overlap(form);
    }
    // Widest texts the panels will ever show.
    auto* result = Find<QLabel>("Label_GEN_Pump_OK");
    for (const QString& text : {Text("Test"), QStringLiteral("OK")}) {
        EXPECT_LE(result->fontMetrics().horizontalAdvance(text), result->width()) << text.toStdString();
        EXPECT_LE(result->fontMetrics().height(), result->height());
    }
    auto* pump = Find<QLabel>("Label_GEN_Pump_Press");
    pump->setText("Pump pressure\n16.19 bar");
    EXPECT_LE(pump->fontMetrics().horizontalAdvance("Pump pressure"), pump->width());
    const std::pair<const char*, const char*> widest[] = {{"Panel_GEN_RPM", "15000"},
                                                          {"Panel_GEN_Power", "8000.00"},
                                                          {"Panel_GEN_PressInject", "8000.00"},
                                                          {"Panel_GEN_TempAUX1", "8000.00"},
                                                          {"Panel_GEN_Lambda", "8000.00"}};
    for (const auto& [name, text] : widest) {
        auto* panel = Find<QLabel>(name);
        EXPECT_LE(panel->fontMetrics().horizontalAdvance(QLatin1String(text)), panel->width() - 4) << name;
        EXPECT_LE(panel->fontMetrics().height(), panel->height() - 2) << name;
    }
    // Each value and its caption share their colour; captions name the unit.
    const std::tuple<const char*, const char*, QColor> colours[] = {
        {"Label_GEN_RPM", "Panel_GEN_RPM", QColor(0, 0, 255)},
        {"Label_GEN_Power", "Panel_GEN_Power", QColor(0, 0, 128)},
        {"Label_GEN_PressInject", "Panel_GEN_PressInject", QColor(0, 128, 128)},
        {"Label_GEN_TempAUX1", "Panel_GEN_TempAUX1", QColor(128, 0, 0)},
        {"Label_GEN_Lambda", "Panel_GEN_Lambda", QColor(128, 0, 128)},
        {"Label_GEN_PETROL", "Label_GEN_PETROL", QColor(128, 128, 0)},
        {"Label_GEN_GAS", "Label_GEN_GAS", QColor(0, 128, 0)},
    };
    for (const auto& [caption, value, colour] : colours) {
        EXPECT_EQ(Find<QLabel>(caption)->palette().color(QPalette::WindowText), colour) << caption;
        EXPECT_EQ(Find<QLabel>(value)->palette().color(QPalette::WindowText), colour) << value;
    }
    EXPECT_EQ(Find<QLabel>("Label_GEN_RPM")->text(), "R.P.M.,  r.p.m.");
    EXPECT_EQ(Find<QLabel>("Label_GEN_PressInject")->text(), "Injection,  bar");
}

TEST_F(Monitor_Pages, Clock_Value_Frame_Is_Whole_And_Clear_Of_Its_Unit)
{
    window->showNormal();
    Find<QTabWidget>("PageControl_QuorelGAS")->setCurrentIndex(5);
    QApplication::processEvents();
    auto* mhz = Find<QLabel>("Label_ERR_CPU_Freq_MHz");
    auto* unit = Find<QLabel>("Label_ERR_CPU_Freq_Dim");
    EXPECT_LT(mhz->geometry().right() + 4, unit->geometry().left());
    const QImage picture = mhz->grab().toImage();
    const int mid = picture.height() / 2;
    const int inside = qGray(picture.pixel(picture.width() / 2 - 8, mid));
    // Every edge stands out from the face it encloses.
    for (const QPoint edge : {QPoint(0, mid), QPoint(picture.width() - 1, mid), QPoint(picture.width() / 2 - 8, 0),
                              QPoint(picture.width() / 2 - 8, picture.height() - 1)})
        EXPECT_GE(qAbs(qGray(picture.pixel(edge)) - inside), 30) << edge.x() << "," << edge.y();
}

TEST_F(Monitor_Pages, Injector_Rows_Fit_For_Every_Injector_Count)
{
    General_Tab_Form* general = window->General_Form();
    for (int n : {2, 3, 4, 5, 6, 8}) {
        context->Config_Data.Inject_Num = n;
        context->Config_Changed();
        ASSERT_EQ(general->Row_Count(), n);
        for (int i = 0; i < n; ++i) {
            general->Petrol_Number(i)->Set_Text("25.00");
            EXPECT_TRUE(general->Petrol_Number(i)->Text_Fits()) << n;
            if (i > 0) {
                EXPECT_GT(general->Petrol_Number(i)->geometry().top(), general->Petrol_Number(i - 1)->geometry().bottom())
                    << n;
            }
            EXPECT_FALSE(general->Gas_Bar(i)->geometry().intersects(general->Gas_Number(i)->geometry()));
        }
        EXPECT_LE(general->Gas_Number(n - 1)->geometry().bottom(), Find<QWidget>("Panel_GEN_Gas_Injectors")->height());
    }
}

TEST_F(Monitor_Pages, Live_Values_Reach_The_General_And_Errors_Pages)
{
    ASSERT_TRUE(Connect());
    auto* rpm = Find<QLabel>("Panel_GEN_RPM");
    EXPECT_EQ(rpm->text(), QString::number(context->Live_Data.RPM));
    EXPECT_EQ(rpm->accessibleName(), rpm->text());
    General_Tab_Form* general = window->General_Form();
    ASSERT_EQ(general->Row_Count(), 4);
    EXPECT_NE(general->Petrol_Number(0)->Text(), "0.00");
    EXPECT_EQ(general->Petrol_Bar(0)->Value(), context->Live_Data.Petrol_Time[0]);
    EXPECT_EQ(general->Petrol_Bar(0)->accessibleName(), general->Petrol_Number(0)->Text());
    EXPECT_EQ(Find<QLabel>("Label_ERR_CPU_Freq_MHz")->text(), "64");
    EXPECT_EQ(Find<QPlainTextEdit>("Memo_ERR_Current")->toPlainText(), "OK");
    // Connected: the gas buttons of the four injectors can be forced.
    EXPECT_TRUE(Find<QPushButton>("Button_Gas_Fors4")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("Button_Gas_Fors5")->isEnabled());
}

TEST_F(Monitor_Pages, Mono_Injection_Read_From_The_ECU_Locks_The_Gas_Buttons)
{
    Sim_Ecu_Store store = ecu->Store();
    store.Parameters[quint8('A')] = 0x0505;   // lambda on, mono injection
    ecu->Set_Store(store);
    context->ComPort->Set_Port(Line_Name);
    context->ComPort->Port_Open();
    ASSERT_TRUE(clock.Advance_Until([this]() { return context->Config_Data.MonoInject; }, 20000));
    ASSERT_TRUE(clock.Advance_Until([this]() { return context->Live_Data.RPM > 0; }, 5000));
    for (const char* name : {"Button_Gas_Fors1", "Button_Gas_Fors2", "Button_Gas_Fors_All"})
        EXPECT_FALSE(Find<QPushButton>(name)->isEnabled()) << name;
}

TEST_F(Monitor_Pages, An_ECU_Error_Is_Listed_And_Cleared_By_The_Service_Command)
{
    ASSERT_TRUE(Connect());
    auto* memo = Find<QPlainTextEdit>("Memo_ERR_Current");
    ASSERT_TRUE(Advance_Until([&]() { return memo->toPlainText() == "Short circuit"; }, 30000));
    EXPECT_EQ(memo->accessibleName(), "Current: Short circuit");

    const size_t from = port->Writes().size();
    Find<QPushButton>("Button_ERR_Clear")->click();
    ASSERT_TRUE(Advance_Until([&]() { return memo->toPlainText() == "OK"; }, 5000));
    bool sent = false;
    for (size_t i = from; i < port->Writes().size(); ++i) {
        const QByteArray& bytes = port->Writes()[i].bytes;
        if (bytes.size() >= 5 && quint8(bytes[0]) == 0x1D && quint8(bytes[1]) == 0x24) {
            EXPECT_EQ(quint8(bytes[2]), 0x00);
            EXPECT_EQ(quint8(bytes[3]), 0x04);
            sent = true;
        }
    }
    EXPECT_TRUE(sent);
    EXPECT_EQ(context->Sequence->Error_Clear_Bits, 0);
    // The history still tells what the ECU had reported.
    auto* history = Find<QPlainTextEdit>("Memo_ERR_History");
    EXPECT_EQ(history->toPlainText(), "Short circuit");
    EXPECT_EQ(history->accessibleName(), "History: Short circuit");
    EXPECT_TRUE(history->isReadOnly());
}

TEST_F(Monitor_Pages, A_Click_Into_The_Error_List_Focuses_The_Page)
{
    window->show();
    Find<QTabWidget>("PageControl_QuorelGAS")->setCurrentIndex(5);
    QApplication::processEvents();
    auto* memo = Find<QPlainTextEdit>("Memo_ERR_Current");
    const QPointF at(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, memo->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(memo->viewport(), &press);
    EXPECT_FALSE(memo->hasFocus());
    EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>("Errors_Tab_Form")->parentWidget());
    EXPECT_TRUE(memo->isReadOnly());
}

TEST_F(Monitor_Pages, Petrol_Bars_Scale_To_The_Calibration_Map)
{
    for (size_t k = 0; k < context->Calibration.Petrol_Time.size(); ++k)
        context->Calibration.Petrol_Time[k] = int(1500 * (k + 1));   // largest 13500

    window->General_Form()->Update_General_Page();
    EXPECT_EQ(window->General_Form()->Petrol_Bar(0)->Maximum(), 13500);
    EXPECT_EQ(window->General_Form()->Gas_Bar(0)->Maximum(), 32000);
}

TEST_F(Monitor_Pages, Clock_Change_Shows_Progress_Then_The_New_Clock)
{
    ASSERT_TRUE(Connect());
    auto* panel = Find<QLabel>("Panel_ErrorStatus");
    auto* mhz = Find<QLabel>("Label_ERR_CPU_Freq_MHz");
    ASSERT_EQ(mhz->text(), "64");
    Find<QPushButton>("Button_ERR_Change_Freq")->click();
    EXPECT_EQ(panel->text(), "Data transmission");
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0, 255, 255));
    ASSERT_TRUE(Advance_Until([&]() { return mhz->text() == "8"; }, 5000));
    EXPECT_EQ(mhz->accessibleName(), "8");
    // The ECU reports its data saved: the progress message gives way.
    ASSERT_TRUE(Advance_Until([&]() { return panel->text() == "Data saved in ECU"; }, 2000));
    EXPECT_FALSE(context->Monitor->Messages.Contains("Data transmission"));
    EXPECT_TRUE(context->Sequence->Data_Saved_209 || context->Sequence->Data_Saved_211);
}

TEST_F(Monitor_Pages, Pump_Test_Runs_And_Reports_Its_Result)
{
    ASSERT_TRUE(Connect());
    Find<QPushButton>("Button_GEN_Pump_Run")->click();
    auto* ok = Find<QLabel>("Label_GEN_Pump_OK");
    ASSERT_TRUE(Advance_Until([&]() { return ok->text() == "Test"; }, 10000));
    EXPECT_TRUE(Find<QPushButton>("Button_GEN_Pump_Run")->isHidden());
    EXPECT_FALSE(Find<QWidget>("Gauge_GEN_Pump_Status")->isHidden());
    EXPECT_FALSE(Find<QPushButton>("Button_Gas_Fors1")->isEnabled());
    EXPECT_EQ(ecu->Work_Mode(), 1);   // the test runs on petrol
    ASSERT_TRUE(Advance_Until([&]() { return ok->text() == "OK"; }, 10000));
    auto* panel = Find<QLabel>("Panel_GEN_Pump_Status");
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(panel->accessibleName(), "Pump status: OK");
    auto* run = Find<QPushButton>("Button_GEN_Pump_Run");
    EXPECT_FALSE(run->isHidden());
    // The panel's white text does not reach the button on it.
    EXPECT_EQ(Find<QLabel>("Label_GEN_Pump_OK")->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(run->palette().color(QPalette::ButtonText), QApplication::palette(run).color(QPalette::ButtonText));
    EXPECT_EQ(run->palette().color(QPalette::Button), QApplication::palette(run).color(QPalette::Button));
    EXPECT_TRUE(Find<QPushButton>("Button_WorkMode")->isEnabled());
}

TEST_F(Monitor_Pages, An_Ecu_Already_In_Automat_Shows_Its_Mode)
{
    ASSERT_EQ(context->Live_Data.Work_Mode, 0) << "the start decode reads the empty buffer";
    ASSERT_TRUE(Connect());
    ASSERT_EQ(context->Live_Data.Work_Mode, 2);
    auto* mode = Find<QLabel>("Panel_WorkMode");
    EXPECT_EQ(mode->text(), "Automat");
    EXPECT_EQ(mode->palette().color(QPalette::Window), QColor(0, 255, 255));
    EXPECT_TRUE(context->Timer_Led_Automat.Enabled());
    EXPECT_TRUE(context->Monitor->Board.Led_On(Dashboard::Yellow));
}

TEST_F(Monitor_Pages, Every_Shown_Control_Names_What_It_Shows)
{
    ASSERT_TRUE(Connect());
    clock.Advance(3000);
    auto* pages = Find<QTabWidget>("PageControl_QuorelGAS");
    auto* options = Find<QListWidget>("ListBox_CFG_Options");
    ASSERT_NE(options, nullptr);
    const auto check = [&](const std::string& where) {
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            // The injector rows' number boxes have no names of their own.
            if (!widget->isVisibleTo(window.get()) || widget->objectName().startsWith("qt_")
                || (widget->objectName().isEmpty() && !qobject_cast<Value_Box_Widget*>(widget)))
                continue;
            QString shown;
            bool has = true;
            if (auto* label = qobject_cast<QLabel*>(widget))
                shown = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                shown = QString(button->text()).remove(QRegularExpression("&(?!&)"));
            else if (auto* edit = qobject_cast<QLineEdit*>(widget))
                shown = edit->text();
            else if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
                shown = spin->text();
            else if (auto* combo = qobject_cast<QComboBox*>(widget))
                shown = combo->currentText();
            else if (auto* box = qobject_cast<Value_Box_Widget*>(widget))
                shown = box->Text();
            else
                has = false;
            // A check box without a caption of its own, and the "..." button
            // beside a value, are named by the label of their row.
            if (!has || shown.isEmpty() || shown.contains('<') || shown == "...")
                continue;
            EXPECT_EQ(widget->accessibleName(), shown) << where << ": " << widget->objectName().toStdString();
        }
    };
    pages->setCurrentIndex(0);
    clock.Advance(500);
    check("General");
    pages->setCurrentIndex(5);
    clock.Advance(500);
    check("Errors");
    pages->setCurrentIndex(1);
    for (int row = 0; row < options->count(); ++row) {
                window->findChild<Configuration_Tab_Form*>()->Select_Option(row);
        clock.Advance(300);
        check("Configuration row " + std::to_string(row + 1));
    }
}

TEST_F(Monitor_Pages, Work_Mode_Button_And_Gas_Hot_Keys_Drive_The_ECU)
{
    ASSERT_TRUE(Connect());
    auto* mode = Find<QLabel>("Panel_WorkMode");
    Find<QPushButton>("Button_WorkMode")->click();   // Automat -> Gas
    ASSERT_TRUE(Advance_Until([&]() { return mode->text() == "Gas"; }, 5000));
    EXPECT_EQ(mode->accessibleName(), "Gas");
    EXPECT_EQ(mode->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_TRUE(Find<QPushButton>("Button_Gas_Fors_All")->isChecked());

    Find<QPushButton>("Button_Gas_Fors_All")->click();   // all up: forcing off
    ASSERT_TRUE(Advance_Until([&]() { return mode->text() == "Petrol"; }, 5000));
    for (int i = 1; i <= 8; ++i)
        EXPECT_FALSE(Find<QPushButton>(QString("Button_Gas_Fors%1").arg(i).toLatin1().constData())->isChecked());

    Find<QPushButton>("Button_Gas_Fors2")->click();
    ASSERT_TRUE(Advance_Until([&]() { return mode->text() == "Gas"; }, 5000));
    EXPECT_EQ(ecu->Work_Mode_Bytes(), QByteArray("\x02\x04", 2));
    EXPECT_TRUE(Find<QPushButton>("Button_Gas_Fors2")->isChecked());
    EXPECT_FALSE(Find<QPushButton>("Button_Gas_Fors1")->isChecked());
}

TEST_F(Monitor_Pages, Status_Panel_Rotates_With_Its_Colours)
{
    QuorelMSG_Class& messages = context->Monitor->Messages;
    auto* panel = Find<QLabel>("Panel_ErrorStatus");
    messages.Post_Message("Engine off", QColor(255, 0, 0));
    messages.Flash_Message("Gas pump off", QColor(0, 255, 255));
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->accessibleName(), "Gas pump off");
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0, 255, 255));
    clock.Advance(2000);
    EXPECT_EQ(panel->text(), "Engine off");
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(255, 0, 0));
    messages.Drop_Message("Engine off");
    EXPECT_TRUE(panel->isHidden());
}

TEST_F(Monitor_Pages, Bars_And_Chart_Repaint_Only_What_Changed)
{
    Bar_Gauge_Widget bar(QColor(0, 128, 0), Qt::white, 32000);
    bar.resize(202, 20);
    bar.Set_Value(16000);
    EXPECT_EQ(bar.Last_Update(), QRect(1, 1, 100, 18));
    bar.Set_Value(8000);
    EXPECT_EQ(bar.Last_Update(), QRect(51, 1, 50, 18));

    Lambda_Chart chart;
    chart.Reset(300, 104, 5);
    Strip_Chart_Widget widget(chart);
    widget.resize(300, 104);
    chart.Sample(50);
    widget.Chart_Changed("0.50");
    chart.Sample(60);
    widget.Chart_Changed("0.60");
    EXPECT_LE(widget.Last_Update().width(), 12);
    EXPECT_EQ(widget.accessibleName(), "0.60");
    EXPECT_EQ(widget.Picture().pixelColor(chart.X(2), chart.Entry(2)), Strip_Chart_Widget::Line_Colour);
    for (int i = 0; i < 200; ++i)
        chart.Sample(i % 90);
    widget.Chart_Changed("0.19");
    EXPECT_EQ(widget.Last_Update(), widget.rect());   // scrolled: the whole picture

    // A rescaled window stretches the picture; a new segment still repaints
    // only its own part, in widget coordinates.
    Lambda_Chart filling;
    filling.Reset(300, 104, 5);
    Strip_Chart_Widget stretched(filling);
    stretched.resize(600, 208);
    filling.Sample(50);
    stretched.Chart_Changed("0.50");
    filling.Sample(60);
    stretched.Chart_Changed("0.60");
    const QRect part = stretched.Last_Update();
    EXPECT_LE(part.width(), 26);
    EXPECT_GE(part.left(), 2 * filling.X(1) - 6);
    EXPECT_TRUE(stretched.grab().toImage().pixelColor(599, 100) != QColor(Qt::black));
}

TEST_F(Monitor_Pages, Lambda_Chart_Follows_The_Decoded_Lambda)
{
    context->Config_Data.Lambda_ON = true;
    context->Config_Changed();
    ASSERT_TRUE(Connect());
    Strip_Chart_Widget* chart = window->General_Form()->Chart();
    const QString name = chart->accessibleName();
    EXPECT_EQ(name, Find<QLabel>("Panel_GEN_Lambda")->text());
    EXPECT_GT(context->Monitor->Board.Chart(0).Index(), 0);
}

TEST_F(Monitor_Pages, Mimic_Lamps_Repaint_Only_When_Their_Colour_Changes)
{
    // The Configuration page places the mimic; here it goes onto the page by hand.
    const std::array<Led_Widget*, 7> leds = Build_Led_Mimic(Page(1), QPoint(10, 10), 20);
    Dashboard& board = context->Monitor->Board;
    context->Live_Data.Work_Mode = 4;
    board.Show_Work_Mode(4);
    EXPECT_EQ(leds[1]->Colour(), QColor(0, 255, 0));
    EXPECT_EQ(leds[6]->Colour(), QColor(192, 192, 192));
    EXPECT_EQ(leds[1]->accessibleName(), "Green 1 On");
    EXPECT_EQ(leds[6]->accessibleName(), "Yellow Off");
    const int green_repaints = leds[1]->Repaints_Asked();
    const int red_repaints = leds[0]->Repaints_Asked();
    board.Show_Work_Mode(4);
    EXPECT_EQ(leds[1]->Repaints_Asked(), green_repaints);
    context->Live_Data.Work_Mode = 1;
    board.Show_Work_Mode(1);
    EXPECT_EQ(leds[6]->Colour(), QColor(255, 255, 0));
    EXPECT_EQ(leds[1]->Repaints_Asked(), green_repaints + 1);
    EXPECT_EQ(leds[0]->Repaints_Asked(), red_repaints);   // red stays off: no repaint
}

TEST_F(Monitor_Pages, Injector_Rows_Follow_A_Rescaled_Panel)
{
    window->showNormal();
    QApplication::processEvents();
    General_Tab_Form* general = window->General_Form();
    auto* panel = Find<QWidget>("Panel_GEN_Petrol_Injectors");
    ASSERT_FALSE(window->isMaximized());
    EXPECT_EQ(general->Petrol_Number(0)->Pixel_Size(), 28);   // four injectors
    const int designed_height = general->Petrol_Number(0)->height();
    panel->resize(panel->width() * 2, panel->height() * 2);
    EXPECT_GT(general->Petrol_Number(0)->height(), designed_height * 2 - 8);
    EXPECT_EQ(general->Petrol_Number(0)->Pixel_Size(), 28);   // the size changes only when maximised
    EXPECT_EQ(general->Petrol_Bar(3)->geometry().right(), panel->width() - 9);

    // Without a window manager the window fills the screen itself and is
    // maximised for the rows too, though its window state is normal.
    ASSERT_TRUE(general->Window_Maximised) << "the main window tells the rows";
    const auto own = general->Window_Maximised;
    general->Window_Maximised = []() { return true; };
    panel->resize(panel->width() + 1, panel->height());
    EXPECT_EQ(general->Petrol_Number(0)->Pixel_Size(), 28 * 2 * window->centralWidget()->height() / 853);
    general->Window_Maximised = own;

    // Maximised, the size follows the client height: 28 x 2 x height div 853.
    window->showMaximized();
    QApplication::processEvents();
    if (!window->isMaximized())
        GTEST_SKIP() << "the platform does not maximise";
    const int client_height = window->centralWidget()->height();
    panel->resize(panel->width() + 1, panel->height());
    QApplication::processEvents();
    EXPECT_EQ(general->Petrol_Number(0)->Pixel_Size(), 28 * 2 * client_height / 853);
}

TEST(Monitor_Pages_Language, Shown_States_Follow_A_Language_Change)
{
    Reset_Language_State();
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("Language"));
    QFile file(dir.filePath("Language/Deutsch.lng"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Deutsch\r\nGas Gasbetrieb\r\nMemo_ERR_OK Keine Fehler\r\nLabel_ERR_Current Aktuell\r\n"
               "Dim_Sec_Long s\r\n");
    file.close();
    Virtual_Clock clock;
    auto port = std::make_unique<Virtual_Serial_Port>(clock);
    Quorel_Context context(clock, std::move(port), dir.path(), "QuorelGAS");
    auto window = std::make_unique<TForm_QuorelGAS>(context);
    context.Live_Data.Work_Mode = 4;
    context.Monitor->Board.Show_Work_Mode(4);
    context.Monitor->Board.Show_Info(2, 12);
    auto* combo = window->findChild<QComboBox*>("ComboBox_Language");
    ASSERT_NE(combo, nullptr);
    ASSERT_GE(combo->findText("Deutsch"), 0);
    combo->setCurrentIndex(combo->findText("Deutsch"));
    EXPECT_EQ(window->findChild<QLabel*>("Panel_WorkMode")->text(), "Gasbetrieb");
    EXPECT_EQ(window->findChild<QLabel*>("Label_GEN_Info")->text(), "12 s");
    auto* memo = window->findChild<QPlainTextEdit*>("Memo_ERR_Current");
    EXPECT_EQ(memo->toPlainText(), "Keine Fehler");
    EXPECT_EQ(memo->accessibleName(), "Aktuell: Keine Fehler");
    window.reset();
    Reset_Language_State();
}

}   // namespace
