#include "monitor/Quorel_Temperature_Table.h"

#include <QBuffer>
#include <QFile>

QString Temperature_Table::File_Path(const QString& program_folder, const QString& program_name)
{
    return program_folder + QLatin1Char('/') + program_name + QStringLiteral(".dat");
}

bool Temperature_Table::Load_Or_Builtin(const QString& path)
{
    if (QFile::exists(path))
        return Load(path);
    // QBuffer needs a writable array; the shipped records are copied once.
    QByteArray bytes = Builtin_Bytes();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const bool complete = Load(buffer);
    builtin_ = true;
    return complete;
}

bool Temperature_Table::Load(const QString& path)
{
    builtin_ = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        records_.fill(0);
        valid_count_ = 0;
        error_text_ = QStringLiteral("Temperature table %1: %2").arg(path, file.errorString());
        return false;
    }
    const bool complete = Load(file);
    if (!complete)
        error_text_ = QStringLiteral("Temperature table %1: %2").arg(path, error_text_);
    return complete;
}

bool Temperature_Table::Load(QIODevice& device)
{
    builtin_ = false;
    const QByteArray bytes = device.read(Record_Count * 2);
    records_.fill(0);
    valid_count_ = int(bytes.size() / 2);
    for (int i = 0; i < valid_count_; ++i) {
        const auto lo = quint8(bytes[2 * i]);
        const auto hi = quint8(bytes[2 * i + 1]);
        records_[i] = qint16(quint16(lo | (hi << 8)));
    }
    if (valid_count_ == Record_Count) {
        error_text_.clear();
        return true;
    }
    error_text_ = QStringLiteral("%1 of %2 records").arg(valid_count_).arg(Record_Count);
    return false;
}

qint16 Temperature_Table::At(int adc) const
{
    if (valid_count_ == 0)
        return Fallback_Temperature;
    adc = qBound(0, adc, valid_count_ - 1);
    return records_[adc];
}
