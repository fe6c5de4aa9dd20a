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

QString Caption_Text(const QString& key, const QString& fallback, bool frame)
{
    Language_State& state = Language();
    const QString text = frame ? state.Menu_Text(key) : state.Text(key);
    return text.isEmpty() ? fallback : text;
}

void Set_Caption(QObject* control, const QString& caption)
{
    if (!control)
        return;
    control->setProperty(Has_Property(control, "title") ? "title" : "text", caption);
    QString shown = caption;
    shown.remove(QLatin1Char('&'));
    control->setProperty("accessibleName", shown);
}

void Set_Window_Title(QObject* window, const QString& title)
{
    if (!window)
        return;
    window->setProperty("windowTitle", title);
    window->setProperty("accessibleName", title);
}

QString Hint_Text(const QString& key, const QString& prefix, bool frame)
{
    Language_State& state = Language();
    if (!state.Show_Hint)
        return QString();
    const QString text = frame ? state.Menu_Text(key) : state.Text(key);
    if (text.isEmpty())
        return QString();
    return state.Wrap_Hint(prefix + text);
}

void Set_Hint(QObject* control, const QString& key, const QString& prefix, bool frame)
{
    if (control)
        control->setProperty("toolTip", Hint_Text(key, prefix, frame));
}

void Set_Show_Hint(bool on)
{
    Language_State& state = Language();
    state.Show_Hint = on;
    // Hints are frame texts: re-applying the frame shows or clears them.
    state.Set_English_Menu(state.English_Menu);
}

Texts_Listener::Texts_Listener(std::function<void()> apply)
    : id_(Language().Add_Listener([apply = std::move(apply)](bool) {
          if (apply)
              apply();
      }))
{
}

Texts_Listener::~Texts_Listener() { Language().Remove_Listener(id_); }
