#include "monitor/Quorel_Temperature_Table.h"

#include <QFile>

QString Temperature_Table::File_Path(const QString& program_folder, const QString& program_name)
{
    return program_folder + QLatin1Char('/') + program_name + QStringLiteral(".dat");
}

bool Temperature_Table::Load(const QString& path)
{
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
