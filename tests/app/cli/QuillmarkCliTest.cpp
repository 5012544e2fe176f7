#include "IsolatedEnvironment.h"
#include "LegacyFontBuilder.h"
#include "ReaderFixtures.h"

#include "fontfile/Environment.h"
#include "support/FontfileLogBridge.h"
#include "support/LoggerUnit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <filesystem>

namespace {

struct TCliRun {
    int ExitCode = -1;
    QList<QJsonObject> Objects;
    QList<QStringList> KeyOrders;
    QByteArray Error;
};

TCliRun RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(QUILLMARK_CLI), arguments);
    TCliRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.ExitCode = process.exitCode();
    run.Error = process.readAllStandardError();
    static const QRegularExpression key(QStringLiteral(R"((?:^\{|, )\"([A-Za-z]+)\": )"));
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        const auto document = QJsonDocument::fromJson(line);
        EXPECT_TRUE(document.isObject()) << line.toStdString();
        run.Objects << document.object();
        QStringList keys;
        for (auto it = key.globalMatch(QString::fromUtf8(line)); it.hasNext();)
            keys << it.next().captured(1);
        run.KeyOrders << keys;
    }
    return run;
}

const QStringList kFaceKeys = {"file",        "secondFile",  "FaceFullName", "PreferredFamily", "RegistryName",
                               "FamilyName",  "PreferredSubfamily", "StyleName", "FullName", "FsSelection",
                               "WeightClass", "Italic",      "GdiTypeBits",  "IsRegular",       "IsSymbol",
                               "FontKind"};

QString Fixtures()
{
    static const QString folder = [] {
        const std::string root = qmtest::IsolatedEnvironment::Global().Scratch() + "/cli-fixtures";
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root + "/sub/pfm");
        sfnttest::WriteFile(root + "/a.ttf", qmtest::StandardFont().Build());
        qmtest::TFntFields bitmap;
        bitmap.Faces = {qmtest::TFntFace{}, qmtest::TFntFace{}, qmtest::TFntFace{0, 1, 700, "", "Test Sans"}};
        qmtest::WriteFile(root + "/b.FON", qmtest::BuildNeFont(bitmap));
        qmtest::WriteFile(root + "/c.pfm", qmtest::BuildPfm());
        qmtest::WriteFile(root + "/c.pfb", {0x80, 0x01});
        qmtest::WriteFile(root + "/e.ttf", std::vector<std::uint8_t>(300, 0x20));  // fails every check
        qmtest::WriteFile(root + "/lonely.pfb", {0x80, 0x01});                  // never listed alone
        qmtest::WriteFile(root + "/notes.txt", {'h', 'i'});
        sfnttest::WriteFile(root + "/sub/d.otf", qmtest::StandardFont(sfnttest::kSfntVersionOTTO)
                                                     .Table("CFF ", sfnttest::TByteVector(16, 1))
                                                     .Build());
        // Outline in the parent folder of the metrics folder.
        qmtest::WriteFile(root + "/sub/pfm/f.PFM", qmtest::BuildPfm());
        qmtest::WriteFile(root + "/sub/f.pfb", {0x80, 0x01});
        return QString::fromStdString(root);
    }();
    return folder;
}

