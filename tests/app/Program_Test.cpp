#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Run_Result
{
    bool finished = false;
    int exit_code = -1;
    QString output;
};

Run_Result Run_Program(const QStringList& arguments)
{
    QTemporaryDir dir;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir.path());
    process.start(QUOREL_BINARY_DIR "/QuorelGAS", arguments);
    Run_Result result;
    result.finished = process.waitForFinished(30000);
    if (!result.finished)
        process.kill();
    result.exit_code = process.exitCode();
    result.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return result;
}

} // namespace

TEST(Program, Version_Option)
{
    const Run_Result run = Run_Program({"--version"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.output.trimmed(), "QuorelGAS 1.19");
}

TEST(Program, Help_Option_Lists_The_Options)
{
    const Run_Result run = Run_Program({"--help"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_TRUE(run.output.contains("--demo"));
    EXPECT_TRUE(run.output.contains("--version"));
    EXPECT_TRUE(run.output.contains("--help"));
}
