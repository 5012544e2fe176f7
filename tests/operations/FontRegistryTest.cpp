// TFontRegistry over the installed-font view: registering and unregistering fonts changes
// what fontconfig (and so every other program) sees.

#include "InstalledFontsTestSupport.h"

#include "fontfile/GeneralFontInfo.h"
#include "operations/FontRegistryUnit.h"
#include "support/LoggerUnit.h"

#include <QDirIterator>

namespace qmtest {
namespace {

using operations::TFontRegistry;
using operations::TFontRegistryItem;

constexpr std::uint8_t kTrueType = fontfile::FontKind::TrueType;
constexpr std::uint8_t kType1 = fontfile::FontKind::PostScriptType1;

TFontRegistryItem Font(const QString& name, const QString& file)
{
    return {name, kTrueType, file, {}};
}

TFontRegistryItem Type1(const QString& name, const QString& metrics, const QString& outline)
{
    return {name, kType1, metrics, outline};
}

// Value name -> file, as a registry loaded afresh sees the Fonts key.
std::map<QString, QString> LoadedFonts()
{
    TFontRegistry registry(true);
    std::map<QString, QString> entries;
    for (const auto& entry : registry.FontEntries())
        entries[entry.Name] = entry.Info->FileName;
    return entries;
}

QStringList LinkNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::System, QDir::Name);
}

QStringList CacheFiles()
{
    QStringList files;
    QDirIterator it(Q(IsolatedEnvironment::Global().CacheHome()) + "/fontconfig", QDir::Files);
    while (it.hasNext())
        files << it.next() + QString::number(it.fileInfo().lastModified().toMSecsSinceEpoch());
    return files;
}

using FontRegistryTest = InstalledFontsTest;

TEST_F(FontRegistryTest, LoadsTheInstalledFilesWithFullPaths)
{
    WriteSfntFont(FUserFonts + "/sans.ttf", u"Loaded Sans");
    WriteType1Pair(FSystem + "/ps.pfm", FSystem + "/ps.pfb", "Loaded-Type1");
    TFontRegistry registry(true);
    ASSERT_EQ(registry.FontEntries().size(), 1u);
    EXPECT_EQ(registry.FontEntries()[0].Name, "Loaded Sans (TrueType)");
    EXPECT_EQ(registry.FontEntries()[0].Info->FileName, FUserFonts + "/sans.ttf");
    ASSERT_EQ(registry.Type1Entries().size(), 1u);
    EXPECT_EQ(registry.Type1Entries()[0].Info->FileName, FSystem + "/ps.pfm");
    EXPECT_EQ(registry.Type1Entries()[0].Info->OutlineFileName, FSystem + "/ps.pfb");
    EXPECT_EQ(registry.FontsFolder(), FUserFonts + "/");
}

TEST_F(FontRegistryTest, RegisteringAFileElsewhereIsSeenByAnotherProcess)
{
    const QString system = SystemTrueTypeFont();
    if (system.isEmpty())
        GTEST_SKIP() << "no TrueType font that fontconfig reads";
    const QString file = FOutside + "/Shared Font.ttf";
    ASSERT_TRUE(QFile::copy(system, file));
    const QString link = LinkedFonts() + "/Shared Font (TrueType).ttf";

    const QStringList cacheBefore = CacheFiles();
    TFontRegistry registry(true);
    ASSERT_TRUE(registry.RegisterFont(Font("Shared Font (TrueType)", file)));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), file);
    EXPECT_NE(CacheFiles(), cacheBefore) << "fontconfig's cache of the changed folder is written";
    EXPECT_EQ(LoadedFonts()["Shared Font (TrueType)"], file);

    auto listed = FcListFiles();
    if (!listed)
        GTEST_SKIP() << "fc-list is not available";
    EXPECT_TRUE(listed->contains(link)) << listed->join('\n').toStdString();

    ASSERT_TRUE(registry.UnregisterFont(Font("Shared Font (TrueType)", file)));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(file)) << "the font file itself stays";
    listed = FcListFiles();
    ASSERT_TRUE(listed);
    EXPECT_FALSE(listed->contains(link));
    EXPECT_TRUE(registry.FontEntries().empty());
}

