#include "app/Quorel_Dialog_Shells_Form.h"

#include "language/Quorel_Apply_Texts.h"

#include <QPointer>

#include <cstring>

namespace {

// Title key of each shell, in the order of the names; none for a shell
// whose module sets its own title.
constexpr std::array<const char*, 13> Title_Keys = {
    "Form_DTB", "Form_Loader", "Form_RPM", "Form_Drive", "Form_RPM_Scaler", "Form_Inject_Detect", nullptr,
    "Form_PSW", nullptr,       nullptr,    "Form_SBS",   "Form_TMP",        "Form_FONT"};

} // namespace

Dialog_Shells::Dialog_Shells(QWidget* owner, const Dialog_Maker& make)
{
    for (size_t i = 0; i < Names.size(); ++i) {
        QDialog* dialog = make ? make(Names[i], owner) : nullptr;
        if (!dialog)
            dialog = new QDialog(owner);
        dialog->setObjectName(QLatin1String(Names[i]));
        dialog->setAccessibleName(QLatin1String(Names[i]));
        dialog->hide();
        dialogs_[i] = dialog;
    }
    Apply_Texts();
    // The shells are children of the owner; they may go before this object.
    std::array<QPointer<QDialog>, 13> guarded;
    for (size_t i = 0; i < dialogs_.size(); ++i)
        guarded[i] = dialogs_[i];
    texts_listener_ = std::make_unique<Texts_Listener>([this, guarded]() {
        for (const QPointer<QDialog>& dialog : guarded)
            if (!dialog)
                return;
        Apply_Texts();
    });
}

Dialog_Shells::~Dialog_Shells() = default;

void Dialog_Shells::Apply_Texts()
{
    for (size_t i = 0; i < dialogs_.size(); ++i) {
        if (!Title_Keys[i])
            continue;
        const QString title = Caption_Text(QLatin1String(Title_Keys[i]), QString(), true);
        if (!title.isEmpty())
            Set_Window_Title(dialogs_[i], title);
    }
}

QDialog* Dialog_Shells::Dialog(const char* name) const
{
    for (size_t i = 0; i < Names.size(); ++i)
        if (std::strcmp(Names[i], name) == 0)
            return dialogs_[i];
    return nullptr;
}
