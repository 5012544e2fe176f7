// Faces on the font engine: the reference count and its files, private loads, the mark of
// the file under operation, reading details of real files, and drawing.

#include "CatalogueTestFonts.h"
#include "IsolatedEnvironment.h"

#include "catalogue/DisplaySettings.h"
#include "catalogue/FontItem.h"
#include "fontfile/FontFileFaces.h"
#include "platform/FileUnderOperation.h"
#include "platform/FontEngine.h"
#include "support/LoggerUnit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using namespace cataloguetest;
using catalogue::TFontItem;
namespace FontStatus = catalogue::FontStatus;

#define REQUIRE_FILE(path)                                                                                             \
    do {                                                                                                               \
        if (!QFileInfo::exists(path))                                                                                  \
            GTEST_SKIP() << "missing " << (path).toStdString();                                                       \
    } while (false)

// What FreeType itself says of a face, to compare the engine's reading with.
struct TFreeTypeFacts {
    long Glyphs = 0;
    int UnitsPerEm = 0;
    long MappedCharacters = 0;  // code points mapped to a glyph other than 0
    unsigned long NameTableSize = 0;
};

TFreeTypeFacts FreeTypeFacts(const QString& file, int index)
{
    TFreeTypeFacts facts;
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    FT_Face face = nullptr;
    if (FT_New_Face(library, QFile::encodeName(file).constData(), index, &face) == 0) {
        facts.Glyphs = face->num_glyphs;
        facts.UnitsPerEm = face->units_per_EM;
        FT_Load_Sfnt_Table(face, FT_MAKE_TAG('n', 'a', 'm', 'e'), 0, nullptr, &facts.NameTableSize);
        FT_UInt glyph = 0;
        for (FT_ULong code = FT_Get_First_Char(face, &glyph); glyph != 0; code = FT_Get_Next_Char(face, code, &glyph))
            ++facts.MappedCharacters;
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return facts;
}

QString ReadLog(const QString& name)
{
    QFile file(QString::fromStdString(qmtest::IsolatedEnvironment::Global().Root()) + QStringLiteral("/log/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class FontItemEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const QString folder = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Root()) + QStringLiteral("/log");
        QDir().mkpath(folder);
        support::StartLogging(folder, QStringLiteral("catalogue tests"));
        catalogue::SetScreenDpiY(96);
    }
    static void TearDownTestSuite() { support::StopLogging(); }
};

TEST_F(FontItemEngine, ReferenceCountLifecycleLeavesNothingBehind)
{
    REQUIRE_FILE(DejaVuSans());
    platform::TFontEngine& engine = platform::FontEngine();
    const int descriptors = OpenDescriptorCount();
    const int resources = engine.PrivateResourceCount();
    {
        auto item = BrowseItem(QStringLiteral("DejaVu Sans"), DejaVuSans(), 4, 5);
        auto other = BrowseItem(QStringLiteral("DejaVu Sans"), DejaVuSans(), 4, 5);
        item->SetRefCount(1);
        EXPECT_GE(item->FileHandle1(), 0);
        EXPECT_TRUE(item->PrivatelyLoaded());
        EXPECT_TRUE(item->HasStatus(FontStatus::PrivatelyLoaded));
        EXPECT_EQ(item->PrivateResourceString(), DejaVuSans());
        EXPECT_EQ(engine.PrivateLoadCount(DejaVuSans()), 1);
        EXPECT_EQ(OpenDescriptorCount(), descriptors + 1);

        item->SetRefCount(2);  // only the first reference opens
        EXPECT_EQ(engine.PrivateLoadCount(DejaVuSans()), 1);
        other->SetRefCount(1);
        EXPECT_EQ(engine.PrivateLoadCount(DejaVuSans()), 2);
        other->SetRefCount(0);
        EXPECT_EQ(engine.PrivateLoadCount(DejaVuSans()), 1);

        item->SetRefCount(0);
        EXPECT_EQ(item->FileHandle1(), -1);
        EXPECT_FALSE(item->PrivatelyLoaded());
        EXPECT_FALSE(item->HasStatus(FontStatus::PrivatelyLoaded));
        EXPECT_EQ(OpenDescriptorCount(), descriptors);
        EXPECT_EQ(engine.PrivateResourceCount(), resources);

        item->SetRefCount(1);  // freed while referenced: the item lets go itself
    }
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_EQ(engine.PrivateResourceCount(), resources);
}

TEST_F(FontItemEngine, NegativeCountIsLoggedStoredAndLoadsNothing)
{
    REQUIRE_FILE(DejaVuSans());
    auto item = BrowseItem(QStringLiteral("DejaVu Sans"), DejaVuSans(), 4, 5);
    item->SetRefCount(-1);
    EXPECT_EQ(item->RefCount(), -1);
    EXPECT_FALSE(item->PrivatelyLoaded());
    EXPECT_EQ(item->FileHandle1(), -1);
    EXPECT_TRUE(ReadLog(QStringLiteral("error.log"))
                    .contains(QStringLiteral("SetRefCount from 0 to -1 for font DejaVu Sans Regular ") + DejaVuSans()))
        << ReadLog(QStringLiteral("error.log")).toStdString();
    item->SetRefCount(0);
    EXPECT_EQ(platform::FontEngine().PrivateLoadCount(DejaVuSans()), 0);
}

TEST_F(FontItemEngine, DeactivationReleasesAndReactivationTakesBack)
{
    REQUIRE_FILE(DejaVuSans());
    platform::TFontEngine& engine = platform::FontEngine();
    const int descriptors = OpenDescriptorCount();
    auto item = BrowseItem(QStringLiteral("DejaVu Sans"), DejaVuSans(), 4, 5);
    item->SetRefCount(1);
    item->SetActive(false);
    EXPECT_EQ(engine.PrivateLoadCount(DejaVuSans()), 0);
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    item->SetActive(true);
    EXPECT_EQ(engine.PrivateLoadCount(DejaVuSans()), 1);
    EXPECT_TRUE(item->PrivatelyLoaded());

    // Released while deactivated: nothing may be left loaded when it is activated again.
    item->SetActive(false);
    item->SetRefCount(0);
    item->SetActive(true);
    EXPECT_EQ(engine.PrivateLoadCount(DejaVuSans()), 0);
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    const QString general = ReadLog(QStringLiteral("general.log"));
    EXPECT_TRUE(general.contains(QStringLiteral("SetActive to False for DejaVu Sans Regular")));
    EXPECT_TRUE(general.contains(QStringLiteral("SetActive to True for DejaVu Sans Regular")));
}

TEST_F(FontItemEngine, TheFileUnderOperationIsNotLoaded)
{
    REQUIRE_FILE(DejaVuSans());
    platform::TFontEngine& engine = platform::FontEngine();
    auto item = BrowseItem(QStringLiteral("DejaVu Sans"), DejaVuSans(), 4, 5);
    {
        const platform::TFileUnderOperationScope outer(DejaVuSans());
        {
            const platform::TFileUnderOperationScope inner(DejaVuSans());
        }
        // Still marked: marks nest.
        item->SetRefCount(1);
        EXPECT_FALSE(item->PrivatelyLoaded());
        EXPECT_TRUE(item->HasStatus(FontStatus::NotDisplayable));
        EXPECT_EQ(engine.PrivateLoadCount(DejaVuSans()), 0);
        EXPECT_FALSE(item->LoadFont());
        item->SetRefCount(0);
        // Another file loads as usual.
        EXPECT_TRUE(engine.AddPrivateFont(DejaVuSansBold()));
        EXPECT_TRUE(engine.RemovePrivateFont(DejaVuSansBold()));
    }
    EXPECT_TRUE(platform::FileUnderOperation().isEmpty());
    item->SetRefCount(1);
    EXPECT_TRUE(item->PrivatelyLoaded());
    EXPECT_FALSE(item->HasStatus(FontStatus::NotDisplayable));
    item->SetRefCount(0);
}

TEST_F(FontItemEngine, TheMarkHoldsAcrossThreads)
{
    REQUIRE_FILE(DejaVuSans());
    platform::TFontEngine& engine = platform::FontEngine();
    std::thread([] { platform::MarkFileUnderOperation(DejaVuSans()); }).join();
    bool refusedElsewhere = false;
    std::thread([&] { refusedElsewhere = !engine.AddPrivateFont(DejaVuSans()); }).join();
    EXPECT_TRUE(refusedElsewhere);
    EXPECT_FALSE(engine.AddPrivateFont(DejaVuSans()));
    std::thread([] { platform::UnmarkFileUnderOperation(); }).join();
    EXPECT_TRUE(engine.AddPrivateFont(DejaVuSans()));
    EXPECT_TRUE(engine.RemovePrivateFont(DejaVuSans()));

    // Loads and marks from many threads at once leave consistent counts.
    std::vector<std::thread> threads;
    std::atomic<int> loads{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                if (t == 0) {
                    const platform::TFileUnderOperationScope mark(DejaVuSansBold());
                } else if (engine.AddPrivateFont(DejaVuSans())) {
                    ++loads;
                    engine.RemovePrivateFont(DejaVuSans());
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(loads.load(), 150);
    EXPECT_EQ(engine.PrivateLoadCount(DejaVuSans()), 0);
    EXPECT_TRUE(platform::FileUnderOperation().isEmpty());
}

TEST_F(FontItemEngine, DetailsOfATrueTypeFile)
{
    REQUIRE_FILE(DejaVuSans());
    auto item = BrowseItem(QStringLiteral("DejaVu Sans"), DejaVuSans(), 4, 5);
    item->SetStyleName(QStringLiteral("Book"));
    item->ReadDetails();
    const TFreeTypeFacts facts = FreeTypeFacts(DejaVuSans(), 0);
    EXPECT_EQ(item->RefCount(), 0);
    EXPECT_EQ(item->GlyphCount(), facts.Glyphs);
    EXPECT_EQ(item->UnitsPerEm(), 2048);
    EXPECT_EQ(item->CharacterCount(), facts.MappedCharacters);
    EXPECT_TRUE(item->HasCmap());
    EXPECT_TRUE(item->HeadMagicValid());
    EXPECT_TRUE(item->OS2Read());
    EXPECT_TRUE(item->OS2Regular());
    EXPECT_FALSE(item->HasCFF());
    EXPECT_FALSE(item->Monospaced());
    EXPECT_EQ(item->FontKind(), item->HasDSIG() ? 6 : 5);
    EXPECT_EQ(item->WidthText(), QStringLiteral("Medium (normal)"));
    EXPECT_GT(item->WinAscent(), 0);
    EXPECT_LT(item->WinDescent(), 0);
    EXPECT_TRUE(item->VersionText().startsWith(QStringLiteral("Version 2.")));
    EXPECT_FALSE(item->NameInfo().Version.empty());
    EXPECT_EQ(item->MetricsSource(), catalogue::MetricsSource::Measured);
    EXPECT_GT(item->TextMetrics().HeightRatio, 1000);
    EXPECT_EQ(item->DisplayName(), QStringLiteral("DejaVu Sans"));
    EXPECT_FALSE(item->HasStatus(FontStatus::NotDisplayable));

    auto mono = BrowseItem(QStringLiteral("DejaVu Sans Mono"), DejaVuSansMono(), 4, 5);
    mono->ReadDetails();
    EXPECT_TRUE(mono->Monospaced());
}

TEST_F(FontItemEngine, DetailsOfCollectionMembersComeFromTheirOwnTables)
{
    REQUIRE_FILE(Collection());
    fontfile::TFontReadRequest request;
    request.FirstFile = QFile::encodeName(Collection()).toStdString();
    const fontfile::TFontReadResult result = fontfile::ReadFontFileFaces(request);
    ASSERT_EQ(result.Items.Count(), 2u);
    for (std::size_t i = 0; i < result.Items.Count(); ++i) {
        const fontfile::TGeneralFontInfoItem& record = result.Items[i];
        auto item = BrowseItem(QString::fromStdU16String(record.FamilyName()), Collection(), record.GdiTypeBits(),
                               record.FontKind());
        item->SetFullName(QString::fromStdU16String(record.FaceFullName()));
        item->ReadDetails();
        const TFreeTypeFacts facts = FreeTypeFacts(Collection(), static_cast<int>(i));
        EXPECT_EQ(item->FontKind(), 4);
        EXPECT_EQ(item->GlyphCount(), facts.Glyphs) << i;
        EXPECT_EQ(item->UnitsPerEm(), facts.UnitsPerEm);
        // The members share some tables and not others; the naming tables differ.
        const catalogue::TFontItemReference reference(*item);
        const auto font = item->CreateDisplayFont(12);
        ASSERT_TRUE(font);
        EXPECT_EQ(font->FaceIndex(), static_cast<int>(i));
        EXPECT_EQ(font->FontDataSize("name"), facts.NameTableSize) << i;
    }
    ASSERT_NE(FreeTypeFacts(Collection(), 0).NameTableSize, FreeTypeFacts(Collection(), 1).NameTableSize);

    // An active face known only by its family name: the whole data of its member carries
    // a table directory of its own.
    TFontItem active(QStringLiteral("WenQuanYi Micro Hei Mono"), true);
    active.SetGdiTypeBits(4);
    active.SetStatusFlags(FontStatus::Loaded);
    active.ReadDetails();
    EXPECT_EQ(active.FontKind(), 5);  // no collection kind without the file's record
    EXPECT_TRUE(active.DirectoryHeadMagicValid());
    const auto font = active.CreateDisplayFont(12);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->FaceIndex(), 1);
    EXPECT_EQ(font->FontDataSize("name"), FreeTypeFacts(Collection(), 1).NameTableSize);
    const std::optional<QByteArray> whole = font->FontData({});
    ASSERT_TRUE(whole);
    EXPECT_TRUE(whole->startsWith(QByteArray::fromHex("00010000")));
}

TEST_F(FontItemEngine, PostScriptOutlinesGiveKindSeven)
{
    REQUIRE_FILE(CffOpenType());
    for (const int recordKind : {7, 0}) {
        auto item = BrowseItem(QStringLiteral("Nimbus Sans"), CffOpenType(), 2, recordKind);
        item->ReadDetails();
        EXPECT_EQ(item->FontKind(), 7) << recordKind;
        EXPECT_TRUE(item->HasCFF());
        EXPECT_GT(item->GlyphCount(), 0);
        EXPECT_EQ(item->UnitsPerEm(), FreeTypeFacts(CffOpenType(), 0).UnitsPerEm);
    }
}

TEST_F(FontItemEngine, KindsWithoutTables)
{
    const struct {
        int GdiType;
        int Kind;
    } cases[] = {{0, 2}, {1, 1}, {-1, 8}, {3, 8}};
    for (const auto& c : cases) {
        TFontItem item(QStringLiteral("Nothing"), false);
        item.SetGdiTypeBits(c.GdiType);
        item.ReadDetails();
        EXPECT_EQ(item.FontKind(), c.Kind) << c.GdiType;
    }
}

TEST_F(FontItemEngine, DisplayFontComesFromTheFaceItself)
{
    REQUIRE_FILE(DejaVuSansBold());
    // A browsed face draws from its own file, never from the installed face of its name.
    const QString copy = ScratchCopy(DejaVuSansBold(), QStringLiteral("own"));
    auto browsed = BrowseItem(QStringLiteral("DejaVu Sans"), copy, 4, 5, 700);
    {
        const catalogue::TFontItemReference reference(*browsed);
        const auto font = browsed->CreateDisplayFont(12);
        ASSERT_TRUE(font);
        EXPECT_EQ(font->FontFile(), copy);
        EXPECT_EQ(browsed->DisplayFontDescription().Height, -16);
        EXPECT_EQ(browsed->DisplayFontDescription().FaceName, QStringLiteral("DejaVu Sans"));
        EXPECT_EQ(browsed->DisplayFontDescription().OutPrecision, 4);
    }
    // An active face without a known file: the system's face of that family and style.
    TFontItem active(QStringLiteral("DejaVu Sans"), true);
    active.SetStatusFlags(FontStatus::Loaded);
    active.SetWeight(700);
    const auto bold = active.CreateDisplayFont(12);
    ASSERT_TRUE(bold);
    EXPECT_EQ(QFileInfo(bold->FontFile()).fileName(), QStringLiteral("DejaVuSans-Bold.ttf"));
    // No substitute of another family; and no display font for a face that is not loaded.
    TFontItem missing(QStringLiteral("No Such Family Quillmark"), true);
    missing.SetStatusFlags(FontStatus::Loaded);
    EXPECT_FALSE(missing.CreateDisplayFont(12));
    EXPECT_FALSE(missing.DisplayFontCreated());
    TFontItem notLoaded(QStringLiteral("DejaVu Sans"), false);
    EXPECT_FALSE(notLoaded.CreateDisplayFont(12));
}

bool HasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

QImage Blank()
{
    QImage image(400, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TEST_F(FontItemEngine, DrawingAFaceAndItsFallback)
{
    REQUIRE_FILE(DejaVuSans());
    auto item = BrowseItem(QStringLiteral("DejaVu Sans"), DejaVuSans(), 4, 5);
    QImage image = Blank();
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        EXPECT_TRUE(item->DrawPreview(painter, image.rect(), QStringLiteral("fallback"), QStringLiteral("Preview"), 20));
    }
    EXPECT_TRUE(HasInk(image));
    EXPECT_EQ(item->RefCount(), 0);
    QImage centred = Blank();
    {
        QPainter painter(&centred);
        painter.setPen(Qt::black);
        EXPECT_TRUE(item->DrawTextCentred(painter, centred.rect(), QStringLiteral("Centred"), 20));
    }
    EXPECT_TRUE(HasInk(centred));

    // A damaged file cannot be shown: kind 0, and the fallback text in the interface font.
    const QString damaged = DamagedFont(QStringLiteral("Broken.ttf"));
    auto broken = BrowseItem(QStringLiteral("Broken"), damaged, 4, 0);
    broken->ReadDetails();
    EXPECT_EQ(broken->FontKind(), 0);
    EXPECT_TRUE(broken->HasStatus(FontStatus::NotDisplayable));
    EXPECT_EQ(broken->TypeText(), QStringLiteral("Unknown font type"));

    catalogue::SetPreviewFallbackFontName(QStringLiteral("DejaVu Sans"));
    QImage fallback = Blank();
    {
        QPainter painter(&fallback);
        painter.setPen(Qt::black);
        EXPECT_FALSE(broken->DrawPreview(painter, fallback.rect(), QStringLiteral("Not available"),
                                         QStringLiteral("Preview"), 20));
        EXPECT_FALSE(broken->DrawTextCentred(painter, fallback.rect(), QStringLiteral("X"), 20));
    }
    QImage expected = Blank();
    {
        QPainter painter(&expected);
        painter.setPen(Qt::black);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(14);  // 70 % of 20
        painter.setFont(font);
        QRect rect = expected.rect();
        rect.setTop(rect.top() + 1);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QStringLiteral("Not available"));
    }
    EXPECT_TRUE(HasInk(fallback));
    EXPECT_EQ(fallback, expected);
    EXPECT_EQ(broken->RefCount(), 0);
    EXPECT_EQ(platform::FontEngine().PrivateLoadCount(damaged), 0);
}

} // namespace
