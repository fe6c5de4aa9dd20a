#pragma once

#include "app/Quorel_Hot_Keys.h"
#include "files/Quorel_CFG_Dialog.h"

#include <optional>

#include <QEvent>
#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QUrl>

#include <functional>
#include <memory>

class Dialog_Shells;
class Errors_Tab_Form;
class General_Tab_Form;
class Configuration_Tab_Form;
class Scaled_Style;
class Texts_Listener;
class QKeyEvent;
class QLabel;
class QPushButton;
class QTabWidget;
class Quorel_Context;
class Settings_Tab_Form;

// The main window: page control with the eight tabs, the button row below
// it, the status panels and the logo. All content sits on Panel_QuorelGAS,
// placed by absolute geometry and scaled as a whole when the window size
// changes.
class TForm_QuorelGAS : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int Designed_Client_Width = 780;
    static constexpr int Designed_Client_Height = 520;
    static constexpr int Tab_Count = 8;
    static constexpr int Scale_One = 10000;

    explicit TForm_QuorelGAS(Quorel_Context& context, QWidget* parent = nullptr);
    ~TForm_QuorelGAS() override;

    Quorel_Context& Context() { return context_; }

    // The dialogs, created hidden after the main window.
    void Create_Dialogs();
    Dialog_Shells* Dialogs() const { return dialogs_.get(); }

    // Start-up after creation: branding, then the first serial action.
    void Start_Up();
    void Apply_Branding();
    void Serial_First_Action();

    void Enable_ECU_Controls(bool on);
    // Every caption, title and hint from the selected language; runs at
    // creation and after each change of language or "English_Menu".
    void Apply_Texts();
    // Panel_ErrorStatus: shown with text, hidden when text is empty.
    void Show_Error_Status(const QString& text);

    // FormDestroy's work; runs once (F10, window close or destruction).
    void Exit_Sequence();

    Settings_Tab_Form* Settings_Form() const { return settings_form_; }
    General_Tab_Form* General_Form() const { return general_form_; }
    Errors_Tab_Form* Errors_Form() const { return errors_form_; }
    // Current content scale, Scale_One = designed size.
    int Scale_Factor() const { return scale_; }

    // ECU model name of the configuration record (empty until identified).
    QString Program_Name;

    // The platform's "open" action and the open-file dialog; tests replace them.
    std::function<bool(const QUrl&)> Open_Url;
    std::function<QString(QWidget*, const QString& caption, const QString& folder, const QString& filter)>
        Open_File_Dialog;
    // The Load and Save dialogs of the configuration files; tests replace them.
    CFG_Dialog_Shell CFG_Dialogs = Default_CFG_Dialog_Shell();
    // Port_Setup_Dialog; tests replace it.
    std::function<std::optional<QString>(QWidget*, const QString&)> Port_Setup;

    // Entry points of the modules behind the hot keys and buttons.
    Hot_Key_Actions Hot_Keys;
    std::function<void()> On_HEX_Loader;
    std::function<void()> On_Step_by_Step;
    std::function<void()> On_WorkMode;
    std::function<void()> On_About_Help;
    // Runs at exit just before the settings file is written.
    std::function<void()> Before_Settings_Write;

    // Hot keys are handled before the focused control sees them.
    bool FormKeyDown(QKeyEvent* event);
    void FormKeyUp(QKeyEvent* event);

    void Button_About_DiagramClick();
    void Button_Setup_PortClick();
    void Toggle_Maximised();
    bool Is_Maximised() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Designed
    {
        QPointer<QWidget> widget;
        QRect geometry;
        qreal point_size = -1;
        int pixel_size = -1;
    };

    void FormCreate();
    void FormShow();
    void FormCanResize();
    void Timer_ResizeTimer();
    void PageControl_QuorelGASChange(int index);

    void Build_Content();
    void Build_Button_Row();
    void Build_Status_Panels();
    // The port search's and the connection supervision's hooks into this window.
    void Wire_Link();
    void Wire_Data_Keys();
    void Build_About_Tab(QWidget* page);
    void Build_Settings_Tab(QWidget* page);
    // The General and Errors tabs and the button row, driven by the live monitoring.
    void Build_Monitor_Tabs();
    void Show_Gas_Buttons();
    void Apply_Window_Position();
    void Apply_Form_Style(bool on_top);
    void Refresh_Caption();
    void Paint_Panels();
    void Open_Help();
    void Select_Tab(int index);
    bool Keys_Blocked() const;
    void Rescale(int factor);
    void Place_Logo();
    void Open_Document(const QString& path);
    QWidget* Control(const QString& name) const;

    Quorel_Context& context_;
    std::unique_ptr<Dialog_Shells> dialogs_;
    Settings_Tab_Form* settings_form_ = nullptr;
    General_Tab_Form* general_form_ = nullptr;
    Configuration_Tab_Form* config_form_ = nullptr;
    Errors_Tab_Form* errors_form_ = nullptr;
    std::unique_ptr<Texts_Listener> texts_listener_;

    QWidget* Panel_QuorelGAS = nullptr;
    QTabWidget* PageControl_QuorelGAS = nullptr;
    QLabel* Panel_PortStatus = nullptr;
    QLabel* Panel_ConnectStatus = nullptr;
    QLabel* Panel_ProtokolStatus = nullptr;
    QLabel* Panel_ConnectStatus_PerCent = nullptr;
    QLabel* Panel_ErrorStatus = nullptr;
    QLabel* Panel_WorkMode = nullptr;
    QLabel* Label_GEN_Info = nullptr;
    QLabel* Panel_LOGO = nullptr;
    QPushButton* Button_Gas_Fors[8] = {};
    QPushButton* Button_Gas_Fors_All = nullptr;
    QPushButton* Button_WorkMode = nullptr;
    QPushButton* Button_Step_by_Step = nullptr;
    QPushButton* Button_Select_ComPort = nullptr;
    QPushButton* Button_About_Diagram = nullptr;
    QPushButton* Button_HEX_Loader = nullptr;
    QPushButton* Button_About_Help = nullptr;

    bool created_ = false;
    bool window_shown_ = false;
    bool exit_done_ = false;
    QSize remembered_outer_;
    QRect normal_geometry_;
    // Maximised by filling the screen (no window manager to do it).
    bool screen_filled_ = false;
    static constexpr int Maximise_Check_Ms = 300;
    void Fill_Screen_If_Unmanaged();
    int resize_idle_checks_ = 0;
    int scale_ = Scale_One;
    Scaled_Style* scaled_style_ = nullptr;
    QHash<QWidget*, Designed> designed_;
    QImage logo_picture_;
    bool logo_keep_proportion_ = false;
    QSize logo_designed_size_;
    int logo_top_offset_ = 2;
    // The key event last seen, to act once while it travels up the parents.
    // Qt may build successive events at one address, so the type, key and
    // time tell them apart.
    const QEvent* last_key_event_ = nullptr;
    QEvent::Type last_key_type_ = QEvent::None;
    int last_key_code_ = 0;
    quint64 last_key_time_ = 0;
    QPointer<QWidget> last_key_receiver_;
};
