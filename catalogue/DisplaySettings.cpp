#include "DisplaySettings.h"

#include "support/FontHelper.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <atomic>
#include <cmath>
#include <mutex>

namespace catalogue {

namespace {

constexpr int kDefaultDpi = 96;
std::atomic<int> GScreenDpiY{0};

struct TFallbackFont {
    std::mutex Lock;
    QString Name;
};

TFallbackFont& FallbackFont()
{
    static TFallbackFont font;
    return font;
}

} // namespace

int ScreenDpiY()
{
    if (const int dpi = GScreenDpiY.load(); dpi > 0)
        return dpi;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread())
        return kDefaultDpi;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : kDefaultDpi;
    GScreenDpiY.store(dpi > 0 ? dpi : kDefaultDpi);
    return GScreenDpiY.load();
}

void SetScreenDpiY(int dpi) { GScreenDpiY.store(dpi > 0 ? dpi : kDefaultDpi); }

QString PreviewFallbackFontName()
{
    TFallbackFont& font = FallbackFont();
    const std::lock_guard guard(font.Lock);
    if (font.Name.isEmpty())
        font.Name = support::TFontHelper::SmallTextFontName();
    return font.Name;
}

void SetPreviewFallbackFontName(const QString& name)
{
    TFallbackFont& font = FallbackFont();
    const std::lock_guard guard(font.Lock);
    font.Name = name;
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long double exact = static_cast<long double>(a) * b / c;
    return static_cast<int>(std::llround(exact));
}

} // namespace catalogue
