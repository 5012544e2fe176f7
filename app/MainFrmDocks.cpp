// The five dock panels: Fonts on the left (its lists: MainFrmFontLists.cpp), Characters in
// the client area, Information, Sample and Zoom side by side at the bottom. The other
// panels' contents arrive with their features.

#include "app/MainFrm.h"

#include "app/FontCommands.h"
#include "app/FontsPanelLayout.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDockWidget>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {

constexpr int kFontsPanelWidth = 309;
constexpr int kFontsPanelMinimumWidth = 160;
constexpr int kPanelMinimumWidth = 80;
constexpr int kBottomPanelWidth = 200;
constexpr int kBottomPanelHeight = 150;

QWidget* AddTabSheet(QTabWidget* tabs, const char* name, const QString& caption)
{
    auto* sheet = new QWidget(tabs);
    sheet->setObjectName(QLatin1String(name));
    tabs->addTab(sheet, caption);
    return sheet;
}

constexpr int kTabButtonWidth = 14;

QToolButton* AddTabButton(QWidget* row, const char* name, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(row);
    button->setObjectName(QLatin1String(name));
    button->setArrowType(arrow);
    button->setAutoRaise(true);
    // Narrow, so that the captions of the three tabs keep their room in a narrow panel.
    button->setFixedWidth(kTabButtonWidth);
    button->setIconSize(QSize(kTabButtonWidth - 6, kTabButtonWidth - 6));
    row->layout()->addWidget(button);
    return button;
}

// The float and close buttons Qt puts in a dock's title bar; negative while neither shows.
int TitleButtonsWidth(const QDockWidget& panel)
{
    int width = 0;
    bool shown = false;
    for (const char* name : {"qt_dockwidget_floatbutton", "qt_dockwidget_closebutton"}) {
        const auto* button = panel.findChild<QAbstractButton*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        if (button && !button->isHidden()) {
            width += button->sizeHint().width();
            shown = true;
        }
    }
    return shown ? width : -1;
}

} // namespace

QDockWidget* TMainFormFM::CreateDockPanel(const QString& name, const QString& caption, int minimumWidth)
{
    auto* panel = new QDockWidget(caption, this);
    panel->setObjectName(name);
    panel->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
    panel->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* client = new QWidget(panel);
    client->setObjectName(name + QStringLiteral("Client"));
    client->setMinimumWidth(minimumWidth);
    panel->setWidget(client);
    return panel;
}

void TMainFormFM::BuildDocks()
{
    // The panels fill the window. The client placeholder has no width, so the Fonts and
    // Characters panels meet; its height keeps the bottom panels at their own height.
    auto* pnlClient = new QWidget(this);
    pnlClient->setObjectName(QStringLiteral("pnlClient"));
    pnlClient->setFixedWidth(0);
    pnlClient->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setCentralWidget(pnlClient);
    setDockNestingEnabled(true);

    dpFonts = CreateDockPanel(QStringLiteral("dpFonts"), QStringLiteral("Fonts"), kFontsPanelMinimumWidth);
    auto* fontsLayout = new QVBoxLayout(dpFonts->widget());
    fontsLayout->setContentsMargins(2, 2, 2, 2);
    auto* choosers = new QHBoxLayout;
    cbPreviewTexts = new QComboBox(dpFonts->widget());
    cbPreviewTexts->setObjectName(QStringLiteral("cbPreviewTexts"));
    cbPreviewSize = new QComboBox(dpFonts->widget());
    cbPreviewSize->setObjectName(QStringLiteral("cbPreviewSize"));
    cbPreviewSize->addItems({QStringLiteral("Tiny"), QStringLiteral("Small"), QStringLiteral("Medium"),
                             QStringLiteral("Large"), QStringLiteral("Extra Large"), QStringLiteral("Ultra Large")});
    cbPreviewSize->setCurrentIndex(2);
    choosers->addStretch(1);
    choosers->addWidget(cbPreviewTexts);
    choosers->addWidget(cbPreviewSize);
    fontsLayout->addLayout(choosers);
    dpFonts->widget()->installEventFilter(this);

    tcFonts = new QTabWidget(dpFonts->widget());
    tcFonts->setObjectName(QStringLiteral("tcFonts"));
    tsFontsActive = AddTabSheet(tcFonts, "tsFontsActive", QStringLiteral("Active"));
    tsFontsBrowse = AddTabSheet(tcFonts, "tsFontsBrowse", QStringLiteral("Browse"));
    tsFontsGroups = AddTabSheet(tcFonts, "tsFontsGroups", QStringLiteral("Groups"));
    BuildFontsTabButtons();
    fontsLayout->addWidget(tcFonts, 1);
    BuildFontLists();
    addDockWidget(Qt::LeftDockWidgetArea, dpFonts);

    dpCharacters = CreateDockPanel(QStringLiteral("dpCharacters"), QStringLiteral("Characters"), kPanelMinimumWidth);
    addDockWidget(Qt::RightDockWidgetArea, dpCharacters);

    dpInformation = CreateDockPanel(QStringLiteral("dpInformation"), QStringLiteral("Information"), kPanelMinimumWidth);
    dpSample = CreateDockPanel(QStringLiteral("dpSample"), QStringLiteral("Sample"), kPanelMinimumWidth);
    dpZoom = CreateDockPanel(QStringLiteral("dpZoom"), QStringLiteral("Zoom"), kPanelMinimumWidth);
    addDockWidget(Qt::BottomDockWidgetArea, dpInformation);
    splitDockWidget(dpInformation, dpSample, Qt::Horizontal);
    splitDockWidget(dpSample, dpZoom, Qt::Horizontal);
    FDefaultPanelSizesPending = true;
}

