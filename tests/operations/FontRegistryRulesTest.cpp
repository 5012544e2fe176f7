// The rules of TFontRegistry that the installed-font view cannot show: bare file names,
// values of other kinds, and a key in which every candidate name is taken. A small hive of
// values in memory stands in for the machine's keys.

#include "InstalledFontsTestSupport.h"

#include "fontfile/GeneralFontInfo.h"
#include "operations/FontRegistryUnit.h"

#include <map>

namespace qmtest {
namespace {

using operations::TFontRegistry;
using platform::RegistryValue;

const QString kFonts = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
const QString kType1 = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Type 1 Installer\\Type 1 Fonts");

RegistryValue Text(const QString& text, quint32 type = platform::REG_SZ)
{
    QByteArray data;
    for (const QChar c : text + QChar(u'\0'))
        data.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    return {type, data};
}

RegistryValue Multi(const QStringList& strings)
{
    return Text(strings.join(QChar(u'\0')) + QChar(u'\0'), platform::REG_MULTI_SZ);
}

// Values by key and case-folded name. With everyNameTaken, every name of the Fonts key that
// was not written reads as a value pointing to another file.
class MemoryHive : public platform::RegistryHive {
public:
    bool EveryNameTaken = false;
    std::map<std::pair<QString, QString>, std::pair<QString, RegistryValue>> Values;

    void Put(const QString& key, const QString& name, const RegistryValue& value)
    {
        Values[{key.toCaseFolded(), name.toCaseFolded()}] = {name, value};
    }

    bool KeyExists(const QString& key) override { return key == kFonts || key == kType1; }
    void CreateKey(const QString&) override {}
    bool DeleteKey(const QString&) override { return false; }
    std::optional<RegistryValue> QueryValue(const QString& key, const QString& name) override
    {
        if (const auto it = Values.find({key.toCaseFolded(), name.toCaseFolded()}); it != Values.end())
            return it->second.second;
        if (EveryNameTaken && key == kFonts)
            return Text(QStringLiteral("/elsewhere/other.ttf"));
        return std::nullopt;
    }
    void SetValue(const QString& key, const QString& name, const RegistryValue& value) override { Put(key, name, value); }
    bool DeleteValue(const QString& key, const QString& name) override
    {
        return Values.erase({key.toCaseFolded(), name.toCaseFolded()}) > 0;
    }
    QStringList ValueNames(const QString& key) override
    {
        QStringList names;
        for (const auto& [id, value] : Values)
            if (id.first == key.toCaseFolded())
                names << value.first;
        return names;
    }
};

class FontRegistryRulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FFontsFolder = FreshFolder(Q(IsolatedEnvironment::Global().UserFontFolder()));
        FOther = FreshFolder(Q(IsolatedEnvironment::Global().Scratch()) + "/rules");
        FHive = std::make_shared<MemoryHive>();
        platform::SetHiveForRoot(platform::HKEY_LOCAL_MACHINE, FHive);
    }
    void TearDown() override { platform::SetHiveForRoot(platform::HKEY_LOCAL_MACHINE, nullptr); }

    QString Stored(const QString& key, const QString& name)
    {
        const auto value = FHive->QueryValue(key, name);
        return value ? TextOf(*value) : QStringLiteral("<none>");
    }

    QString FFontsFolder;
    QString FOther;
    std::shared_ptr<MemoryHive> FHive;
};

