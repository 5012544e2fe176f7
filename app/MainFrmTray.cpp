// The notification-area icon and its menu. The icon shows only while the window is hidden
// to the tray.

#include "app/MainFrm.h"

#include "app/AppIdentity.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

namespace app {

void TMainFormFM::BuildTray()
{
    CoolTrayIcon1 = new QSystemTrayIcon(windowIcon(), this);
    CoolTrayIcon1->setObjectName(QStringLiteral("CoolTrayIcon1"));
    CoolTrayIcon1->setToolTip(QString::fromLatin1(kApplicationTitle));

    pmTray = new QMenu(this);
    pmTray->setObjectName(QStringLiteral("pmTray"));
    QAction* open = pmTray->addAction(QStringLiteral("Open"));
    open->setObjectName(QStringLiteral("pmTrayOpen"));
    pmTray->setDefaultAction(open);
    pmTray->addSeparator();
    QAction* exit = pmTray->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("pmTrayClose"));
    CoolTrayIcon1->setContextMenu(pmTray);

    connect(open, &QAction::triggered, this, &TMainFormFM::pmTrayOpenClick);
    connect(exit, &QAction::triggered, this, &TMainFormFM::pmTrayCloseClick);
    connect(CoolTrayIcon1, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // Many Linux trays report a plain click only; it opens the window like a double click.
        if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
            CoolTrayIcon1DblClick();
    });
}

void TMainFormFM::CoolTrayIcon1DblClick()
{
    BringToFront();
}

void TMainFormFM::pmTrayOpenClick()
{
    show();
}

void TMainFormFM::pmTrayCloseClick()
{
    RequestExit();
}

void TMainFormFM::RequestExit()
{
    FFlags.ExitRequested = true;
    close();
}

} // namespace app
