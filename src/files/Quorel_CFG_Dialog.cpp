#include "files/Quorel_CFG_Dialog.h"

#include "files/Quorel_CFG_Current.h"
#include "language/Quorel_Text.h"
#include "settings/Quorel_Settings.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

const char* const Filter = "configuration files (*.cfg)";

std::optional<QString> Choose_With_File_Dialog(QWidget* parent, const QString& folder, const QString& proposal,
                                               bool save)
{
    QFileDialog dialog(parent, QString(), folder, QString::fromLatin1(Filter));
    dialog.setObjectName(save ? QStringLiteral("CFG_Save_Dialog") : QStringLiteral("CFG_Load_Dialog"));
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setDefaultSuffix(QStringLiteral("cfg"));
    if (!proposal.isEmpty())
        dialog.selectFile(proposal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

bool Ask_With_Warning_Box(QWidget* parent, const QString& question)
{
    return QMessageBox::warning(parent, QString(), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

QString Overwrite_Question(const QString& path)
{
    return Overwrite_Question_Text(path, Text(QStringLiteral("Error_OverWrite")));
}

}   // namespace

CFG_Dialog_Shell Default_CFG_Dialog_Shell() { return {Choose_With_File_Dialog, Ask_With_Warning_Box}; }

std::optional<Load_Choice> Run_CFG_Load_Dialog(QWidget* parent, Settings_Class& settings, const CFG_Dialog_Shell& shell)
{
    // The History folder is an ordinary folder here (no hidden attribute),
    // so there is nothing to make visible before the dialog opens.
    const QString proposal = Load_Dialog_Proposal(settings.CFG_File_Path, settings.CFG_File_Name);
    const std::optional<QString> path = shell.Choose_File(parent, settings.CFG_File_Path, proposal, false);
    if (!path)
        return std::nullopt;
    const Load_Choice choice = Decide_Load_Choice(settings.CFG_File_Path, settings.CFG_File_Name, *path);
    Store_Current_CFG(settings, choice.CFG_File_Path, choice.CFG_File_Name);
    return choice;
}

std::optional<QString> Run_CFG_Save_Dialog(QWidget* parent, Settings_Class& settings, const CFG_Dialog_Shell& shell)
{
    for (;;) {
        const std::optional<QString> path =
            shell.Choose_File(parent, settings.CFG_File_Path, settings.CFG_File_Name, true);
        if (!path)
            return std::nullopt;
        const Path_Parts chosen = Split_Path(*path);
        const QString stored = Save_Name_For_Choice(chosen.Name);
        if (Save_Needs_Overwrite_Question(chosen.Folder, chosen.Name, stored) &&
            !shell.Ask(parent, Overwrite_Question(chosen.Folder + QLatin1Char('/') + stored)))
            continue;
        Store_Current_CFG(settings, chosen.Folder, stored);
        return stored;
    }
}

bool Confirm_CFG_Overwrite(QWidget* parent, Settings_Class& settings, bool car_num_edited,
                           const CFG_Dialog_Shell& shell)
{
    if (Overwrite_Question_Needed(car_num_edited, settings.CFG_File_Path, settings.CFG_File_Name) &&
        !shell.Ask(parent, Overwrite_Question(Current_CFG_Path(settings))))
        return Run_CFG_Save_Dialog(parent, settings, shell).has_value();
    Store_Current_CFG(settings, settings.CFG_File_Path, settings.CFG_File_Name);
    return true;
}