TEST(QuillmarkCli, FolderGivesOneSortedLinePerFace)
{
    const QString root = Fixtures();
    const TCliRun run = RunCli({"info", root});
    EXPECT_EQ(run.ExitCode, 0) << run.Error.toStdString();
    QStringList files;
    for (const auto& object : run.Objects)
        files << object.value("file").toString();
    EXPECT_EQ(files, (QStringList{root + "/a.ttf", root + "/b.FON", root + "/b.FON", root + "/c.pfm", root + "/e.ttf"}));
    for (const auto& keys : run.KeyOrders)
        EXPECT_EQ(keys, kFaceKeys);
    ASSERT_EQ(run.Objects.size(), 5);

    const QJsonObject font = run.Objects[0];
    EXPECT_EQ(font.value("FaceFullName").toString(), "Test Sans Regular");
    EXPECT_EQ(font.value("RegistryName").toString(), "Test Sans Regular (TrueType)");
    EXPECT_EQ(font.value("FontKind").toInt(), 5);
    EXPECT_EQ(font.value("GdiTypeBits").toInt(), 4);
    EXPECT_EQ(font.value("IsRegular").toBool(), true);
    EXPECT_EQ(font.value("secondFile").toString(), "");

    // Two identical bitmap faces give one item.
    EXPECT_EQ(run.Objects[1].value("StyleName").toString(), "Regular");
    EXPECT_EQ(run.Objects[2].value("StyleName").toString(), "Bold Italic");
    EXPECT_EQ(run.Objects[1].value("RegistryName").toString(), "Test Sans 8,10,12");

    EXPECT_EQ(run.Objects[3].value("FontKind").toInt(), 3);
    EXPECT_EQ(run.Objects[3].value("secondFile").toString(), root + "/c.pfb");
    EXPECT_EQ(run.Objects[3].value("RegistryName").toString(), "TestSerif Regular");

    // The placeholder of a ".ttf" that fails every check.
    EXPECT_EQ(run.Objects[4].value("FontKind").toInt(), 0);
    EXPECT_EQ(run.Objects[4].value("GdiTypeBits").toInt(), 4);
    EXPECT_EQ(run.Objects[4].value("FullName").toString(), "");
}

TEST(QuillmarkCli, RecursiveAndTables)
{
    const QString root = Fixtures();
    const TCliRun run = RunCli({"info", "--recursive", "--tables", root});
    EXPECT_EQ(run.ExitCode, 0) << run.Error.toStdString();
    ASSERT_EQ(run.Objects.size(), 7);
    EXPECT_EQ(run.Objects[5].value("file").toString(), root + "/sub/d.otf");
    EXPECT_EQ(run.Objects[5].value("FontKind").toInt(), 7);
    EXPECT_EQ(run.Objects[5].value("FaceFullName").toString(), "TestSans-Regular");
    EXPECT_EQ(run.Objects[6].value("file").toString(), root + "/sub/pfm/f.PFM");
    EXPECT_EQ(run.Objects[6].value("secondFile").toString(), root + "/sub/f.pfb");

    const QStringList withTables = kFaceKeys + QStringList{"TableList", "KerningPairs"};
    EXPECT_EQ(run.KeyOrders[0], withTables);
    EXPECT_TRUE(run.Objects[0].value("TableList").toString().startsWith("head - Font header - 54 bytes\r\nhhea - "));
    EXPECT_EQ(run.Objects[0].value("KerningPairs").toInt(), 0);
    // Bitmap faces and placeholders have no extended information.
    EXPECT_EQ(run.Objects[1].value("KerningPairs").toInt(), -1);
    EXPECT_EQ(run.Objects[4].value("TableList").toString(), "");
    EXPECT_EQ(run.KeyOrders[3], withTables + QStringList{"CopyrightNotice"});
    EXPECT_EQ(run.Objects[3].value("CopyrightNotice").toString(), "Copyright (c) Test Foundry");
    EXPECT_EQ(run.Objects[3].value("KerningPairs").toInt(), 0);
}

