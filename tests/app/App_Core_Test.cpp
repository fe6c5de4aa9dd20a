#include "app/Quorel_Help_Files.h"
#include "app/Quorel_Jpeg.h"
#include "app/Quorel_Launcher_Replace.h"
#include "app/Quorel_Single_Instance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray Read_All(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write_File(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

bool Process_Until(const std::function<bool()>& done, int limit_ms = 3000)
{
    QDeadlineTimer deadline(limit_ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace

// ---------------------------------------------------------------- launcher

TEST(Replace_Launcher, Waiting_Update_Takes_The_Launchers_Name)
{
    QTemporaryDir dir;
    Write_File(dir.filePath("QLoader"), "old launcher");
    Write_File(dir.filePath("QLoader_tmp"), "new launcher");
    EXPECT_TRUE(Replace_Launcher(dir.path()));
    EXPECT_EQ(Read_All(dir.filePath("QLoader")), "new launcher");
    EXPECT_FALSE(QFile::exists(dir.filePath("QLoader_tmp")));
}

TEST(Replace_Launcher, Update_Without_An_Old_Launcher_Is_Put_In_Place)
{
    QTemporaryDir dir;
    Write_File(dir.filePath("QLoader_tmp"), "new launcher");
    EXPECT_TRUE(Replace_Launcher(dir.path()));
    EXPECT_EQ(Read_All(dir.filePath("QLoader")), "new launcher");
}

TEST(Replace_Launcher, Without_Update_The_Launcher_Is_Untouched)
{
    QTemporaryDir dir;
    Write_File(dir.filePath("QLoader"), "old launcher");
    EXPECT_FALSE(Replace_Launcher(dir.path()));
    EXPECT_EQ(Read_All(dir.filePath("QLoader")), "old launcher");
}

TEST(Replace_Launcher, Failed_Rename_Keeps_The_Old_Launcher)
{
    QTemporaryDir dir;
    // A folder in the launcher's place cannot be replaced by a file.
    ASSERT_TRUE(QDir(dir.path()).mkdir("QLoader"));
    Write_File(dir.filePath("QLoader/inside"), "kept");
    Write_File(dir.filePath("QLoader_tmp"), "new launcher");
    EXPECT_FALSE(Replace_Launcher(dir.path()));
    EXPECT_EQ(Read_All(dir.filePath("QLoader/inside")), "kept");
    EXPECT_EQ(Read_All(dir.filePath("QLoader_tmp")), "new launcher");
}

TEST(Replace_Launcher, Read_Only_Folder_Keeps_Both_Files)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    QTemporaryDir dir;
    Write_File(dir.filePath("QLoader"), "old launcher");
    Write_File(dir.filePath("QLoader_tmp"), "new launcher");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0500), 0);
    EXPECT_FALSE(Replace_Launcher(dir.path()));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    EXPECT_EQ(Read_All(dir.filePath("QLoader")), "old launcher");
    EXPECT_EQ(Read_All(dir.filePath("QLoader_tmp")), "new launcher");
}

// ---------------------------------------------------------------- JPEG

class Jpeg_Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        picture = QImage(40, 24, QImage::Format_RGB32);
        picture.fill(QColor(0x20, 0x40, 0xE0));
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 24; ++y)
                picture.setPixelColor(x, y, QColor(0xF0, 0x30, 0x10));
        path = dir.filePath("logo.jpg");
        ASSERT_TRUE(picture.save(path, "JPG", 95));
    }
    QTemporaryDir dir;
    QImage picture;
    QString path;
};

TEST_F(Jpeg_Test, Decodes_Size_And_Colours)
{
    const QImage image = Load_Jpeg(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(40, 24));
    const QColor left = image.pixelColor(5, 12);
    const QColor right = image.pixelColor(35, 12);
    EXPECT_NEAR(left.red(), 0xF0, 12);
    EXPECT_NEAR(left.blue(), 0x10, 12);
    EXPECT_NEAR(right.blue(), 0xE0, 12);
    EXPECT_NEAR(right.red(), 0x20, 12);
}

TEST_F(Jpeg_Test, Truncated_File_Gives_A_Null_Image)
{
    const QByteArray whole = Read_All(path);
    for (const qsizetype keep : {qsizetype(2), qsizetype(40), whole.size() / 2, whole.size() - 4}) {
        Write_File(dir.filePath("cut.jpg"), whole.left(keep));
        EXPECT_TRUE(Load_Jpeg(dir.filePath("cut.jpg")).isNull()) << "kept " << keep << " bytes";
    }
}

