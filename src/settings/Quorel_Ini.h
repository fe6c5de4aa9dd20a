#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <optional>

// The key-value text format shared by the settings file and the
// configuration files: one "KEY value {remark}" entry per line, CR LF,
// keys padded to 29 characters. Entries keep their file order, unknown keys
// survive a rewrite in place, and duplicates remain (lookups take the first).
class Ini_File
{
public:
    struct Entry
    {
        QString key;     // upper-cased, trimmed
        QString value;   // " " when the line held none
        QString remark;  // " " when the line held none
    };

    // Parses one file's text; lines that are empty or start with "{" or "["
    // after leading blanks and control characters are skipped.
    void Parse(const QByteArray& text);
    QByteArray Serialise() const;

    // Ini_Load: true when the file existed and was read. The lists are
    // emptied first either way.
    bool Ini_Load(const QString& path);
    bool Ini_Load(QIODevice& device);
    // Ini_Open_For_Write: reads an existing file into the lists, else empties them.
    // False when the file exists but cannot be read: saving would then lose
    // its entries, so callers leave it alone.
    bool Ini_Open_For_Write(const QString& path);
    // Replaces the whole file atomically. Returns false when it could not be written.
    bool Ini_Save(const QString& path) const;
    bool Ini_Save(QIODevice& device) const;

    const Entry* Ini_Find(const QString& key) const;
    std::optional<QString> Ini_Read_Text(const QString& key) const;
    std::optional<int> Ini_Read_Int(const QString& key) const;
    std::optional<bool> Ini_Read_Bool(const QString& key) const;

    void Ini_Set(const QString& key, const QString& value, const QString& remark);
    // A string literal must not fall to the bool overload.
    void Ini_Set(const QString& key, const char* value, const QString& remark);
    void Ini_Set(const QString& key, int value, const QString& remark);
    void Ini_Set(const QString& key, bool value, const QString& remark);
    // Removes every entry of the key, duplicates included.
    void Ini_Delete(const QString& key);
    void Clear() { entries_.clear(); }

    const QList<Entry>& Entries() const { return entries_; }

private:
    QList<Entry> entries_;
};

// Open for writing, set one key, save.
bool Ini_Set_One(const QString& path, const QString& key, const QString& value, const QString& remark);

// Integer conversion of a whole value: optional sign, decimal digits, or "$"
// and hexadecimal digits.
std::optional<int> Ini_To_Int(const QString& text);