TEST(QuillmarkCli, FailuresArePrintedAndTheToolGoesOn)
{
    const std::string folder = qmtest::IsolatedEnvironment::Global().Scratch() + "/cli-failures";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    sfnttest::TSfntBuilder member = qmtest::StandardFont();
    member.LengthDelta(100000);
    sfnttest::WriteFile(folder + "/a.ttc", sfnttest::TCollectionBuilder().Member(member).Build());
    sfnttest::TSfntBuilder damaged = qmtest::StandardFont();
    damaged.LengthDelta(1);
    sfnttest::WriteFile(folder + "/b.ttf", damaged.Build());
    sfnttest::WriteFile(folder + "/c.ttf", qmtest::StandardFont().Build());
    const QString root = QString::fromStdString(folder);

    const TCliRun run = RunCli({"info", root, root + "/missing.ttf"});
    EXPECT_EQ(run.ExitCode, 1);
    ASSERT_EQ(run.Objects.size(), 4);
    EXPECT_EQ(run.KeyOrders[0], (QStringList{"file", "error"}));
    EXPECT_EQ(run.Objects[0].value("error").toString(), "This is not a valid font file.");
    // A single font whose reader raised: the record with kind 8, and why.
    EXPECT_EQ(run.Objects[1].value("FontKind").toInt(), 8);
    EXPECT_EQ(run.Objects[1].value("error").toString(), "This is not a valid font file.");
    EXPECT_EQ(run.Objects[2].value("FontKind").toInt(), 5);
    EXPECT_EQ(run.Objects[3].value("error").toString(), "Font file not found: " + root + "/missing.ttf");

    EXPECT_EQ(RunCli({"info", root + "/c.ttf"}).ExitCode, 0);
}

TEST(QuillmarkCli, UsageErrors)
{
    EXPECT_EQ(RunCli({}).ExitCode, 2);
    EXPECT_EQ(RunCli({"nonsense"}).ExitCode, 2);
    EXPECT_EQ(RunCli({"info"}).ExitCode, 2);
    EXPECT_EQ(RunCli({"info", "--bogus", Fixtures()}).ExitCode, 2);
}

TEST(QuillmarkCli, LogsWhenTheLogFolderExists)
{
    const QString logFolder = QString::fromStdString(qmtest::IsolatedEnvironment::Global().StateHome()) + "/quillmark/log";
    QDir().mkpath(logFolder);
    const TCliRun run = RunCli({"info", Fixtures() + "/a.ttf"});
    EXPECT_EQ(run.ExitCode, 0);
    QFile general(logFolder + "/general.log");
    ASSERT_TRUE(general.open(QIODevice::ReadOnly));
    EXPECT_TRUE(general.readAll().contains("quillmark-cli started."));
    QDir(logFolder).removeRecursively();
}

TEST(QuillmarkCli, LibraryLinesReachTheProgramLogs)
{
    const QString folder = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + "/cli-bridge";
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    support::StartLogging(folder, QStringLiteral("bridge test"));
    support::InstallFontfileLogBridge();
    fontfile::LogError(u"Font file not found: /x/\u00E9.ttf");
    fontfile::LogGeneral(u"FromUnicodeToCodepoint End 128");
    support::StopLogging();
    fontfile::SetLogSink(nullptr);
    QFile error(folder + "/error.log");
    QFile general(folder + "/general.log");
    ASSERT_TRUE(error.open(QIODevice::ReadOnly));
    ASSERT_TRUE(general.open(QIODevice::ReadOnly));
    EXPECT_TRUE(error.readAll().contains("Font file not found: /x/"));
    EXPECT_TRUE(general.readAll().contains("FromUnicodeToCodepoint End 128"));
}

// Installed fonts of the test machine, checked against values read with other tools.
struct TRealFace {
    const char* File;
    int Index;  // face of the file
    const char* FaceFullName;
    const char* FamilyName;
    const char* StyleName;
    const char* RegistryName;
    int WeightClass;
    bool Italic;
    int GdiTypeBits;
    int FontKind;
    int Faces;  // faces of the file
    bool IsSymbol = false;
};

