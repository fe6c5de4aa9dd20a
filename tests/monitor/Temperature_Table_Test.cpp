#include "monitor/Quorel_Live_Convert.h"
#include "monitor/Quorel_Temperature_Table.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QByteArray Records(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values) {
        bytes.append(char(quint16(v) & 0xFF));
        bytes.append(char(quint16(v) >> 8));
    }
    return bytes;
}

QString Shipped_File()
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../../data/QuorelGAS.dat"));
}

// The sensor model the shipped table is generated from: 2.2 kOhm at 25 °C,
// B = 3950 K, 2.2 kOhm pull-up to the 5 V reference, 10-bit converter.
double Model_Tenths(int adc)
{
    const double x = (adc + 0.5) / 1024.0;
    const double r = 2200.0 * x / (1.0 - x);
    const double kelvin = 1.0 / (1.0 / 298.15 + std::log(r / 2200.0) / 3950.0);
    return std::clamp((kelvin - 273.15) * 10.0, -400.0, 1500.0);
}

TEST(Temperature_Table, Reads_Signed_Little_Endian_Records)
{
    QByteArray bytes = Records({-400, 0, 255, 1500});
    bytes.append(QByteArray(2 * 1020, '\0'));
    bytes.append("extra");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    Temperature_Table table;
    EXPECT_TRUE(table.Load(buffer));
    EXPECT_TRUE(table.Complete());
    EXPECT_TRUE(table.Error_Text().isEmpty());
    EXPECT_EQ(table.At(0), -400);
    EXPECT_EQ(table.At(2), 255);
    EXPECT_EQ(table.At(3), 1500);
    EXPECT_EQ(table.At(1023), 0);
    EXPECT_EQ(Adc_To_Temperature(0x02, 0xFC, table), 255);   // only ten bits index
}

TEST(Temperature_Table, Missing_File_Falls_Back_And_Says_Why)
{
    QTemporaryDir dir;
    Temperature_Table table;
    EXPECT_FALSE(table.Load(dir.filePath("QuorelGAS.dat")));
    EXPECT_EQ(table.Valid_Count(), 0);
    EXPECT_TRUE(table.Error_Text().contains("QuorelGAS.dat"));
    for (int adc : {0, 512, 1023})
        EXPECT_EQ(table.At(adc), Temperature_Table::Fallback_Temperature);
}

TEST(Temperature_Table, Short_File_Repeats_Its_Last_Record)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("short.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Records({900, 850, -123}) + QByteArray(1, '\x7F'));   // odd trailing byte ignored
    file.close();
    Temperature_Table table;
    EXPECT_FALSE(table.Load(file.fileName()));
    EXPECT_EQ(table.Valid_Count(), 3);
    EXPECT_FALSE(table.Error_Text().isEmpty());
    EXPECT_EQ(table.At(1), 850);
    EXPECT_EQ(table.At(2), -123);
    EXPECT_EQ(table.At(3), -123);
    EXPECT_EQ(table.At(1023), -123);
}

TEST(Temperature_Table, A_New_Load_Replaces_The_Old_Records)
{
    QByteArray full = Records({111});
    full.append(QByteArray(2 * 1023, '\x01'));
    QBuffer a(&full);
    a.open(QIODevice::ReadOnly);
    Temperature_Table table;
    ASSERT_TRUE(table.Load(a));
    QByteArray empty;
    QBuffer b(&empty);
    b.open(QIODevice::ReadOnly);
    EXPECT_FALSE(table.Load(b));
    EXPECT_EQ(table.At(0), Temperature_Table::Fallback_Temperature);
}

TEST(Temperature_Table, Path_Is_Program_Name_Dot_Dat_In_Program_Folder)
{
    EXPECT_EQ(Temperature_Table::File_Path("/opt/q", "QuorelGAS"), "/opt/q/QuorelGAS.dat");
}

TEST(Temperature_Table, Shipped_File_Follows_The_Sensor_Model)
{
    const QString path = Shipped_File();
    ASSERT_EQ(QFileInfo(path).size(), 2048) << path.toStdString();
    Temperature_Table table;
    ASSERT_TRUE(table.Load(path)) << table.Error_Text().toStdString();

    // Colder at higher ADC values: never rising (near mid scale one code is
    // less than 0.1 °C, so neighbours may be equal).
    for (int adc = 1; adc < Temperature_Table::Record_Count; ++adc)
        EXPECT_LE(table.At(adc), table.At(adc - 1)) << "adc " << adc;
    // Between the clamps of the rated range it falls over every ten codes.
    for (int adc = 0; adc + 10 < Temperature_Table::Record_Count; ++adc) {
        if (table.At(adc) < 1500 && table.At(adc + 10) > -400) {
            EXPECT_LT(table.At(adc + 10), table.At(adc)) << "adc " << adc;
        }
    }
    EXPECT_EQ(table.At(0), 1500);
    EXPECT_EQ(table.At(1023), -400);

    // Equal resistors: mid scale is 25 °C.
    EXPECT_NEAR(table.At(511), 250, 1);
    for (int adc : {40, 100, 200, 300, 511, 700, 850, 950, 1000})
        EXPECT_NEAR(table.At(adc), Model_Tenths(adc), 0.51) << "adc " << adc;
}

}   // namespace

namespace {

// A program folder without a table uses the one the program was built with;
// a table file in the folder always wins.
TEST(Temperature_Table_Builtin, Missing_File_Gives_The_Shipped_Table_And_A_File_Wins)
{
    QFile shipped(Shipped_File());
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray shipped_bytes = shipped.readAll();
    EXPECT_EQ(Temperature_Table::Builtin_Bytes(), shipped_bytes);

    QTemporaryDir dir;
    const QString path = Temperature_Table::File_Path(dir.path(), QStringLiteral("QuorelGAS"));
    Temperature_Table table;
    EXPECT_TRUE(table.Load_Or_Builtin(path));
    EXPECT_TRUE(table.Is_Builtin());
    EXPECT_TRUE(table.Complete());
    EXPECT_EQ(table.At(456), qint16(quint8(shipped_bytes[912]) | quint8(shipped_bytes[913]) << 8));

    QFile own(path);
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write(Records({111, 222, 333}));
    own.close();
    EXPECT_FALSE(table.Load_Or_Builtin(path)) << "a short file is reported, not replaced";
    EXPECT_FALSE(table.Is_Builtin());
    EXPECT_EQ(table.At(1), 222);
    EXPECT_EQ(table.Valid_Count(), 3);
}

}   // namespace
