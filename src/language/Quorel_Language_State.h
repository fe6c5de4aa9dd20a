#pragma once

#include "language/Quorel_Language_File.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class Ini_File;

// The language choice of a running program and the texts it gives.
class Language_State
{
public:
    static constexpr int Max_Languages = 20;
    static constexpr int Hint_Length_Default = 30;

    // Folder holding the ".lng" files (program folder + "/Language").
    QString Folder;
    // "English" (exactly) means the built-in table.
    QString Language_Name = QStringLiteral("English");
    // Names offered in the language list; entry 1 is always "English".
    QStringList Languages = {QStringLiteral("English")};
    bool English_Menu = false;
    bool Show_Hint = true;
    int Hint_Length = Hint_Length_Default;
    QString Font_Name = QStringLiteral("Tahoma");
    int Font_Charset = 1;

    // Who re-applies texts: called with frame_only = false after a change
    // of language, with true after a change of "English_Menu".
    using Apply_Listener = std::function<void(bool frame_only)>;
    // Reads the font keys of the newly selected language (from the
    // settings file) before the texts are re-applied.
    std::function<void(Language_State&)> Load_Font_Keys;

    bool Is_English() const { return Language_Name == QLatin1String("English"); }
    QString File_Path() const;   // Folder + "/" + language name + ".lng"

    QString Text(const QString& key);
    QString Menu_Text(const QString& key);
    QString Wrap_Hint(const QString& text) const;

    // The table of the selected language's file; empty for English or a
    // missing file. Parsed again only when the file's path, time or size
    // changed since the last call.
    const Language_Table& Table();
    // Forgets the parsed file, so the next lookup reads it again.
    void Drop_Table();
    // How many times a file was read and parsed (for tests of the cache).
    int Table_Loads() const { return table_loads_; }

    void List_Languages();
    // The selection from the language list: false (and nothing changes
    // but the re-apply) when the name is not listed.
    bool Select_Language(const QString& name);
    void Set_English_Menu(bool on);

    int Add_Listener(Apply_Listener listener);
    void Remove_Listener(int id);

    // Font keys of the selected language: name + "_N" and name + "_C".
    void Read_Font_Keys(const Ini_File& ini);
    void Write_Font_Keys(Ini_File& ini);

private:
    void Notify(bool frame_only);

    Language_Table table_;
    QString table_path_;
    QDateTime table_time_;
    qint64 table_size_ = -1;
    int table_charset_ = 0;
    bool table_valid_ = false;
    int table_loads_ = 0;

    std::vector<std::pair<int, Apply_Listener>> listeners_;
    int next_listener_ = 1;
};

// Breaks a hint into lines of about `width` characters at spaces.
QString Wrap_Hint(const QString& text, int width);

// The process-wide language state, set up by the program at start.
Language_State& Language();
// Back to a fresh state (tests).
void Reset_Language_State();
void Set_Language_Folder(const QString& folder);
// Program folder + "/Language".
void Set_Program_Folder(const QString& program_folder);
