// quillmark-cli install and uninstall end to end, as a script would run them, with fc-list in
// another process as the witness.

#include "InstalledFontsTestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {

using namespace qmtest;

struct TCliRun {
    int ExitCode = -1;
    std::vector<QJsonObject> Lines;
};

TCliRun RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(QUILLMARK_CLI), arguments);
    TCliRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            run.Lines.push_back(QJsonDocument::fromJson(line).object());
    return run;
}

TEST(FontOperationCli, InstallThenUninstallACopiedFont)
{
    const QString font = SystemTrueTypeFont();
    if (font.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("fc-list")).isEmpty())
        GTEST_SKIP() << "needs fc-list and a TrueType font";
    FreshFolder(Q(IsolatedEnvironment::Global().UserFontFolder()));
    const QString outside = FreshFolder(Q(IsolatedEnvironment::Global().Scratch()) + "/cli-outside");
    const QString source = outside + "/CliSample.ttf";
    ASSERT_TRUE(QFile::copy(font, source));

    const TCliRun installed = RunCli({"install", source});
    ASSERT_EQ(installed.Lines.size(), 1u);
    EXPECT_EQ(installed.ExitCode, 0) << installed.Lines[0]["status"].toString().toStdString();
    EXPECT_EQ(installed.Lines[0]["operation"].toString(), "install");
    EXPECT_EQ(installed.Lines[0]["file"].toString(), source);
    EXPECT_TRUE(installed.Lines[0]["succeeded"].toBool());
    EXPECT_FALSE(installed.Lines[0]["face"].toString().isEmpty());
    // Installed from its own folder: a link in the user font folder makes it visible.
    const auto listedAfterInstall = FcListFiles();
    ASSERT_TRUE(listedAfterInstall);
    bool seen = false;
    for (const QString& file : *listedAfterInstall)
        seen = seen || QFileInfo(file).canonicalFilePath() == source;
    EXPECT_TRUE(seen);

    // Once more: the engine's rule for an installed face, and a failing exit status.
    const TCliRun again = RunCli({"install", source});
    ASSERT_EQ(again.Lines.size(), 1u);
    EXPECT_EQ(again.ExitCode, 1);
    EXPECT_EQ(again.Lines[0]["status"].toString(), "This font is already installed.");

    const TCliRun uninstalled = RunCli({"uninstall", source});
    ASSERT_EQ(uninstalled.Lines.size(), 1u);
    EXPECT_EQ(uninstalled.ExitCode, 0) << uninstalled.Lines[0]["status"].toString().toStdString();
    EXPECT_TRUE(QFileInfo::exists(source));
    const auto listedAfterUninstall = FcListFiles();
    ASSERT_TRUE(listedAfterUninstall);
    for (const QString& file : *listedAfterUninstall)
        EXPECT_NE(QFileInfo(file).canonicalFilePath(), source);
}

TEST(FontOperationCli, BadCommandLinesAndMissingFiles)
{
    EXPECT_EQ(RunCli({"copy", "some.ttf"}).ExitCode, 2) << "copy needs --to";
    EXPECT_EQ(RunCli({"install"}).ExitCode, 2);
    const TCliRun missing = RunCli({"install", Q(IsolatedEnvironment::Global().Scratch()) + "/none.ttf"});
    EXPECT_EQ(missing.ExitCode, 1);
    ASSERT_EQ(missing.Lines.size(), 1u);
    EXPECT_FALSE(missing.Lines[0]["succeeded"].toBool());
}

} // namespace
