// The font cache file's encoding and the global font manager's matching, status and cache
// rules, on faces built in the test.

#include "IsolatedEnvironment.h"

#include "catalogue/FontCacheFile.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontItem.h"
#include "catalogue/GlobalFontManagerUnit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace catalogue;

std::vector<TFontCacheRecord> Decode(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadFontCache(buffer);
}

TFontCacheRecord Record(const QString& family, const QString& fullName, const QString& file)
{
    TFontCacheRecord record;
    record.FamilyName = family;
    record.FullName = fullName;
    record.Style = QStringLiteral("Regular");
    record.RegistryName = fullName + QStringLiteral(" (TrueType)");
    record.GdiTypeBits = 4;
    record.FontFile = file;
    record.FontKind = 1;
    record.Weight = 400;
    return record;
}

TEST(FontCacheFile, RecordsSurviveTheRoundTrip)
{
    TFontCacheRecord full = Record(QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans Bold Italic"), QStringLiteral("/f/a.pfm"));
    full.SecondFile = QStringLiteral("/f/a.pfb");
    full.CacheNote = QString::fromUtf16(u"note \U0001F600 é");
    full.GdiTypeBits = -1;
    full.Weight = -5;
    full.Italic = true;
    full.ViaShortcut = true;
    full.ShortcutPath = QStringLiteral("/links/a.pfm");
    full.FontKind = 8;
    TFontCacheRecord empty;  // every string of 0 characters
    const std::vector<TFontCacheRecord> records{full, empty};
    EXPECT_EQ(Decode(EncodeFontCache(records)), records);
}

TEST(FontCacheFile, LayoutIsBigEndianWithByteLengths)
{
    TFontCacheRecord record;
    record.FamilyName = QStringLiteral("A");
    record.GdiTypeBits = 0x01020304;
    record.FontKind = 3;
    const QByteArray bytes = EncodeFontCache({record});
    const QByteArray expected = QByteArray::fromHex(
        "00010000" "00000001"              // version, count
        "0002" "0041"                      // family name "A"
        "0000" "0000" "0000" "0000"        // full name, style, registry name, cache note
        "01020304"                         // GDI type bits
        "0000" "0000"                      // font file, second file
        "00000003" "00000000" "00" "00"    // kind, weight, italic, via shortcut
        "0000");                           // shortcut path
    EXPECT_EQ(bytes.toHex(), expected.toHex());
}

TEST(FontCacheFile, ForeignOrDamagedFilesGiveWhatCanBeTrusted)
{
    const std::vector<TFontCacheRecord> two{Record(QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("/a.ttf")),
                                            Record(QStringLiteral("B"), QStringLiteral("B"), QStringLiteral("/b.ttf"))};
    const QByteArray good = EncodeFontCache(two);
    const auto withHeader = [&](const char* hex) { return QByteArray::fromHex(hex) + good.mid(8); };
    QByteArray oddLength = good;
    oddLength[9] = 3;  // the first string's byte length, made odd

    struct TCase {
        const char* Name;
        QByteArray Bytes;
        std::size_t Records;
    };
    const std::vector<TCase> cases{
        {"version 2.0 is ignored", withHeader("00020000" "00000002"), 0},
        {"a minor version is read", withHeader("00010005" "00000002"), 2},
        {"a count of zero", withHeader("00010000" "00000000"), 0},
        {"a negative count", withHeader("00010000" "ffffffff"), 0},
        {"a count beyond the records", withHeader("00010000" "7fffffff"), 2},
        {"a count below the records", withHeader("00010000" "00000001"), 1},
        {"cut inside the second record", good.left(good.size() - 3), 1},
        {"an odd string length", oddLength, 0},
        {"too short for a header", QByteArray::fromHex("000100"), 0},
        {"empty", QByteArray(), 0},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Decode(c.Bytes).size(), c.Records) << c.Name;
}

TEST(FontCacheFile, AnUnknownKindSkipsItsRecordOnly)
{
    std::vector<TFontCacheRecord> records{Record(QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("/a.ttf")),
                                          Record(QStringLiteral("B"), QStringLiteral("B"), QStringLiteral("/b.ttf"))};
    records[0].FontKind = 9;
    const auto read = Decode(EncodeFontCache(records));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].FamilyName, QStringLiteral("B"));
}

TEST(FontCacheFile, OverlongStringsAreCutAtAWholeCharacter)
{
    TFontCacheRecord record;
    // 32766 letters and one surrogate pair: the pair would straddle the 32767-unit limit.
    record.FontFile = QString(32766, QLatin1Char('x')) + QString::fromUtf16(u"\U0001F600");
    const auto read = Decode(EncodeFontCache({record}));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].FontFile, QString(32766, QLatin1Char('x')));
}

