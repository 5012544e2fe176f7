// Display fonts over FreeType faces: glyph drawing on pixel devices and through outlines, the
// character map of symbol fonts, and Type 1 faces whose metrics come from their header.

#include "IsolatedEnvironment.h"

#include "platform/FontEngine.h"
#include "platform/FontEngineFreeType.h"
#include "platform/FreeTypeGlyphs.h"
#include "platform/Type1DisplayFont.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using platform::TDisplayFont;
using platform::TFontBytes;
using platform::TFontFileBytes;
using platform::TTextMetrics;

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kMarlett = QStringLiteral("/usr/share/wine/fonts/marlett.ttf");

#define REQUIRE_FILE(path)                                                                                             \
    do {                                                                                                               \
        if (!QFileInfo::exists(path))                                                                                  \
            GTEST_SKIP() << "missing " << (path).toStdString();                                                       \
    } while (false)

std::unique_ptr<TDisplayFont> FontOf(const QString& file, int pixelHeight)
{
    return platform::CreateFreeTypeDisplayFont(TFontFileBytes::Open(file), file, 0, pixelHeight);
}

QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

// The box of the pixels that are no longer white; empty when none changed.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(FreeTypeDisplayFont, DrawsGlyphImagesInThePenColourOnTheBaseLine)
{
    REQUIRE_FILE(kDejaVuSans);
    const auto font = FontOf(kDejaVuSans, 24);
    ASSERT_TRUE(font);
    QImage image = WhiteImage(200, 60);
    {
        QPainter painter(&image);
        painter.setPen(Qt::red);
        ASSERT_TRUE(platform::PaintsDevicePixels(painter));
        EXPECT_TRUE(font->DrawText(painter, QPointF(10, 40), QStringLiteral("HHH")));
    }
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isEmpty());
    // Capital H sits on the base line and is as tall as the cap height.
    EXPECT_EQ(ink.bottom(), 39);
    EXPECT_GE(ink.top(), 40 - font->TextMetrics().Ascent);
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 10 + font->TextWidth(QStringLiteral("HHH")));
    bool solidRed = false;
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            EXPECT_EQ(qRed(pixel), 255) << "not a shade of the pen at " << x << "," << y;
            solidRed = solidRed || pixel == qRgb(255, 0, 0);
        }
    EXPECT_TRUE(solidRed);
}

TEST(FreeTypeDisplayFont, ALongTextInAClipDrawsWhatTheWholeTextDrawsThere)
{
    REQUIRE_FILE(kDejaVuSans);
    const auto font = FontOf(kDejaVuSans, 18);
    ASSERT_TRUE(font);
    const QString text = QStringLiteral("The quick brown fox jumps over the lazy dog. ").repeated(20);
    QImage whole = WhiteImage(900, 40);
    QImage clipped = WhiteImage(900, 40);
    {
        QPainter painter(&whole);
        font->DrawText(painter, QPointF(3, 28), text);
    }
    const QRect clip(0, 0, 250, 40);
    {
        QPainter painter(&clipped);
        painter.setClipRect(clip);
        font->DrawText(painter, QPointF(3, 28), text);
    }
    EXPECT_EQ(clipped.copy(clip), whole.copy(clip));
    EXPECT_TRUE(InkBox(clipped.copy(QRect(250, 0, 650, 40))).isEmpty());
}

TEST(FreeTypeDisplayFont, ScaledPaintersGetOutlines)
{
    REQUIRE_FILE(kDejaVuSans);
    const auto font = FontOf(kDejaVuSans, 20);
    ASSERT_TRUE(font);
    QImage image = WhiteImage(200, 100);
    {
        QPainter painter(&image);
        painter.scale(2, 2);
        EXPECT_FALSE(platform::PaintsDevicePixels(painter));
        EXPECT_TRUE(font->DrawText(painter, QPointF(5, 30), QStringLiteral("H")));
    }
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isEmpty());
    // Twice the size: the H's stem reaches well above the unscaled cap height.
    EXPECT_GT(ink.height(), 20);
}

