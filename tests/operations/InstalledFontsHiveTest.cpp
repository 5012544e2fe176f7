// The installed-font view: what the Fonts and Type 1 keys show of the font folders, and
// what writing and deleting values does to the folders.

#include "InstalledFontsTestSupport.h"

#include "platform/FontDirs.h"
#include "platform/FontEnumeration.h"

#include <QDateTime>

#include <utime.h>

#include <chrono>
#include <thread>

namespace qmtest {
namespace {

using platform::InstalledFontsHive;
using platform::RegistryHiveError;
using platform::RegistryValue;

RegistryValue Sz(const QString& text)
{
    QByteArray data;
    for (const QChar c : text + QChar(u'\0'))
        data.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    return {platform::REG_SZ, data};
}

RegistryValue MultiSz(const QStringList& strings)
{
    RegistryValue value = Sz(strings.join(QChar(u'\0')) + QChar(u'\0'));
    value.type = platform::REG_MULTI_SZ;
    return value;
}

using InstalledFontsHiveTest = InstalledFontsTest;

TEST_F(InstalledFontsHiveTest, AFileInTheUserFontFolderIsListedUnderItsRegistryName)
{
    WriteSfntFont(FUserFonts + "/sans.ttf", u"Hive Sans");
    QDir().mkpath(FUserFonts + "/nested/deeper");
    WriteSfntFont(FUserFonts + "/nested/deeper/serif.ttf", u"Hive Serif");
    qmtest::WriteFile(QFile::encodeName(FUserFonts + "/readme.txt").toStdString(), {'h', 'i'});

    QStringList names = FontNames();
    names.sort();
    EXPECT_EQ(names, (QStringList{"Hive Sans (TrueType)", "Hive Serif (TrueType)"}));
    EXPECT_EQ(FontData("hive sans (truetype)"), FUserFonts + "/sans.ttf");
    EXPECT_EQ(FontData("Hive Serif (TrueType)"), FUserFonts + "/nested/deeper/serif.ttf");
    EXPECT_TRUE(Type1Names().isEmpty());
}

TEST_F(InstalledFontsHiveTest, ListingAgainReadsOnlyNewOrChangedFiles)
{
    WriteSfntFont(FUserFonts + "/a.ttf", u"Cached A");
    WriteSfntFont(FUserFonts + "/b.ttf", u"Cached B");
    FontNames();
    const auto reads = Hive().FileReads();
    FontNames();
    Type1Names();
    EXPECT_EQ(Hive().FileReads(), reads);

    // Same size, another time stamp: read again, under its new name.
    WriteSfntFont(FUserFonts + "/b.ttf", u"Cached C");
    const QByteArray path = QFile::encodeName(FUserFonts + "/b.ttf");
    const utimbuf times{1000000000, 1000000000};
    ASSERT_EQ(::utime(path.constData(), &times), 0);
    EXPECT_EQ(FontNames(), (QStringList{"Cached A (TrueType)", "Cached C (TrueType)"}));
    EXPECT_EQ(Hive().FileReads(), reads + 1);
}

TEST_F(InstalledFontsHiveTest, AListingOfUnchangedFoldersIsKeptUntilSomethingInThemChanges)
{
    WriteSfntFont(FUserFonts + "/a.ttf", u"Kept A");
    WriteSfntFont(FOutside + "/far.ttf", u"Far Font");
    QDir().mkpath(LinkedFonts());
    ASSERT_TRUE(QFile::link(FOutside + "/far.ttf", LinkedFonts() + "/Far.ttf"));
    // Paths changed within the last second are never trusted to be unchanged.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(FontNames(), (QStringList{"Far", "Kept A (TrueType)"}));
    EXPECT_EQ(FontNames(), (QStringList{"Far", "Kept A (TrueType)"}));

    // The file of a link goes, outside every font folder.
    ASSERT_TRUE(QFile::remove(FOutside + "/far.ttf"));
    EXPECT_EQ(FontNames(), (QStringList{"Kept A (TrueType)"}));
    // A file appears in another folder of the view.
    WriteSfntFont(FSystem + "/b.ttf", u"Kept B");
    EXPECT_EQ(FontNames(), (QStringList{"Kept A (TrueType)", "Kept B (TrueType)"}));
    // A font file is overwritten in place by one that cannot be read: listed by its file name.
    const QByteArray size(static_cast<int>(QFileInfo(FUserFonts + "/a.ttf").size()), 'x');
    qmtest::WriteFile(QFile::encodeName(FUserFonts + "/a.ttf").toStdString(),
                      std::vector<std::uint8_t>(size.begin(), size.end()));
    EXPECT_EQ(FontNames(), (QStringList{"a.ttf", "Kept B (TrueType)"}));
}

TEST_F(InstalledFontsHiveTest, RepeatedNamesAreNumberedAndKeepTheirNames)
{
    WriteSfntFont(FUserFonts + "/b.ttf", u"Twin", "b");
    WriteSfntFont(FSystem + "/c.ttf", u"Twin", "c");
    EXPECT_EQ(FontNames(), (QStringList{"Twin (TrueType)", "Twin (TrueType) (0)"}));
    EXPECT_EQ(FontData("Twin (TrueType) (0)"), FSystem + "/c.ttf");

    // A file that comes later, even first in folder order, takes the next free name.
    WriteSfntFont(FUserFonts + "/a.ttf", u"Twin", "a");
    EXPECT_EQ(FontNames().size(), 3);
    EXPECT_EQ(FontData("Twin (TrueType)"), FUserFonts + "/b.ttf");
    EXPECT_EQ(FontData("Twin (TrueType) (0)"), FSystem + "/c.ttf");
    EXPECT_EQ(FontData("Twin (TrueType) (1)"), FUserFonts + "/a.ttf");
}

TEST_F(InstalledFontsHiveTest, SymbolicLinksToFontFilesCountAsInstalled)
{
    WriteSfntFont(FOutside + "/real.ttf", u"Linked Elsewhere");
    ASSERT_TRUE(QFile::link(FOutside + "/real.ttf", FUserFonts + "/link.ttf"));
    ASSERT_TRUE(QFile::link(FOutside + "/missing.ttf", FUserFonts + "/dangling.ttf"));
    EXPECT_EQ(FontNames(), QStringList{"Linked Elsewhere (TrueType)"});
    EXPECT_EQ(FontData("Linked Elsewhere (TrueType)"), FOutside + "/real.ttf");
}

TEST_F(InstalledFontsHiveTest, Type1MetricsWithOutlineFileFormOneValue)
{
    WriteType1Pair(FUserFonts + "/ts.pfm", FUserFonts + "/ts.pfb", "TestSerif-Bold");
    // Metrics without an outline file are no usable font.
    WriteType1Pair(FUserFonts + "/alone.pfm", FOutside + "/alone.pfb", "Alone-Regular");

    EXPECT_EQ(Type1Names(), QStringList{"TestSerif Bold"});
    EXPECT_EQ(Type1Data("TestSerif Bold"), (QStringList{"T", FUserFonts + "/ts.pfm", FUserFonts + "/ts.pfb"}));
    EXPECT_TRUE(FontNames().isEmpty());

    // The outline file arriving later is seen.
    QFile::copy(FOutside + "/alone.pfb", FUserFonts + "/alone.pfb");
    EXPECT_EQ(Type1Names(), (QStringList{"Alone Regular", "TestSerif Bold"}));
}

TEST_F(InstalledFontsHiveTest, WritingAValueForAFileElsewherePlacesALink)
{
    WriteSfntFont(FOutside + "/away.ttf", u"Away");
    Hive().SetValue(InstalledFontsHive::FontsKeyPath(), "Away (TrueType) (0)", Sz(FOutside + "/away.ttf"));

    const QString link = LinkedFonts() + "/Away (TrueType) (0).ttf";
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), FOutside + "/away.ttf");
    EXPECT_EQ(FontNames(), QStringList{"Away (TrueType) (0)"});
    EXPECT_EQ(FontData("Away (TrueType) (0)"), FOutside + "/away.ttf");

