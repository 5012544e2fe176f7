#include "app/WindowPosition.h"

#include <QStringList>
#include <QWidget>

namespace app {

namespace {

constexpr int kDesktopMargin = 20;

} // namespace

QString FormatWindowPlacement(const TWindowPlacement& placement)
{
    const QRect& r = placement.Rectangle;
    return QStringLiteral("%1,%2,%3,%4,%5,%6")
        .arg(placement.Visible ? 1 : 0)
        .arg(placement.Maximised ? 1 : 0)
        .arg(r.left())
        .arg(r.top())
        .arg(r.width())
        .arg(r.height());
}

TWindowPlacement ParseWindowPlacement(const QString& text, const TWindowPlacement& current)
{
    int fields[6] = {current.Visible ? 1 : 0, current.Maximised ? 1 : 0,
                     current.Rectangle.left(), current.Rectangle.top(),
                     current.Rectangle.width(), current.Rectangle.height()};
    const QStringList parts = text.split(QLatin1Char(','));
    for (int i = 0; i < 6 && i < parts.size(); ++i) {
        bool ok = false;
        const int value = parts[i].trimmed().toInt(&ok);
        if (!ok)
            break;
        fields[i] = value;
    }
    TWindowPlacement placement;
    placement.Visible = fields[0] != 0;
    placement.Maximised = fields[1] != 0;
    placement.Rectangle = QRect(fields[2], fields[3], fields[4], fields[5]);
    return placement;
}

TWindowPlacement CurrentWindowPlacement(const QWidget& window, bool allowMaximised, bool visible)
{
    TWindowPlacement placement;
    placement.Visible = visible;
    placement.Maximised = allowMaximised && window.isMaximized();
    if (placement.Maximised) {
        placement.Rectangle = window.normalGeometry();
    } else {
        placement.Rectangle = QRect(window.pos(), window.size());
    }
    return placement;
}

void ApplyWindowPlacement(QWidget& window, const QString& text, bool allowMaximised,
                          bool applyVisibility, const QSize& desktop)
{
    const TWindowPlacement current = CurrentWindowPlacement(window, false, window.isVisible());
    const TWindowPlacement stored = ParseWindowPlacement(text, current);

    QPoint position = current.Rectangle.topLeft();
    if (stored.Rectangle.left() < desktop.width() - kDesktopMargin)
        position.setX(stored.Rectangle.left());
    if (stored.Rectangle.top() < desktop.height() - kDesktopMargin)
        position.setY(stored.Rectangle.top());

    window.setWindowState(window.windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    window.move(position);
    window.resize(stored.Rectangle.size());
    if (stored.Maximised && allowMaximised)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    if (applyVisibility)
        window.setVisible(stored.Visible);
}

} // namespace app
