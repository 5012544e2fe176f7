// The two toolbars below the menu bar, side by side on one row.

#include "app/MainFrm.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QToolBar>

namespace app {

namespace {

constexpr int kFontsBoxWidth = 200;
constexpr int kFontsListMinimumWidth = 340;
constexpr int kFontsListVisibleItems = 14;
constexpr int kFontStyleBoxWidth = 100;

QToolBar* CreateToolbar(QMainWindow* window, const char* name, const QString& caption)
{
    auto* toolbar = new QToolBar(caption, window);
    toolbar->setObjectName(QLatin1String(name));
    toolbar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    window->addToolBar(Qt::TopToolBarArea, toolbar);
    return toolbar;
}

} // namespace

void TMainFormFM::BuildToolbars()
{
    tbStandard = CreateToolbar(this, "tbStandard", QStringLiteral("Standard"));
    tbFormatting = CreateToolbar(this, "tbFormatting", QStringLiteral("Formatting"));

    cbFonts = new QComboBox(tbFormatting);
    cbFonts->setObjectName(QStringLiteral("cbFonts"));
    cbFonts->setFixedWidth(kFontsBoxWidth);
    cbFonts->setMaxVisibleItems(kFontsListVisibleItems);
    cbFonts->view()->setMinimumWidth(kFontsListMinimumWidth);
    tbFormatting->addWidget(cbFonts);

    cbFontStyle = new QComboBox(tbFormatting);
    cbFontStyle->setObjectName(QStringLiteral("cbFontStyle"));
    cbFontStyle->setFixedWidth(kFontStyleBoxWidth);
    tbFormatting->addWidget(cbFontStyle);
}

} // namespace app
