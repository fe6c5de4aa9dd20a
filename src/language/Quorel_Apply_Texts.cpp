#include "language/Quorel_Apply_Texts.h"

#include "language/Quorel_Language_State.h"

#include <QMetaProperty>
#include <QObject>

namespace {

bool Has_Property(const QObject* object, const char* name)
{
    const int index = object->metaObject()->indexOfProperty(name);
    return index >= 0 && object->metaObject()->property(index).isWritable();
}

bool Apply_One(QObject* object, const Apply_Texts_Options& options, Language_State& state)
{
    const QString name = object->objectName();
    if (name.isEmpty())
        return false;
    bool changed = false;

    const bool is_form = name.startsWith(QLatin1String("Form_"));
    const bool menu = is_form ? options.Frame_In_Menu_Text : options.Captions_In_Menu_Text;
    const QString caption = menu ? state.Menu_Text(name) : state.Text(name);
    if (!caption.isEmpty()) {
        const char* property = is_form && Has_Property(object, "windowTitle") ? "windowTitle"
                             : Has_Property(object, "title")                  ? "title"
                             : Has_Property(object, "text")                   ? "text"
                                                                              : nullptr;
        if (property) {
            object->setProperty(property, caption);
            changed = true;
        }
    }

    if (options.Hints && Has_Property(object, "toolTip")) {
        const QString key = name + QStringLiteral("_Hint");
        const QString hint = options.Frame_In_Menu_Text ? state.Menu_Text(key) : state.Text(key);
        if (!hint.isEmpty()) {
            object->setProperty("toolTip", state.Show_Hint ? state.Wrap_Hint(hint) : QString());
            changed = true;
        }
    }
    return changed;
}

} // namespace

int Apply_Object_Texts(QObject* root, const Apply_Texts_Options& options)
{
    if (!root)
        return 0;
    Language_State& state = Language();
    int count = Apply_One(root, options, state) ? 1 : 0;
    for (QObject* child : root->findChildren<QObject*>())
        count += Apply_One(child, options, state) ? 1 : 0;
    return count;
}