// The two arrows beside the tabs step to the neighbouring tab.
void TMainFormFM::BuildFontsTabButtons()
{
    auto* row = new QWidget(tcFonts);
    row->setObjectName(QStringLiteral("pnlFontsTabButtons"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tiFontsTabLeft = AddTabButton(row, "tiFontsTabLeft", Qt::LeftArrow);
    tiFontsTabRight = AddTabButton(row, "tiFontsTabRight", Qt::RightArrow);
    tcFonts->setCornerWidget(row, Qt::TopRightCorner);
    // These arrows move between the tabs; the tab bar's own scroll arrows would be a second
    // pair, so captions that do not fit are shortened instead.
    tcFonts->setUsesScrollButtons(false);
    tcFonts->setElideMode(Qt::ElideRight);
    connect(tiFontsTabLeft, &QToolButton::clicked, this, &TMainFormFM::tiFontsTabLeftClick);
    connect(tiFontsTabRight, &QToolButton::clicked, this, &TMainFormFM::tiFontsTabRightClick);
    UpdateFontsTabButtons();
}

void TMainFormFM::FitPreviewTextsBox()
{
    TFontsPanelMeasures measures;
    measures.ClientWidth = dpFonts->widget()->width();
    QFont bold = dpFonts->font();
    bold.setBold(true);
    measures.CaptionWidth = QFontMetrics(bold).horizontalAdvance(dpFonts->windowTitle());
    // The panel has no operation buttons of its own: the Unload button of the Standard
    // toolbar gives their width. Size hints, because the panel's layout may not have placed
    // the widgets yet when its resize arrives.
    if (FFontCommands) {
        if (const QWidget* unload = tbStandard->widgetForAction(FFontCommands->Action(TFontCommand::Unload)))
            measures.ToolButtonWidth = unload->sizeHint().width();
    }
    measures.PreviewSizeWidth = cbPreviewSize->sizeHint().width();
    measures.TitleButtonsWidth = TitleButtonsWidth(*dpFonts);
    cbPreviewTexts->setFixedWidth(PreviewTextsWidth(measures));
}

// The dock layout only honours sizes once the window has its own size, so this runs when
// the window is first shown (and not at all when stored positions were restored).
void TMainFormFM::ApplyDefaultPanelSizes()
{
    FDefaultPanelSizesPending = false;
    // The Characters panel takes what the Fonts panel leaves.
    const int separator = style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
    // Two separators: one on each side of the zero-width client placeholder.
    const int charactersWidth = std::max(kPanelMinimumWidth, width() - kFontsPanelWidth - 2 * separator);
    resizeDocks({dpFonts, dpCharacters}, {kFontsPanelWidth, charactersWidth}, Qt::Horizontal);
    resizeDocks({dpInformation, dpSample, dpZoom}, {kBottomPanelWidth, kBottomPanelWidth, kBottomPanelWidth}, Qt::Horizontal);
    resizeDocks({dpInformation}, {kBottomPanelHeight}, Qt::Vertical);
}

} // namespace app