    EXPECT_TRUE(Hive().DeleteValue(InstalledFontsHive::FontsKeyPath(), "Away (TrueType) (0)"));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(FOutside + "/away.ttf"));
    EXPECT_TRUE(FontNames().isEmpty());
    EXPECT_FALSE(Hive().DeleteValue(InstalledFontsHive::FontsKeyPath(), "Away (TrueType) (0)"));
}

TEST_F(InstalledFontsHiveTest, WritesThatCannotBeMadeFailWithTheirReason)
{
    WriteSfntFont(FOutside + "/x.ttf", u"X");
    WriteSfntFont(FSystem + "/system.ttf", u"Sys");
    qmtest::WriteFile(QFile::encodeName(FOutside + "/blocker").toStdString(), {'x'});
    QDir().mkpath(LinkedFonts());
    qmtest::WriteFile(QFile::encodeName(LinkedFonts() + "/Taken.ttf").toStdString(), {'u', 's', 'e', 'r'});

    const QString fonts = InstalledFontsHive::FontsKeyPath();
    struct Case {
        const char* what;
        QString key;
        QString name;
        RegistryValue value;
    };
    const Case cases[] = {
        {"missing file", fonts, "M", Sz(FOutside + "/missing.ttf")},
        {"relative path", fonts, "R", Sz("sub/x.ttf")},
        {"not a text", fonts, "N", {platform::REG_DWORD, QByteArray(4, '\0')}},
        {"a slash in the name", fonts, "a/b", Sz(FOutside + "/x.ttf")},
        {"a user's file in the way", fonts, "Taken", Sz(FOutside + "/x.ttf")},
        {"Type 1 without outline", InstalledFontsHive::Type1KeyPath(), "T", MultiSz({"T", FOutside + "/x.ttf"})},
        {"another key", "SOFTWARE\\Other", "V", Sz(FOutside + "/x.ttf")},
    };
    for (const Case& c : cases)
        EXPECT_THROW(Hive().SetValue(c.key, c.name, c.value), RegistryHiveError) << c.what;
    EXPECT_EQ(ReadAll(LinkedFonts() + "/Taken.ttf"), QByteArray("user"));

    // A file that lies in a font folder other than the install target is not this view's to
    // uninstall.
    EXPECT_THROW(Hive().DeleteValue(fonts, "Sys (TrueType)"), RegistryHiveError);
    EXPECT_TRUE(QFileInfo::exists(FSystem + "/system.ttf"));
}