TEST(FreeTypeDisplayFont, ASymbolFontMapsCharactersThroughItsPrivateUseCodes)
{
    REQUIRE_FILE(kMarlett);
    const TFontBytes bytes = TFontFileBytes::Open(kMarlett);
    const auto face = platform::TFreeTypeFace::Open(bytes, 0);
    ASSERT_TRUE(face);
    ASSERT_EQ(face->Get()->charmap, nullptr) << "FreeType chose a map for a symbol-only font";
    platform::ChooseCharacterMap(face->Get());
    EXPECT_NE(platform::GlyphOfCharacter(face->Get(), U'r'), 0u);

    const auto font = FontOf(kMarlett, 20);
    ASSERT_TRUE(font);
    QImage image = WhiteImage(60, 40);
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        font->DrawText(painter, QPointF(5, 30), QStringLiteral("r"));
    }
    EXPECT_FALSE(InkBox(image).isEmpty());
}

TEST(FreeTypeDisplayFont, AType1SymbolFontIsReachedThroughItsOwnEncoding)
{
    const QString dingbats = QStringLiteral("/usr/share/fonts/type1/urw-base35/D050000L.t1");
    REQUIRE_FILE(dingbats);
    const auto face = platform::TFreeTypeFace::Open(TFontFileBytes::Open(dingbats), 0);
    ASSERT_TRUE(face);
    platform::ChooseCharacterMap(face->Get());
    const FT_CharMap before = face->Get()->charmap;
    EXPECT_NE(platform::GlyphOfCharacter(face->Get(), U'a'), 0u);
    EXPECT_EQ(face->Get()->charmap, before) << "the lookup leaves the current map as it was";
}

TEST(FontFileBytes, AFileTheUserMayWriteIsReadSoThatWritingItInPlaceTakesNothingAway)
{
    REQUIRE_FILE(kDejaVuSans);
    const QString copy = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch())
                         + QStringLiteral("/rewritten-in-place.ttf");
    QFile::remove(copy);
    ASSERT_TRUE(QFile::copy(kDejaVuSans, copy));
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile original(copy);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray expected = original.readAll();
    original.close();

    const TFontBytes bytes = TFontFileBytes::Open(copy);
    ASSERT_TRUE(bytes);
    // A font editor saving over the file: cut to nothing, then written anew.
    QFile rewrite(copy);
    ASSERT_TRUE(rewrite.open(QIODevice::WriteOnly | QIODevice::Truncate));
    rewrite.close();
    // Reading a mapped page beyond the new end would end the process.
    EXPECT_EQ(bytes->ToByteArray(), expected);
    const auto font = platform::CreateFreeTypeDisplayFont(bytes, copy, 0, 20);
    ASSERT_TRUE(font);
    QImage image = WhiteImage(120, 40);
    QPainter painter(&image);
    EXPECT_TRUE(font->DrawText(painter, QPointF(5, 30), QStringLiteral("Safe")));
}

// Private loads, display fonts and drawing from several threads at once over the same files,
// as the enumeration thread reads details while the main thread draws: the shared FreeType
// library and the faces handed from a load to a display font must hold.
TEST(FontEngineThreads, LoadsAndDrawingOnSeveralThreadsAtOnce)
{
    std::vector<QString> files;
    for (const char* name : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSerif.ttf", "DejaVuSansMono.ttf"}) {
        const QString file = QStringLiteral("/usr/share/fonts/truetype/dejavu/") + QLatin1String(name);
        if (QFileInfo::exists(file))
            files.push_back(file);
    }
    if (files.empty())
        GTEST_SKIP() << "no DejaVu fonts";
    platform::TFontEngine& engine = platform::FontEngine();
    std::atomic<int> drawn{0};
    const auto work = [&](int seed) {
        for (int round = 0; round < 40; ++round) {
            const QString& file = files[static_cast<std::size_t>(seed + round) % files.size()];
            if (!engine.AddPrivateFont(file))
                continue;
            platform::TLogicalFont font;
            font.Height = -(12 + round % 8);
            platform::TFaceLocation location;
            location.FontFile = file;
            location.FaceIndex = 0;
            if (const auto display = engine.CreateDisplayFont(font, location)) {
                QImage image(160, 40, QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::white);
                QPainter painter(&image);
                if (display->DrawText(painter, QPointF(2, 30), QStringLiteral("Threads")))
                    ++drawn;
            }
            engine.RemovePrivateFont(file);
        }
    };
    std::vector<std::thread> threads;
    for (int seed = 1; seed <= 3; ++seed)
        threads.emplace_back(work, seed);
    work(0);
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(drawn.load(), 4 * 40);
    for (const QString& file : files)
        EXPECT_EQ(engine.PrivateLoadCount(file), 0);
}