TEST(QuillmarkCli, InstalledFonts)
{
    const TRealFace faces[] = {
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0, "DejaVu Sans", "DejaVu Sans", "Book",
         "DejaVu Sans (TrueType)", 400, false, 4, 5, 1},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf", 0, "DejaVu Serif Bold Italic", "DejaVu Serif",
         "Bold Italic", "DejaVu Serif Bold Italic (TrueType)", 700, true, 4, 5, 1},
        {"/usr/share/wine/fonts/marlett.ttf", 0, "Marlett", "Marlett", "Regular", "Marlett (TrueType)", 500, false, 4,
         5, 1, true},
        // Three sizes of one face in the font directory give one item.
        {"/usr/share/wine/fonts/sserife.fon", 0, "MS Sans Serif", "MS Sans Serif", "Regular",
         "MS Sans Serif 8,10,12 (VGA res)", 400, false, 1, 0, 1},
        {"/usr/share/wine/fonts/coure.fon", 0, "Courier", "Courier", "Regular", "Courier 10 (VGA res)", 400, false, 1,
         0, 1},
        {"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", 1, "WenQuanYi Micro Hei Mono", "WenQuanYi Micro Hei Mono",
         "Regular", "WenQuanYi Micro Hei & WenQuanYi Micro Hei Mono (TrueType)", 400, false, 4, 4, 2},
        {"/usr/share/fonts/opentype/urw-base35/C059-BdIta.otf", 0, "C059-BdIta", "C059", "Bold Italic",
         "C059-BdIta (OpenType)", 700, true, 2, 7, 1},
        {"/usr/share/texmf/fonts/opentype/public/tex-gyre/texgyreadventor-regular.otf", 0, "TeXGyreAdventor-Regular",
         "TeX Gyre Adventor", "Regular", "TeXGyreAdventor-Regular (OpenType)", 400, false, 2, 7, 1},
    };
    int checked = 0;
    for (const auto& face : faces) {
        SCOPED_TRACE(face.File);
        if (!QFileInfo::exists(face.File))
            continue;
        ++checked;
        const TCliRun run = RunCli({"info", face.File});
        EXPECT_EQ(run.ExitCode, 0);
        ASSERT_EQ(run.Objects.size(), face.Faces);
        const QJsonObject object = run.Objects[face.Index];
        EXPECT_EQ(object.value("FaceFullName").toString(), face.FaceFullName);
        EXPECT_EQ(object.value("FamilyName").toString(), face.FamilyName);
        EXPECT_EQ(object.value("StyleName").toString(), face.StyleName);
        EXPECT_EQ(object.value("RegistryName").toString(), face.RegistryName);
        EXPECT_EQ(object.value("WeightClass").toInt(), face.WeightClass);
        EXPECT_EQ(object.value("Italic").toBool(), face.Italic);
        EXPECT_EQ(object.value("GdiTypeBits").toInt(), face.GdiTypeBits);
        EXPECT_EQ(object.value("FontKind").toInt(), face.FontKind);
        EXPECT_EQ(object.value("IsSymbol").toBool(), face.IsSymbol);
    }
    if (checked == 0)
        GTEST_SKIP() << "none of the font packages is installed";
}

TEST(QuillmarkCli, InstalledFontsWithTables)
{
    const char* file = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!QFileInfo::exists(file))
        GTEST_SKIP() << "fonts-dejavu-core is not installed";
    const TCliRun run = RunCli({"info", "--tables", file});
    ASSERT_EQ(run.Objects.size(), 1);
    const QString tables = run.Objects[0].value("TableList").toString();
    EXPECT_TRUE(tables.contains("\r\nglyf - Glyph data - "));
    EXPECT_TRUE(tables.contains("\r\nkern - Kerning - "));
    EXPECT_GT(run.Objects[0].value("KerningPairs").toInt(), 0);
}

TEST(QuillmarkCli, WholeInstalledCorpusReads)
{
    const QStringList folders = {"/usr/share/fonts", "/usr/share/wine/fonts"};
    QStringList present;
    for (const auto& folder : folders)
        if (QFileInfo(folder).isDir())
            present << folder;
    if (present.isEmpty())
        GTEST_SKIP() << "no font folders";
    const TCliRun run = RunCli(QStringList{"info", "--recursive", "--tables"} + present);
    EXPECT_EQ(run.ExitCode, 0) << run.Error.toStdString();
    for (const auto& object : run.Objects) {
        EXPECT_FALSE(object.contains("error")) << object.value("file").toString().toStdString();
        EXPECT_NE(object.value("FontKind").toInt(), 8);
    }
}

} // namespace