TEST_F(Jpeg_Test, Corrupt_Or_Foreign_Data_Gives_A_Null_Image)
{
    QByteArray broken = Read_All(path);
    // Destroy the frame header and the Huffman tables after the start marker.
    for (int i = 2; i < 200 && i < broken.size(); ++i)
        broken[i] = char(0xFF - i);
    Write_File(dir.filePath("broken.jpg"), broken);
    EXPECT_TRUE(Load_Jpeg(dir.filePath("broken.jpg")).isNull());

    Write_File(dir.filePath("text.jpg"), "this is not a picture");
    EXPECT_TRUE(Load_Jpeg(dir.filePath("text.jpg")).isNull());
    Write_File(dir.filePath("empty.jpg"), "");
    EXPECT_TRUE(Load_Jpeg(dir.filePath("empty.jpg")).isNull());
    EXPECT_TRUE(Load_Jpeg(dir.filePath("missing.jpg")).isNull());
}

// ---------------------------------------------------------------- help files

TEST(Help_Files, Help_Document_Names)
{
    struct Case
    {
        int tab;
        const char* language;
        const char* expected;
    };
    const Case cases[] = {
        {0, "English", "/p/Help/F1_Eng.pdf"},
        {4, "Deutsch", "/p/Help/F5-1_Deu.pdf"},
        {3, "Deutsch", "/p/Help/F4_Deu.pdf"},
        {7, "Ru", "/p/Help/F8_Ru.pdf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Help_Document_Path("/p/Help", c.tab, c.language), QString(c.expected)) << c.tab << c.language;
}

TEST(Help_Files, Diagram_Candidates_Language_Then_English)
{
    EXPECT_EQ(Diagram_Candidates("/p/Language", "KYT-4", "Deutsch"),
              QStringList({"/p/Language/KYT-4_Deu.jpg", "/p/Language/KYT-4_Eng.jpg"}));
}

TEST(Help_Files, Pipe_Filter_Becomes_Qt_Filter)
{
    EXPECT_EQ(Qt_File_Filter("Scheme (Diagram) files (*.ipg)|*.jpg|All files (*.*)|*.*"),
              QString("Scheme (Diagram) files (*.ipg) (*.jpg);;All files (*.*) (*)"));
    EXPECT_EQ(Qt_File_Filter("Pictures|*.jpg;*.bmp"), QString("Pictures (*.jpg *.bmp)"));
}

// ---------------------------------------------------------------- single instance

TEST(Single_Instance, Server_Name_Is_Per_User_And_Program_And_Safe)
{
    const QString a = Single_Instance::Make_Server_Name("QuorelGAS");
    const QString b = Single_Instance::Make_Server_Name("Ambrisol");
    EXPECT_NE(a, b);
    EXPECT_TRUE(a.startsWith("QuorelGAS-"));
    EXPECT_TRUE(a.endsWith("-QuorelGAS"));
    const QString odd = Single_Instance::Make_Server_Name("a/b c\\d");
    EXPECT_FALSE(odd.contains('/'));
    EXPECT_FALSE(odd.contains(' '));
    EXPECT_FALSE(odd.contains('\\'));
}

TEST(Single_Instance, Newer_Instance_Closes_The_Older_And_Takes_Over)
{
    const QString name = "Instance_Test_" + QString::number(QCoreApplication::applicationPid());
    int first_closed = 0, second_closed = 0;

    Single_Instance first(name);
    first.On_Close_Requested = [&]() { ++first_closed; };
    EXPECT_FALSE(first.Start()) << "nobody to ask yet";
    EXPECT_TRUE(first.Listening());

    Single_Instance second(name);
    second.On_Close_Requested = [&]() { ++second_closed; };
    EXPECT_TRUE(second.Start()) << "the first instance was asked";
    EXPECT_TRUE(second.Listening());
    EXPECT_EQ(first_closed, 0) << "the newer one does not wait for the older";
    EXPECT_TRUE(Process_Until([&]() { return first_closed == 1; }));
    EXPECT_EQ(second_closed, 0);

    // A third start now reaches the second, not the first.
    Single_Instance third(name);
    EXPECT_TRUE(third.Start());
    EXPECT_TRUE(Process_Until([&]() { return second_closed == 1; }));
    EXPECT_EQ(first_closed, 1);
}

TEST(Single_Instance, Other_Program_Names_Are_Left_Alone)
{
    const QString pid = QString::number(QCoreApplication::applicationPid());
    int closed = 0;
    Single_Instance first("Name_A_" + pid);
    first.On_Close_Requested = [&]() { ++closed; };
    first.Start();
    Single_Instance other("Name_B_" + pid);
    EXPECT_FALSE(other.Start());
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(closed, 0);
}