std::vector<QString> InstalledType1Files()
{
    std::vector<QString> files;
    for (const QString& folder : {QStringLiteral("/usr/share/fonts"), QStringLiteral("/usr/share/texmf/fonts")}) {
        QDirIterator it(folder, {QStringLiteral("*.t1"), QStringLiteral("*.pfb"), QStringLiteral("*.pfa")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.push_back(it.next());
    }
    return files;
}

bool SameMetrics(const TTextMetrics& a, const TTextMetrics& b)
{
    return a.Height == b.Height && a.Ascent == b.Ascent && a.Descent == b.Descent
           && a.InternalLeading == b.InternalLeading && a.ExternalLeading == b.ExternalLeading;
}

TEST(Type1DisplayFont, MetricsFromTheHeaderAreFreeTypesOwn)
{
    const std::vector<QString> files = InstalledType1Files();
    if (files.empty())
        GTEST_SKIP() << "no Type 1 fonts installed";
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const TFontBytes bytes = TFontFileBytes::Open(file);
        for (const int pixels : {6, 11, 12, 16, 17, 21, 27, 33, 45, 64}) {
            SCOPED_TRACE(pixels);
            const auto fromHeader = platform::CreateType1DisplayFont(bytes, file, 0, pixels);
            const auto opened =
                platform::CreateFreeTypeDisplayFont(platform::TFreeTypeFace::Open(bytes, 0), file, 0, pixels);
            ASSERT_TRUE(fromHeader);
            ASSERT_TRUE(opened);
            const TTextMetrics a = fromHeader->TextMetrics();
            const TTextMetrics b = opened->TextMetrics();
            EXPECT_TRUE(SameMetrics(a, b)) << "header " << a.Ascent << "/" << a.Descent << "/" << a.ExternalLeading
                                           << ", FreeType " << b.Ascent << "/" << b.Descent << "/"
                                           << b.ExternalLeading;
        }
    }
}

TEST(Type1DisplayFont, UnusualMatrixGivesFreeTypesUnitsPerEm)
{
    fontfile::TType1OutlineHeader header;
    header.FontMatrix = {0.00048828125, 0, 0, 0.00048828125, 0, 0};  // 2048 units per em
    header.FontBBox = {-200, -600, 2000, 1900};
    const auto metrics = platform::Type1TextMetrics(header, 20);
    ASSERT_TRUE(metrics);
    // 1900 and -600 units at 20 / 2048 pixels per unit, rounded outwards.
    EXPECT_EQ(metrics->Ascent, 19);
    EXPECT_EQ(metrics->Descent, 6);
    EXPECT_EQ(metrics->InternalLeading, 5);
    header.FontMatrix[3] = 0;
    EXPECT_FALSE(platform::Type1TextMetrics(header, 20));
}

TEST(Type1DisplayFont, ADamagedBodyIsFoundWhenTextIsDrawn)
{
    const QByteArray text = "%!PS-AdobeFont-1.0: Broken 001.000\n/FontMatrix [0.001 0 0 0.001 0 0] readonly def\n"
                            "/FontBBox {0 -200 1000 800} readonly def\ncurrentfile eexec\n"
                            + QByteArray(600, '\x5a');
    const TFontBytes bytes = TFontFileBytes::FromData(text);
    const auto font = platform::CreateFreeTypeDisplayFont(bytes, QStringLiteral("broken.pfa"), 0, 20);
    ASSERT_TRUE(font) << "the header alone makes the display font";
    EXPECT_EQ(font->TextMetrics().Ascent, 16);
    QImage image = WhiteImage(80, 40);
    QPainter painter(&image);
    EXPECT_FALSE(font->DrawText(painter, QPointF(5, 30), QStringLiteral("A")));
    EXPECT_DOUBLE_EQ(font->TextWidth(QStringLiteral("A")), 0.0);
}

TEST(Type1DisplayFont, DrawsTheFaceWhenTextIsDrawn)
{
    const std::vector<QString> files = InstalledType1Files();
    if (files.empty())
        GTEST_SKIP() << "no Type 1 fonts installed";
    const auto font = FontOf(files.front(), 24);
    ASSERT_TRUE(font);
    QImage image = WhiteImage(120, 40);
    {
        QPainter painter(&image);
        EXPECT_TRUE(font->DrawText(painter, QPointF(5, 30), QStringLiteral("Ag")));
    }
    EXPECT_FALSE(InkBox(image).isEmpty());
    EXPECT_GT(font->TextWidth(QStringLiteral("Ag")), 10.0);
}

} // namespace
