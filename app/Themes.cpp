#include "Themes.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace app {

namespace {

struct TThemeColors {
    QColor window, windowText, base, alternateBase, button, buttonText, light, mid, dark,
        highlight, highlightedText, toolTipBase, disabledText;
};

TThemeColors AluminumColors()
{
    return {QColor(0xdc, 0xdc, 0xdc), QColor(0x1e, 0x1e, 0x1e), QColor(0xff, 0xff, 0xff),
            QColor(0xee, 0xee, 0xee), QColor(0xd0, 0xd0, 0xd0), QColor(0x1e, 0x1e, 0x1e),
            QColor(0xf4, 0xf4, 0xf4), QColor(0xa8, 0xa8, 0xa8), QColor(0x80, 0x80, 0x80),
            QColor(0x6a, 0x7f, 0x99), QColor(0xff, 0xff, 0xff), QColor(0xf6, 0xf6, 0xe8),
            QColor(0x8c, 0x8c, 0x8c)};
}

TThemeColors DreamColors()
{
    return {QColor(0xe8, 0xe6, 0xf4), QColor(0x2a, 0x24, 0x40), QColor(0xfb, 0xfa, 0xff),
            QColor(0xf1, 0xee, 0xf9), QColor(0xd8, 0xd3, 0xee), QColor(0x2a, 0x24, 0x40),
            QColor(0xff, 0xff, 0xff), QColor(0xb8, 0xb0, 0xd8), QColor(0x8f, 0x86, 0xb5),
            QColor(0x7b, 0x68, 0xc8), QColor(0xff, 0xff, 0xff), QColor(0xfa, 0xf4, 0xff),
            QColor(0x9a, 0x94, 0xb0)};
}

QPalette PaletteOf(const TThemeColors& c)
{
    QPalette p(c.windowText, c.button, c.light, c.dark, c.mid, c.windowText, c.light, c.base, c.window);
    p.setColor(QPalette::AlternateBase, c.alternateBase);
    p.setColor(QPalette::ButtonText, c.buttonText);
    p.setColor(QPalette::Highlight, c.highlight);
    p.setColor(QPalette::HighlightedText, c.highlightedText);
    p.setColor(QPalette::ToolTipBase, c.toolTipBase);
    p.setColor(QPalette::ToolTipText, c.windowText);
    p.setColor(QPalette::PlaceholderText, c.disabledText);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, c.disabledText);
    return p;
}

struct TDesktopLook {
    QString styleName;
    QPalette palette;
};

const TDesktopLook& DesktopLook()
{
    static const TDesktopLook look{QApplication::style() ? QApplication::style()->name() : QString(),
                                   QApplication::palette()};
    return look;
}

void UseStyle(const QString& name)
{
    if (name.isEmpty() || !QApplication::style() || QApplication::style()->name().compare(name, Qt::CaseInsensitive) == 0)
        return;
    if (QStyle* style = QStyleFactory::create(name))
        QApplication::setStyle(style); // the application takes ownership
}

} // namespace

TTheme ThemeFromIndex(int index)
{
    switch (index) {
    case 1: return TTheme::Aluminum;
    case 2: return TTheme::Dream;
    default: return TTheme::Default;
    }
}

void ApplyTheme(TTheme theme)
{
    const TDesktopLook& desktop = DesktopLook();
    switch (theme) {
    case TTheme::Default:
        UseStyle(desktop.styleName);
        QApplication::setPalette(desktop.palette);
        break;
    case TTheme::Aluminum:
        UseStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(PaletteOf(AluminumColors()));
        break;
    case TTheme::Dream:
        UseStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(PaletteOf(DreamColors()));
        break;
    }
}

QColor ThemeViewColor(TTheme theme)
{
    switch (theme) {
    case TTheme::Aluminum: return AluminumColors().base;
    case TTheme::Dream: return DreamColors().base;
    case TTheme::Default: break;
    }
    return DesktopLook().palette.color(QPalette::Base);
}

} // namespace app
