#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QWidget;
class Texts_Listener;

// The thirteen dialogs of the main program, created hidden right after the
// main window, in their creation order, and shown on demand. Each dialog's
// own module fills its shell.
class Dialog_Shells
{
public:
    static constexpr std::array<const char*, 13> Names = {
        "TForm_DTB",  "TForm_Loader", "TForm_RPM", "TForm_QG_Drive", "TForm_RPM_Scaler",
        "TForm_Inject_Detect", "TForm_Port", "TForm_PSW", "TForm_ICO", "TForm_MSG",
        "TForm_SBS", "TForm_TMP", "TForm_Font"};

    // Builds the real dialog of a name, or nullptr for a plain shell.
    using Dialog_Maker = std::function<QDialog*(const char* name, QWidget* owner)>;

    // The dialogs are children of owner and live as long as it does.
    explicit Dialog_Shells(QWidget* owner, const Dialog_Maker& make = {});
    ~Dialog_Shells();

    // Window titles from the "Form_..." keys, through Menu_Text; runs at
    // creation and after each change of language or "English_Menu".
    void Apply_Texts();

    QDialog* Dialog(const char* name) const;
    const std::array<QDialog*, 13>& All() const { return dialogs_; }

private:
    std::array<QDialog*, 13> dialogs_{};
    std::unique_ptr<Texts_Listener> texts_listener_;
};
