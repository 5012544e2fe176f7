#include "app/WindowPosition.h"

#include "settings/WideRegistry.h"
#include "support/LoggerUnit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <exception>
#include <functional>

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

namespace {

const QString kPositionValue = QStringLiteral("Position");

// Runs access on key of HKEY_CURRENT_USER; false when the key cannot be opened or access
// raises (the error goes to the log: a stored place is never worth stopping the program).
bool WithKey(const QString& key, bool canCreate, const std::function<void(settings::TWideRegistry&)>& access)
{
    try {
        settings::TWideRegistry registry;
        registry.SetRootKey(settings::HKEY_CURRENT_USER);
        if (!registry.OpenKey(key, canCreate))
            return false;
        access(registry);
        registry.CloseKey();
        return true;
    } catch (const std::exception& error) {
        support::LogError(QStringLiteral("Window position %1: %2").arg(key, QString::fromUtf8(error.what())));
        return false;
    }
}

// An event filter that stores the dialog's place when it is hidden (closed, accepted or
// rejected alike).
class TDialogPositionKeeper : public QObject {
public:
    TDialogPositionKeeper(QWidget& dialog, QString key) : QObject(&dialog), FKey(std::move(key)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched == parent())
            SaveWindowPosition(*static_cast<QWidget*>(watched), FKey, false);
        return false;
    }

private:
    QString FKey;
};

void Centre(QWidget& dialog)
{
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (!area.isValid())
        return;
    QRect frame(QPoint(), dialog.size());
    frame.moveCenter(area.center());
    dialog.move(frame.topLeft());
}

} // namespace

void SaveWindowPosition(const QWidget& window, const QString& key, bool allowMaximised)
{
    const TWindowPlacement placement = CurrentWindowPlacement(window, allowMaximised, window.isVisible());
    WithKey(key, true, [&](settings::TWideRegistry& registry) {
        registry.WriteStringW(kPositionValue, FormatWindowPlacement(placement));
    });
}

bool RestoreWindowPosition(QWidget& window, const QString& key, bool allowMaximised, bool applyVisibility)
{
    QString text;
    bool found = false;
    WithKey(key, false, [&](settings::TWideRegistry& registry) {
        if (!registry.ValueExistsW(kPositionValue))
            return;
        text = registry.ReadStringW(kPositionValue);
        found = true;
    });
    if (!found)
        return false;
    ApplyWindowPlacement(window, text, allowMaximised, applyVisibility, WholeDesktopSize());
    return true;
}

int ReadRegistryInteger(const QString& key, const QString& name, int defaultValue)
{
    int value = defaultValue;
    WithKey(key, false, [&](settings::TWideRegistry& registry) {
        if (registry.GetDataType(name) == settings::TRegValueKind::Integer)
            value = registry.ReadInteger(name);
    });
    return value;
}

void WriteRegistryInteger(const QString& key, const QString& name, int value)
{
    WithKey(key, true, [&](settings::TWideRegistry& registry) { registry.WriteInteger(name, value); });
}

QString ReadRegistryText(const QString& key, const QString& name, const QString& defaultValue)
{
    QString value = defaultValue;
    WithKey(key, false, [&](settings::TWideRegistry& registry) {
        const settings::TRegValueKind kind = registry.GetDataType(name);
        if (kind == settings::TRegValueKind::String || kind == settings::TRegValueKind::ExpandString)
            value = registry.ReadStringW(name);
    });
    return value;
}

void WriteRegistryText(const QString& key, const QString& name, const QString& value)
{
    WithKey(key, true, [&](settings::TWideRegistry& registry) { registry.WriteStringW(name, value); });
}

bool ReadRegistryBinary(const QString& key, const QString& name, QByteArray& data)
{
    data.clear();
    bool found = false;
    WithKey(key, false, [&](settings::TWideRegistry& registry) {
        if (registry.GetDataType(name) != settings::TRegValueKind::Binary)
            return;
        data = registry.ReadBinaryData(name);
        found = true;
    });
    return found;
}

void WriteRegistryBinary(const QString& key, const QString& name, const QByteArray& data)
{
    WithKey(key, true, [&](settings::TWideRegistry& registry) { registry.WriteBinaryData(name, data); });
}

QSize WholeDesktopSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry().size() : QSize(1024, 768);
}

void RememberDialogPosition(QWidget& dialog, const QString& key)
{
    if (!RestoreWindowPosition(dialog, key, false, false))
        Centre(dialog);
    dialog.installEventFilter(new TDialogPositionKeeper(dialog, key));
}

} // namespace app
