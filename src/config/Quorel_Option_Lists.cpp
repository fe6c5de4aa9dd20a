#include "config/Quorel_Option_Lists.h"

#include <QStringList>

namespace {

template <typename T>
const T* Entry_At(const T* first, int count, int position)
{
    return position >= 1 && position <= count ? first + (position - 1) : nullptr;
}

const char* Name_Of(const char* text) { return text; }
template <typename T>
const char* Name_Of(const T& entry)
{
    return entry.Name;
}

template <typename List>
const char* Name_At(const List& list, int position)
{
    if (position < 1 || position > int(list.size()))
        return nullptr;
    return Name_Of(list[std::size_t(position - 1)]);
}

const char* Text_At(Option_List list, int position)
{
    switch (list) {
    case Option_List::RPM_Divider: return Name_At(RPM_Divider_List, position);
    case Option_List::Inject_Type: return Name_At(Inject_Type_List, position);
    case Option_List::Pump_Type: return Name_At(Pump_Type_List, position);
    case Option_List::Level_Type: return Name_At(Level_Sensor_List, position);
    case Option_List::MAP_Sensor_Type: return Name_At(MAP_Sensor_List, position);
    case Option_List::Lambda_Type: return Name_At(Lambda_Type_List, position);
    }
    return nullptr;
}

}   // namespace

int Option_Count(Option_List list)
{
    switch (list) {
    case Option_List::RPM_Divider: return int(RPM_Divider_List.size());
    case Option_List::Inject_Type: return int(Inject_Type_List.size());
    case Option_List::Pump_Type: return int(Pump_Type_List.size());
    case Option_List::Level_Type: return int(Level_Sensor_List.size());
    case Option_List::MAP_Sensor_Type: return int(MAP_Sensor_List.size());
    case Option_List::Lambda_Type: return int(Lambda_Type_List.size());
    }
    return 0;
}

QString Option_Text(Option_List list, int position)
{
    const char* text = Text_At(list, position);
    return QString::fromUtf8(text ? text : Option_Error_Text);
}

int Option_Position(Option_List list, const QString& text)
{
    const int count = Option_Count(list);
    for (int position = 1; position <= count; ++position)
        if (text == QString::fromUtf8(Text_At(list, position)))
            return position;
    return 0;
}

QStringList Option_Texts(Option_List list)
{
    QStringList texts;
    const int count = Option_Count(list);
    for (int position = 1; position <= count; ++position)
        texts.append(QString::fromUtf8(Text_At(list, position)));
    return texts;
}

const Inject_Type_Box_Class* Inject_Type_Entry(int position)
{
    return Entry_At(Inject_Type_List.data(), int(Inject_Type_List.size()), position);
}

const Pump_Type_Box_Class* Pump_Type_Entry(int position)
{
    return Entry_At(Pump_Type_List.data(), int(Pump_Type_List.size()), position);
}

const Level_Sensor_Box_Class* Level_Sensor_Entry(int position)
{
    return Entry_At(Level_Sensor_List.data(), int(Level_Sensor_List.size()), position);
}

const MAP_Sensor_Box_Class* MAP_Sensor_Entry(int position)
{
    return Entry_At(MAP_Sensor_List.data(), int(MAP_Sensor_List.size()), position);
}

const Lambda_Type_Box_Class* Lambda_Type_Entry(int position)
{
    return Entry_At(Lambda_Type_List.data(), int(Lambda_Type_List.size()), position);
}
