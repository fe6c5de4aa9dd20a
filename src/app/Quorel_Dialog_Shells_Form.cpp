#include "app/Quorel_Dialog_Shells_Form.h"

#include <cstring>

Dialog_Shells::Dialog_Shells(QWidget* owner)
{
    for (size_t i = 0; i < Names.size(); ++i) {
        auto* dialog = new QDialog(owner);
        dialog->setObjectName(QLatin1String(Names[i]));
        dialog->setAccessibleName(QLatin1String(Names[i]));
        dialog->hide();
        dialogs_[i] = dialog;
    }
}

QDialog* Dialog_Shells::Dialog(const char* name) const
{
    for (size_t i = 0; i < Names.size(); ++i)
        if (std::strcmp(Names[i], name) == 0)
            return dialogs_[i];
    return nullptr;
}