TEST_F(FontRegistryTest, AFileInTheFontsFolderNeedsNoLink)
{
    WriteSfntFont(FUserFonts + "/here.ttf", u"Here");
    TFontRegistry registry(true);
    ASSERT_TRUE(registry.RegisterFont(Font("Here (TrueType)", FUserFonts + "/here.ttf")));
    EXPECT_FALSE(QFileInfo::exists(LinkedFonts()));
    EXPECT_EQ(LoadedFonts()["Here (TrueType)"], FUserFonts + "/here.ttf");

    // Unregistering is accepted; the file stays installed until it is moved away.
    EXPECT_TRUE(registry.UnregisterFont(Font("Here (TrueType)", FUserFonts + "/here.ttf")));
    EXPECT_TRUE(QFileInfo::exists(FUserFonts + "/here.ttf"));
    ASSERT_TRUE(QFile::rename(FUserFonts + "/here.ttf", FOutside + "/here.ttf"));
    EXPECT_TRUE(LoadedFonts().empty());
}

TEST_F(FontRegistryTest, TakenNamesGetTheNextNumber)
{
    WriteSfntFont(FUserFonts + "/first.ttf", u"Common", "first");
    WriteSfntFont(FOutside + "/second.ttf", u"Common", "second");
    WriteSfntFont(FOutside + "/third.ttf", u"Common", "third");

    TFontRegistry registry(true);
    ASSERT_TRUE(registry.RegisterFont(Font("Common (TrueType)", FOutside + "/second.ttf")));
    ASSERT_TRUE(registry.RegisterFont(Font("Common (TrueType)", FOutside + "/third.ttf")));
    // The same file again takes its own name, in place.
    ASSERT_TRUE(registry.RegisterFont(Font("Common (TrueType)", FOutside + "/second.ttf")));

    EXPECT_EQ(LinkNames(LinkedFonts()), (QStringList{"Common (TrueType) (0).ttf", "Common (TrueType) (1).ttf"}));
    const std::map<QString, QString> expected{{"Common (TrueType)", FUserFonts + "/first.ttf"},
                                              {"Common (TrueType) (0)", FOutside + "/second.ttf"},
                                              {"Common (TrueType) (1)", FOutside + "/third.ttf"}};
    EXPECT_EQ(LoadedFonts(), expected);
    EXPECT_EQ(registry.FontEntries().size(), 3u);
}

TEST_F(FontRegistryTest, UnregisteringRemovesEveryValueOfTheFileAndNothingElse)
{
    WriteSfntFont(FOutside + "/twice.ttf", u"Twice");
    WriteSfntFont(FOutside + "/other.ttf", u"Other");
    TFontRegistry registry(true);
    ASSERT_TRUE(registry.WriteFontValue("Twice A", FOutside + "/twice.ttf"));
    ASSERT_TRUE(registry.WriteFontValue("Twice B", FOutside + "/twice.ttf"));
    ASSERT_TRUE(registry.RegisterFont(Font("Other (TrueType)", FOutside + "/other.ttf")));

    EXPECT_TRUE(registry.UnregisterFont(Font("Twice (TrueType)", FOutside + "/twice.ttf")));
    EXPECT_EQ(LinkNames(LinkedFonts()), QStringList{"Other (TrueType).ttf"});
    // No value points to it any more: success, nothing changes.
    EXPECT_TRUE(registry.UnregisterFont(Font("Twice (TrueType)", FOutside + "/twice.ttf")));
    EXPECT_EQ(LinkNames(LinkedFonts()), QStringList{"Other (TrueType).ttf"});
}

TEST_F(FontRegistryTest, AMissingFileIsNotRegistered)
{
    TFontRegistry registry(true);
    EXPECT_FALSE(registry.RegisterFont(Font("Gone (TrueType)", FOutside + "/gone.ttf")));
    WriteType1Pair(FOutside + "/half.pfm", FOutside + "/half.pfb", "Half-Regular");
    QFile::remove(FOutside + "/half.pfb");
    EXPECT_FALSE(registry.RegisterFont(Type1("Half Regular", FOutside + "/half.pfm", FOutside + "/half.pfb")));
    EXPECT_FALSE(QFileInfo::exists(LinkedFonts()));
    EXPECT_TRUE(registry.FontEntries().empty());
    EXPECT_TRUE(registry.Type1Entries().empty());
}

