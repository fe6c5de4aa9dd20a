#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>

class QIODevice;

// The temperature characteristic of the AUX-1 input: record i of the file
// (program name + ".dat" in the program folder) is the temperature in
// 0.1 °C for ADC value i, a signed 16-bit little-endian integer.
class Temperature_Table
{
public:
    static constexpr int Record_Count = 1024;
    // Shown for every ADC value while no record could be read.
    static constexpr qint16 Fallback_Temperature = 0;

    static QString File_Path(const QString& program_folder, const QString& program_name);

    // Replaces the table with the file's records. A missing, unreadable or
    // short file is not fatal: the records read are kept and
    // Error_Text() says what is wrong. Returns whether all 1024 records
    // were read.
    bool Load(const QString& path);
    bool Load(QIODevice& device);
    // The file when it exists; otherwise the table the program was built
    // with, so that a folder without one still shows temperatures.
    bool Load_Or_Builtin(const QString& path);
    // The records of the table shipped with the program.
    static QByteArray Builtin_Bytes();
    bool Is_Builtin() const { return builtin_; }

    // The temperature for an ADC value. Values beyond the records read
    // give the last record read, or the fallback when there is none.
    qint16 At(int adc) const;

    int Valid_Count() const { return valid_count_; }
    bool Complete() const { return valid_count_ == Record_Count; }
    QString Error_Text() const { return error_text_; }

private:
    std::array<qint16, Record_Count> records_{};
    int valid_count_ = 0;
    bool builtin_ = false;
    QString error_text_ = QStringLiteral("Temperature table not loaded");
};