// --- The manager

std::unique_ptr<TFontItem> Face(const QString& family, const QString& fullName, const QString& file,
                                std::uint8_t flags = 0, int gdiTypeBits = 4, bool active = false)
{
    auto face = std::make_unique<TFontItem>(family, active);
    face->SetFullName(fullName);
    face->SetFontFile(file);
    face->SetGdiTypeBits(gdiTypeBits);
    face->SetStatusFlags(flags);
    face->SetFontKind(5);  // TrueType: the style is the font's own
    return face;
}

class GlobalFontManager : public ::testing::Test {
protected:
    TFontItem& Active(const QString& fullName, const QString& file, std::uint8_t flags, int gdiTypeBits = 4)
    {
        return FActive.AddItem(Face(QStringLiteral("Qm Sans"), fullName, file, flags, gdiTypeBits, true));
    }

    TFontFamilyList FActive;
    TGlobalFontManager FManager;
};

TEST_F(GlobalFontManager, MatchingPrefersTheFaceWithTheSameFiles)
{
    FManager.SetActiveIndex(&FActive);
    TFontItem& first = Active(QStringLiteral("Qm Sans"), QStringLiteral("/a/one.ttf"), FontStatus::Loaded);
    TFontItem& second = Active(QStringLiteral("Qm Sans"), QStringLiteral("/a/two.ttf"), FontStatus::Loaded);
    Active(QStringLiteral("Qm Sans"), QStringLiteral("/a/three.ttf"), FontStatus::Loaded, 1);

    struct TCase {
        const char* Name;
        QString Family;
        QString FullName;
        QString File;
        int GdiTypeBits;
        TFontItem* Expected;
    };
    const std::vector<TCase> cases{
        {"same files", QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/a/two.ttf"), 4, &second},
        {"files differ in case only", QStringLiteral("QM SANS"), QStringLiteral("qm sans"), QStringLiteral("/A/TWO.TTF"), 4, &second},
        {"another file: the first face", QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/b/x.ttf"), 4, &first},
        {"other type bits", QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/a/two.ttf"), 2, nullptr},
        {"other full name", QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans Bold"), QStringLiteral("/a/two.ttf"), 4, nullptr},
        {"other family", QStringLiteral("Qm Serif"), QStringLiteral("Qm Sans"), QStringLiteral("/a/two.ttf"), 4, nullptr},
    };
    for (const TCase& c : cases) {
        const auto probe = Face(c.Family, c.FullName, c.File, 0, c.GdiTypeBits);
        EXPECT_EQ(FManager.GetMatchingActiveFont(*probe), c.Expected) << c.Name;
    }

    FManager.SetActiveIndex(nullptr);
    EXPECT_EQ(FManager.GetMatchingActiveFont(second), nullptr);
}

TEST_F(GlobalFontManager, StatusOfANonActiveFaceFollowsItsActiveMatch)
{
    using namespace FontStatus;
    FManager.SetActiveIndex(&FActive);
    Active(QStringLiteral("Installed Face"), QStringLiteral("/fonts/i.ttf"), Loaded | Installed);
    Active(QStringLiteral("Loaded Face"), QStringLiteral("/fonts/l.ttf"), Loaded | FileLoaded);
    Active(QStringLiteral("Registered Only"), QStringLiteral("/fonts/r.ttf"), Installed);

    struct TCase {
        const char* Name;
        QString FullName;
        QString File;
        std::uint8_t Before;
        std::uint8_t After;
    };
    const std::vector<TCase> cases{
        {"no match clears the active bits", QStringLiteral("Nowhere"), QStringLiteral("/x.ttf"),
         Loaded | FileLoaded | Installed | SimilarInstalled | PrivatelyLoaded | NotDisplayable, PrivatelyLoaded | NotDisplayable},
        {"the very file takes its status", QStringLiteral("Installed Face"), QStringLiteral("/fonts/i.ttf"),
         SimilarInstalled | PrivatelyLoaded, Loaded | Installed | PrivatelyLoaded},
        {"another file of an installed face", QStringLiteral("Installed Face"), QStringLiteral("/elsewhere/i.ttf"),
         Installed | FileLoaded, Loaded | SimilarInstalled},
        {"another file of a loaded face", QStringLiteral("Loaded Face"), QStringLiteral("/elsewhere/l.ttf"), 0, Loaded},
        {"another file of a registered, unloaded face", QStringLiteral("Registered Only"), QStringLiteral("/e/r.ttf"),
         Loaded | FileLoaded | NotDisplayable, SimilarInstalled | NotDisplayable},
    };
    for (const TCase& c : cases) {
        const auto face = Face(QStringLiteral("Qm Sans"), c.FullName, c.File, c.Before);
        FManager.UpdateStatusOfNonActiveFace(*face);
        EXPECT_EQ(face->StatusFlags(), c.After) << c.Name;
    }

    // Active list items keep what they have.
    TFontItem& active = Active(QStringLiteral("Nowhere Else"), QString(), Loaded);
    FManager.UpdateStatusOfNonActiveFace(active);
    EXPECT_EQ(active.StatusFlags(), Loaded);
}

TEST_F(GlobalFontManager, StatusTextsOfBrowsedFiles)
{
    FManager.SetActiveIndex(&FActive);
    Active(QStringLiteral("Qm Sans"), QStringLiteral("/fonts/q.ttf"), FontStatus::Loaded | FontStatus::Installed);
    const auto same = Face(QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/fonts/q.ttf"));
    const auto other = Face(QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/browse/q.ttf"));
    FManager.UpdateStatusOfNonActiveFace(*same);
    FManager.UpdateStatusOfNonActiveFace(*other);
    EXPECT_EQ(same->StatusText(), QStringLiteral("Installed"));
    EXPECT_EQ(other->StatusText(), QStringLiteral("Similar font installed"));
}

TEST_F(GlobalFontManager, CacheChangesFindOrMakeOneFacePerName)
{
    const auto face = Face(QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/a.ttf"), FontStatus::Loaded);
    FManager.AddAsLoaded(*face);
    ASSERT_EQ(FManager.CachedFaceCount(), 1);
    EXPECT_EQ(FManager.MatchingCachedFont(*face)->StatusFlags(), FontStatus::FileLoaded);

    const auto again = Face(QStringLiteral("QM SANS"), QStringLiteral("qm sans"), QStringLiteral("/b.ttf"));
    FManager.AddAsLoaded(*again);
    ASSERT_EQ(FManager.CachedFaceCount(), 1);
    EXPECT_EQ(FManager.MatchingCachedFont(*face)->FontFile(), QStringLiteral("/a.ttf"));

    FManager.AddAsInstalled(*again);
    ASSERT_EQ(FManager.CachedFaceCount(), 1);
    const TFontItem* cached = FManager.MatchingCachedFont(*face);
    EXPECT_EQ(cached->FontFile(), QStringLiteral("/b.ttf"));
    EXPECT_EQ(cached->StatusFlags(), FontStatus::Installed | FontStatus::FileLoaded);

    const auto bold = Face(QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans Bold"), QStringLiteral("/c.ttf"));
    FManager.AddAsLoaded(*bold);
    EXPECT_EQ(FManager.Cache().Count(), 1);
    EXPECT_EQ(FManager.CachedFaceCount(), 2);

    FManager.Remove(*face);
    EXPECT_EQ(FManager.CachedFaceCount(), 1);
    FManager.Remove(*bold);
    EXPECT_EQ(FManager.CachedFaceCount(), 0);
    EXPECT_EQ(FManager.Cache().Count(), 0) << "the family goes with its last face";
}

TEST_F(GlobalFontManager, FillFromCacheGivesAnActiveFaceItsFiles)
{
    auto loaded = Face(QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/s/q.pfm"));
    loaded->SetSecondFile(QStringLiteral("/s/q.pfb"));
    loaded->SetRegistryName(QStringLiteral("Qm Sans (Type 1)"));
    FManager.AddAsLoaded(*loaded);

    TFontItem& active = Active(QStringLiteral("Qm Sans"), QString(), FontStatus::Loaded);
    FManager.FillFromCache(active);
    EXPECT_EQ(active.StatusFlags(), FontStatus::Loaded | FontStatus::FileLoaded);
    EXPECT_EQ(active.FontFile(), QStringLiteral("/s/q.pfm"));
    EXPECT_EQ(active.SecondFile(), QStringLiteral("/s/q.pfb"));
    EXPECT_EQ(active.RegistryName(), QStringLiteral("Qm Sans (Type 1)"));

    TFontItem& unknown = Active(QStringLiteral("Qm Sans Bold"), QString(), FontStatus::Loaded);
    FManager.FillFromCache(unknown);
    EXPECT_EQ(unknown.StatusFlags(), FontStatus::Loaded);
    EXPECT_TRUE(unknown.FontFile().isEmpty());
}

TEST_F(GlobalFontManager, PruneKeepsOnlyFacesAnActiveFaceConfirms)
{
    FManager.AddAsLoaded(*Face(QStringLiteral("Qm Sans"), QStringLiteral("Kept"), QStringLiteral("/k.ttf")));
    FManager.AddAsLoaded(*Face(QStringLiteral("Qm Sans"), QStringLiteral("Replaced"), QStringLiteral("/old.ttf")));
    FManager.AddAsLoaded(*Face(QStringLiteral("Qm Serif"), QStringLiteral("Gone"), QStringLiteral("/g.ttf")));
    Active(QStringLiteral("Kept"), QStringLiteral("/k.ttf"), FontStatus::Loaded);
    Active(QStringLiteral("Replaced"), QStringLiteral("/new.ttf"), FontStatus::Loaded);

    // Without an index nothing is confirmed, and nothing is dropped either.
    FManager.Prune();
    EXPECT_EQ(FManager.CachedFaceCount(), 3);

    FManager.SetActiveIndex(&FActive);
    FManager.Prune();
    ASSERT_EQ(FManager.CachedFaceCount(), 1);
    EXPECT_EQ(FManager.Cache().Family(0)->Item(0)->FullName(), QStringLiteral("Kept"));
}

TEST_F(GlobalFontManager, FileMovedFollowsOnlyFacesOfTheMovedFiles)
{
    FManager.SetActiveIndex(&FActive);
    TFontItem& active = Active(QStringLiteral("Qm Sans"), QStringLiteral("/old/q.ttf"), FontStatus::Loaded);
    FManager.AddAsLoaded(active);
    const auto moved = Face(QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/old/q.ttf"));
    const auto target = Face(QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/new/q.ttf"));
    FManager.FileMoved(*moved, *target);
    EXPECT_EQ(active.FontFile(), QStringLiteral("/new/q.ttf"));
    EXPECT_EQ(FManager.MatchingCachedFont(*target)->FontFile(), QStringLiteral("/new/q.ttf"));

    // A move of another file of the same face changes nothing.
    const auto stranger = Face(QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/else/q.ttf"));
    FManager.FileMoved(*stranger, *moved);
    EXPECT_EQ(active.FontFile(), QStringLiteral("/new/q.ttf"));
}

TEST_F(GlobalFontManager, FolderHoldsActiveFonts)
{
    FManager.SetActiveIndex(&FActive);
    Active(QStringLiteral("Qm Sans"), QStringLiteral("/home/u/Groups/Sans/q.ttf"), FontStatus::Loaded);
    EXPECT_TRUE(FManager.FolderHoldsActiveFonts(QStringLiteral("/home/u/groups/sans")));
    EXPECT_TRUE(FManager.FolderHoldsActiveFonts(QStringLiteral("/home/u/Groups")));
    EXPECT_FALSE(FManager.FolderHoldsActiveFonts(QStringLiteral("/home/u/Groups/Serif")));
    EXPECT_FALSE(FManager.FolderHoldsActiveFonts(QString()));
}

TEST(GlobalFontManagerFile, TheCacheComesBackAfterARestart)
{
    const QString folder = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + QStringLiteral("/cache-restart");
    QDir(folder).removeRecursively();
    const QString file = folder + QStringLiteral("/deeper/fontcache.dat");
    {
        TGlobalFontManager manager(file);
        EXPECT_EQ(manager.CachedFaceCount(), 0);
        auto face = Face(QStringLiteral("Qm Sans"), QStringLiteral("Qm Sans"), QStringLiteral("/s/q.ttf"));
        face->SetStyleName(QStringLiteral("Book"));
        manager.AddAsInstalled(*face);
    }
    ASSERT_TRUE(QFileInfo::exists(file)) << "the missing folders are made";
    {
        TGlobalFontManager manager(file);
        ASSERT_EQ(manager.CachedFaceCount(), 1);
        const TFontItem* face = manager.Cache().Family(0)->Item(0);
        EXPECT_EQ(face->FontFile(), QStringLiteral("/s/q.ttf"));
        EXPECT_EQ(face->StyleName(), QStringLiteral("Book"));
        // Whatever it was, a face read back is a loaded one with its file.
        EXPECT_EQ(face->StatusFlags(), FontStatus::FileLoaded);
        manager.Remove(*face);
    }
    TGlobalFontManager emptied(file);
    EXPECT_EQ(emptied.CachedFaceCount(), 0);

    // A damaged file is read as far as it goes, and the manager starts.
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray::fromHex("0001000000000005") + QByteArray(7, '\x01'));
    damaged.close();
    TGlobalFontManager partly(file);
    EXPECT_EQ(partly.CachedFaceCount(), 0);
}

TEST(GlobalFontManagerFile, TheScopeInstallsTheProcessManager)
{
    TGlobalFontManager& before = TGlobalFontManager::Instance();
    {
        TGlobalFontManagerScope scope(QString{});
        EXPECT_EQ(&TGlobalFontManager::Instance(), &scope.Manager());
    }
    EXPECT_EQ(&TGlobalFontManager::Instance(), &before);
}

} // namespace