TEST_F(InstalledFontsHiveTest, OnlyTheTwoFontKeysExist)
{
    EXPECT_TRUE(Hive().KeyExists(InstalledFontsHive::FontsKeyPath()));
    EXPECT_TRUE(Hive().KeyExists("software\\microsoft\\windows nt\\currentversion\\type 1 installer\\type 1 fonts"));
    EXPECT_TRUE(Hive().KeyExists("SOFTWARE\\Microsoft"));
    EXPECT_FALSE(Hive().KeyExists("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts"));
    EXPECT_FALSE(Hive().KeyExists("SYSTEM"));
    EXPECT_THROW(Hive().CreateKey("SOFTWARE\\Brindlecote"), RegistryHiveError);
    EXPECT_NO_THROW(Hive().CreateKey(InstalledFontsHive::FontsKeyPath()));
    EXPECT_THROW(Hive().DeleteKey(InstalledFontsHive::FontsKeyPath()), RegistryHiveError);
    EXPECT_TRUE(Hive().ValueNames("SOFTWARE").isEmpty());

    platform::TRegistry registry;
    registry.SetRootKey(platform::HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(registry.OpenKey("\\SOFTWARE\\Brindlecote\\Quillmark", false));
    EXPECT_TRUE(registry.OpenKey("\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", false));
}

TEST(InstalledFontFolders, FontconfigFoldersWithTheUserFontFolderFirst)
{
    QStringList folders = platform::PersistentFontFolders();
    ASSERT_FALSE(folders.isEmpty());
    EXPECT_EQ(folders.first(), Q(IsolatedEnvironment::Global().UserFontFolder()));
    EXPECT_TRUE(folders.contains("/usr/share/fonts"));
    EXPECT_EQ(folders.removeDuplicates(), 0);
}

TEST(InstalledFontFolders, AFolderTheUserConfigurationAddsIsSeenAtTheNextCall)
{
    const QString extra = Q(IsolatedEnvironment::Global().Scratch()) + "/user-configured-fonts";
    const QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/fontconfig/fonts.conf";
    ASSERT_FALSE(platform::PersistentFontFolders().contains(extra));

    QDir().mkpath(QFileInfo(config).absolutePath());
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\"?>\n<fontconfig><dir>" + QFile::encodeName(extra) + "</dir></fontconfig>\n");
    file.close();
    EXPECT_TRUE(platform::PersistentFontFolders().contains(extra));

    ASSERT_TRUE(QFile::remove(config));
    EXPECT_FALSE(platform::PersistentFontFolders().contains(extra));
}

TEST(InstalledFontFolders, TheEnumerationsConfigurationGivesTheConfiguredFoldersOnly)
{
    const QString extra = Q(IsolatedEnvironment::Global().Scratch()) + "/enumeration-configured-fonts";
    const QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/fontconfig/fonts.conf";
    QDir().mkpath(QFileInfo(config).absolutePath());
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\"?>\n<fontconfig><dir>" + QFile::encodeName(extra) + "</dir></fontconfig>\n");
    file.close();
    // Older than a second, the configuration's stamps are trusted: the folder list the
    // enumeration hands on is kept, not read again.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));

    // The enumeration loads the changed configuration first and hands it on.
    ASSERT_TRUE(platform::EnumerateSystemFonts());
    const QStringList folders = platform::PersistentFontFolders();
    EXPECT_TRUE(folders.contains(extra));
    for (const QString& folder : folders)
        EXPECT_FALSE(folder.startsWith("/usr/share/fonts/")) << "a scanned sub-folder: " << folder.toStdString();

    ASSERT_TRUE(QFile::remove(config));
    EXPECT_FALSE(platform::PersistentFontFolders().contains(extra));
}

TEST(InstalledFontFolders, TheDefaultViewShowsTheSystemFonts)
{
    const QString system = SystemTrueTypeFont();
    if (system.isEmpty())
        GTEST_SKIP() << "no TrueType font below /usr/share/fonts";
    InstalledFontsHive hive;
    const QStringList names = hive.ValueNames(InstalledFontsHive::FontsKeyPath());
    QString systemName;
    for (const QString& name : names) {
        const auto value = hive.QueryValue(InstalledFontsHive::FontsKeyPath(), name);
        if (value && TextOf(*value).section(QChar(u'\0'), 0, 0) == system)
            systemName = name;
    }
    ASSERT_FALSE(systemName.isEmpty()) << system.toStdString();

    // A system font is not uninstalled, whoever runs the program.
    EXPECT_THROW(hive.DeleteValue(InstalledFontsHive::FontsKeyPath(), systemName), RegistryHiveError);
    EXPECT_TRUE(QFileInfo::exists(system));
    EXPECT_TRUE(hive.ValueNames(InstalledFontsHive::FontsKeyPath()).contains(systemName));
}

} // namespace
} // namespace qmtest
