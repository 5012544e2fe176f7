// quillmark-cli scan as a script would run it: the faces of a folder of generated fixtures,
// and the status of a browsed face against the active fonts (a face installed in the isolated
// user font folder, once the very file, once another copy).

#include "IsolatedEnvironment.h"
#include "ReaderFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TCliRun {
    int ExitCode = -1;
    std::vector<QJsonObject> Lines;
    QStringList RawLines;
};

TCliRun RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(QUILLMARK_CLI), arguments);
    TCliRun run;
    if (!process.waitForFinished(300000))
        return run;
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n'))
        if (!line.isEmpty()) {
            run.Lines.push_back(QJsonDocument::fromJson(line).object());
            run.RawLines << QString::fromUtf8(line);
        }
    return run;
}

QString Scratch(const QString& name)
{
    const QString folder = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + "/" + name;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

void WriteFont(const QString& path, const std::u16string& family)
{
    qmtest::TFaceNames names;
    names.Family = family;
    names.Full = family + u" Regular";
    names.PostScript = u"Scan-Regular";
    // The tables of qmtest::StandardFont with these names.
    sfnttest::TSfntBuilder font;
    font.Table("head", sfnttest::THeadFields{}.Build());
    font.Table("hhea", sfnttest::TByteVector(36, 0));
    font.Table("maxp", sfnttest::TByteVector(6, 0));
    font.Table("name", qmtest::NameTable(names));
    font.Table("OS/2", sfnttest::TOS2Fields{}.Build());
    font.Table("post", sfnttest::TByteVector(32, 0));
    const sfnttest::TByteVector bytes = font.Build();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

// A copy of a DejaVu font whose names say tag (six letters) instead of "DejaVu", so that it
// is told apart from the system's own copy.
bool RenamedDejaVu(const QString& target, const QByteArray& tag)
{
    QFile in(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = in.readAll();
    const QByteArray from = QByteArrayLiteral("DejaVu");
    bytes.replace(from, tag);
    QByteArray wideFrom, wideTo;
    for (int i = 0; i < from.size(); ++i) {
        wideFrom.append('\0').append(from.at(i));
        wideTo.append('\0').append(tag.at(i));
    }
    bytes.replace(wideFrom, wideTo);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile out(target);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size();
}

TEST(ScanCommand, PrintsEveryFaceOfTheFolderInCatalogueOrder)
{
    const QString folder = Scratch(QStringLiteral("cli-scan"));
    WriteFont(folder + "/zeta.ttf", u"Zeta Scan");
    WriteFont(folder + "/alpha.ttf", u"Alpha Scan");
    QDir(folder).mkdir(QStringLiteral("sub"));
    WriteFont(folder + "/sub/middle.ttf", u"Middle Scan");

    const TCliRun flat = RunCli({"scan", folder});
    EXPECT_EQ(flat.ExitCode, 0);
    ASSERT_EQ(flat.Lines.size(), 2u);
    EXPECT_EQ(flat.Lines[0]["FullName"].toString(), "Alpha Scan Regular");
    EXPECT_EQ(flat.Lines[0]["file"].toString(), folder + "/alpha.ttf");
    EXPECT_EQ(flat.Lines[1]["FullName"].toString(), "Zeta Scan Regular");
    for (const QJsonObject& line : flat.Lines) {
        EXPECT_EQ(line["StatusText"].toString(), "Not installed and not loaded");
        EXPECT_EQ(line["StatusFlags"].toInt(-1) & 0x1B, 0);
        EXPECT_FALSE(line["Installed"].toBool(true));
        EXPECT_FALSE(line["viaShortcut"].toBool(true));
    }
    // One fixed order of keys: the same face prints the same line twice.
    EXPECT_EQ(RunCli({"scan", folder}).RawLines, flat.RawLines);

    const TCliRun recursive = RunCli({"scan", "--recursive", folder});
    EXPECT_EQ(recursive.ExitCode, 0);
    ASSERT_EQ(recursive.Lines.size(), 3u);
    EXPECT_EQ(recursive.Lines[1]["file"].toString(), folder + "/sub/middle.ttf");
}

TEST(ScanCommand, StatusAgainstAnInstalledFace)
{
    if (!QFileInfo::exists(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")))
        GTEST_SKIP() << "needs the DejaVu fonts";
    // Installed: in the user font folder, where fontconfig (and so the enumeration) finds it.
    const QString fonts = QString::fromStdString(qmtest::IsolatedEnvironment::Global().UserFontFolder());
    const QString installed = fonts + "/QmScan-installed.ttf";
    ASSERT_TRUE(RenamedDejaVu(installed, "QmScan"));
    const QString elsewhere = Scratch(QStringLiteral("cli-scan-similar"));
    ASSERT_TRUE(RenamedDejaVu(elsewhere + "/copy.ttf", "QmScan"));

    struct TCase {
        const char* Name;
        QString Folder;
        QString File;
        const char* StatusText;
        bool Installed;
        bool SimilarInstalled;
    };
    const std::vector<TCase> cases = {
        {"the very file", fonts, installed, "Installed", true, false},
        {"another file of the face", elsewhere, elsewhere + "/copy.ttf", "Similar font installed", false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TCliRun run = RunCli({"scan", c.Folder});
        EXPECT_EQ(run.ExitCode, 0);
        const QJsonObject* face = nullptr;
        for (const QJsonObject& line : run.Lines)
            if (line["file"].toString() == c.File)
                face = &line;
        ASSERT_NE(face, nullptr);
        EXPECT_EQ((*face)["FullName"].toString(), "QmScan Sans");
        EXPECT_EQ((*face)["StatusText"].toString(), c.StatusText);
        EXPECT_EQ((*face)["Installed"].toBool(), c.Installed);
        EXPECT_EQ((*face)["SimilarInstalled"].toBool(), c.SimilarInstalled);
        EXPECT_TRUE((*face)["Loaded"].toBool());
    }
    QFile::remove(installed);
}

TEST(ScanCommand, BadCommandLinesAndMissingFolders)
{
    EXPECT_EQ(RunCli({"scan"}).ExitCode, 2);
    EXPECT_EQ(RunCli({"scan", "--deep", Scratch("cli-scan-bad")}).ExitCode, 2);
    EXPECT_EQ(RunCli({"scan", "a", "b"}).ExitCode, 2);
    const TCliRun missing = RunCli({"scan", Scratch("cli-scan-bad") + "/none"});
    EXPECT_EQ(missing.ExitCode, 1);
    ASSERT_EQ(missing.Lines.size(), 1u);
    EXPECT_TRUE(missing.Lines[0]["error"].toString().startsWith("Folder not found: "));
}

} // namespace