TEST_F(FontRegistryTest, Type1FontsAreLinkedSideBySideAndAlwaysTakeAFreeName)
{
    WriteType1Pair(FOutside + "/ps.pfm", FOutside + "/ps.pfb", "Paired-Bold");
    TFontRegistry registry(true);
    const TFontRegistryItem item = Type1("Paired Bold", FOutside + "/ps.pfm", FOutside + "/ps.pfb");
    ASSERT_TRUE(registry.RegisterFont(item));
    ASSERT_TRUE(registry.RegisterFont(item));
    EXPECT_EQ(LinkNames(LinkedFonts()), (QStringList{"Paired Bold (0).pfb", "Paired Bold (0).pfm", "Paired Bold.pfb",
                                                     "Paired Bold.pfm"}));

    TFontRegistry loaded(true);
    ASSERT_EQ(loaded.Type1Entries().size(), 2u);
    for (const auto& entry : loaded.Type1Entries()) {
        EXPECT_EQ(entry.Info->FileName, FOutside + "/ps.pfm");
        EXPECT_EQ(entry.Info->OutlineFileName, FOutside + "/ps.pfb");
    }

    // Either file names the font.
    EXPECT_TRUE(loaded.UnregisterFont(Type1("Paired Bold", FOutside + "/ps.pfb", {})));
    EXPECT_TRUE(LinkNames(LinkedFonts()).isEmpty());
    EXPECT_TRUE(loaded.Type1Entries().empty());
}

TEST_F(FontRegistryTest, SystemFontsCannotBeUninstalled)
{
    WriteSfntFont(FSystem + "/system.ttf", u"System Face");
    TFontRegistry registry(true);
    EXPECT_FALSE(registry.UnregisterFont(Font("System Face (TrueType)", FSystem + "/system.ttf")));
    EXPECT_TRUE(QFileInfo::exists(FSystem + "/system.ttf"));
    EXPECT_EQ(registry.FontEntries().size(), 1u);
    EXPECT_EQ(LoadedFonts().size(), 1u);
}

TEST_F(FontRegistryTest, AnUnwritableFolderFailsCleanly)
{
    WriteSfntFont(FOutside + "/target.ttf", u"Target");
    ASSERT_TRUE(QFile::link(FOutside + "/target.ttf", FSystem + "/target.ttf"));
    QDir().mkpath(LinkedFonts());
    WriteSfntFont(FOutside + "/new.ttf", u"New");
    {
        UnwritableFolder system(FSystem);
        UnwritableFolder linked(LinkedFonts());
        if (!system.Active() || !linked.Active())
            GTEST_SKIP() << "folders cannot be made unwritable here";
        TFontRegistry registry(true);
        EXPECT_FALSE(registry.UnregisterFont(Font("Target (TrueType)", FOutside + "/target.ttf")));
        EXPECT_TRUE(QFileInfo(FSystem + "/target.ttf").isSymLink());
        EXPECT_EQ(registry.FontEntries().size(), 1u);

        const QString logs = FreshFolder(Q(IsolatedEnvironment::Global().Scratch()) + "/unwritable-logs");
        support::StartLogging(logs, "Quillmark");
        EXPECT_FALSE(registry.RegisterFont(Font("New (TrueType)", FOutside + "/new.ttf")));
        support::StopLogging();
        EXPECT_EQ(registry.FontEntries().size(), 1u);
        // The log says which link could not be made.
        EXPECT_TRUE(QString::fromUtf8(ReadAll(logs + "/error.log"))
                        .contains("Failed to set data for 'New (TrueType)': Could not create the link " + LinkedFonts()));
    }
    EXPECT_TRUE(LinkNames(LinkedFonts()).isEmpty());
}

TEST_F(FontRegistryTest, WithoutTheKeysNothingIsRegisteredAndTheLogSaysWhy)
{
    platform::SetHiveForRoot(platform::HKEY_LOCAL_MACHINE, nullptr);
    const QString logs = FreshFolder(Q(IsolatedEnvironment::Global().Scratch()) + "/registry-logs");
    support::StartLogging(logs, "Quillmark");
    WriteSfntFont(FOutside + "/any.ttf", u"Any");
    {
        TFontRegistry registry(true);
        EXPECT_TRUE(registry.FontEntries().empty());
        EXPECT_FALSE(registry.RegisterFont(Font("Any (TrueType)", FOutside + "/any.ttf")));
        EXPECT_FALSE(registry.RegisterFont(Type1("Any", FOutside + "/any.ttf", FOutside + "/any.ttf")));
    }
    support::StopLogging();
    const QString log = QString::fromUtf8(ReadAll(logs + "/error.log"));
    SCOPED_TRACE(log.toStdString());
    QStringList messages;
    for (const QString& line : log.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        messages << line.section(QLatin1Char(' '), 4).trimmed();
    EXPECT_TRUE(messages.contains("Could not open key: \\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"));
    EXPECT_TRUE(messages.contains(
        "Could not open key: \\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Type 1 Installer\\Type 1 Fonts"));
}

} // namespace
} // namespace qmtest