TEST_F(FontRegistryRulesTest, BareFileNamesLieInTheFontsFolder)
{
    FHive->Put(kFonts, "Bare (TrueType)", Text("bare.ttf"));
    FHive->Put(kFonts, "Empty", Text(""));
    FHive->Put(kType1, "Bare T1", Multi({"T", "bare.pfm", FOther + "/bare.pfb"}));
    FHive->Put(kType1, "Single", Multi({"T"}));
    TFontRegistry registry(true);

    std::map<QString, QString> fonts;
    for (const auto& entry : registry.FontEntries())
        fonts[entry.Name] = entry.Info->FileName;
    EXPECT_EQ(fonts, (std::map<QString, QString>{{"Bare (TrueType)", FFontsFolder + "/bare.ttf"}, {"Empty", ""}}));
    std::map<QString, QStringList> type1;
    for (const auto& entry : registry.Type1Entries())
        type1[entry.Name] = {entry.Info->FileName, entry.Info->OutlineFileName};
    EXPECT_EQ(type1, (std::map<QString, QStringList>{{"Bare T1", {FFontsFolder + "/bare.pfm", FOther + "/bare.pfb"}},
                                                     {"Single", {"", ""}}}));

    // The bare name is matched against the full path.
    EXPECT_TRUE(registry.UnregisterFont({"Bare (TrueType)", fontfile::FontKind::TrueType, FFontsFolder + "/bare.ttf", {}}));
    EXPECT_EQ(Stored(kFonts, "Bare (TrueType)"), "<none>");
}

TEST_F(FontRegistryRulesTest, FilesInTheFontsFolderAreStoredByBareName)
{
    WriteSfntFont(FFontsFolder + "/inside.ttf", u"Inside");
    WriteSfntFont(FOther + "/outside.ttf", u"Outside");
    WriteType1Pair(FFontsFolder + "/t.pfm", FOther + "/t.pfb", "Mixed-Pair");
    TFontRegistry registry(true);
    ASSERT_TRUE(registry.WriteFontValue("Inside", FFontsFolder + "/inside.ttf"));
    ASSERT_TRUE(registry.WriteFontValue("Outside", FOther + "/outside.ttf"));
    ASSERT_TRUE(registry.WriteType1Value("Mixed", FFontsFolder + "/t.pfm", FOther + "/t.pfb"));
    EXPECT_EQ(Stored(kFonts, "Inside"), QString("inside.ttf") + QChar(u'\0'));
    EXPECT_EQ(Stored(kFonts, "Outside"), FOther + "/outside.ttf" + QChar(u'\0'));
    EXPECT_EQ(Stored(kType1, "Mixed"), "T" + QString(QChar(u'\0')) + "t.pfm" + QChar(u'\0') + FOther + "/t.pfb" +
                                           QChar(u'\0') + QChar(u'\0'));
}

TEST_F(FontRegistryRulesTest, AnExistingValueThatCannotBeReadStopsTheSearch)
{
    WriteSfntFont(FOther + "/f.ttf", u"F");
    FHive->Put(kFonts, "F (TrueType)", {platform::REG_DWORD, QByteArray(4, '\1')});
    TFontRegistry registry(true);
    EXPECT_FALSE(registry.WriteFontValue("F (TrueType)", FOther + "/f.ttf"));
    EXPECT_EQ(Stored(kFonts, "F (TrueType) (0)"), "<none>");
}

TEST_F(FontRegistryRulesTest, EveryNameTakenIsAFailure)
{
    WriteSfntFont(FOther + "/full.ttf", u"Full");
    FHive->EveryNameTaken = true;
    TFontRegistry registry(true);
    EXPECT_FALSE(registry.RegisterFont({"Full (TrueType)", fontfile::FontKind::TrueType, FOther + "/full.ttf", {}}));
    EXPECT_TRUE(FHive->Values.empty());
    EXPECT_TRUE(registry.FontEntries().empty());

    // The last candidate is still tried.
    FHive->Values.clear();
    FHive->EveryNameTaken = false;
    for (int number = -1; number < TFontRegistry::kMaxNameNumber; ++number)
        FHive->Put(kType1, number < 0 ? QString("P") : QString("P (%1)").arg(number), Multi({"T"}));
    WriteType1Pair(FOther + "/p.pfm", FOther + "/p.pfb", "P");
    ASSERT_TRUE(registry.WriteType1Value("P", FOther + "/p.pfm", FOther + "/p.pfb"));
    EXPECT_EQ(registry.Type1Entries().back().Name, "P (65536)");
    FHive->Put(kType1, "P (65536)", Multi({"T"}));
    EXPECT_FALSE(registry.WriteType1Value("P", FOther + "/p.pfm", FOther + "/p.pfb"));
}

} // namespace
} // namespace qmtest
