// The commands that start font operations and the layout commands, placed in the main
// window's menus, toolbar and list popups, and fed with the current list's selection.

#include "app/MainFrm.h"

#include "app/FontCommands.h"
#include "app/FontListModel.h"
#include "app/FontListView.h"
#include "app/LayoutFrm.h"
#include "app/WindowLayout.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/FontItem.h"

#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace app {

namespace {

TFontListKind KindOfTab(int tab)
{
    switch (tab) {
    case kActiveTab: return TFontListKind::Active;
    case kBrowseTab: return TFontListKind::Browse;
    case kGroupsTab: return TFontListKind::GroupFonts;
    default: return TFontListKind::None;
    }
}

// The selected rows' faces in row order.
std::vector<catalogue::TFontItem*> SelectedFaces(const TFontListView& list)
{
    std::vector<int> rows;
    if (const QItemSelectionModel* selection = list.selectionModel())
        for (const QModelIndex& index : selection->selectedRows())
            rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    std::vector<catalogue::TFontItem*> faces;
    for (int row : rows)
        if (catalogue::TFontItem* face = list.Model().ItemAt(row))
            faces.push_back(face);
    return faces;
}

} // namespace

void TMainFormFM::BuildFontCommands()
{
    FFontCommands = new TFontCommands(this);
    const auto action = [&](TFontCommand command) { return FFontCommands->Action(command); };

    if (auto* file = tbMenuBar->findChild<QMenu*>(QStringLiteral("miFile"))) {
        QAction* first = file->actions().isEmpty() ? nullptr : file->actions().first();
        for (TFontCommand command : {TFontCommand::Install, TFontCommand::Uninstall, TFontCommand::Load,
                                     TFontCommand::Unload})
            file->insertAction(first, action(command));
        file->insertSeparator(first);
    }
    if (auto* edit = tbMenuBar->findChild<QMenu*>(QStringLiteral("miEdit"))) {
        for (TFontCommand command : {TFontCommand::MoveToFolder, TFontCommand::CopyToFolder, TFontCommand::Rename,
                                     TFontCommand::Delete})
            edit->addAction(action(command));
    }
    tbStandard->addSeparator();
    for (TFontCommand command : {TFontCommand::Install, TFontCommand::Uninstall, TFontCommand::Load,
                                 TFontCommand::Unload, TFontCommand::MoveToFolder, TFontCommand::CopyToFolder,
                                 TFontCommand::Delete})
        tbStandard->addAction(action(command));

    pmFonts = new QMenu(this);
    pmFonts->setObjectName(QStringLiteral("pmFonts"));
    for (TFontCommand command : {TFontCommand::Install, TFontCommand::Uninstall, TFontCommand::Load,
                                 TFontCommand::Unload})
        pmFonts->addAction(action(command));
    pmFonts->addSeparator();
    for (TFontCommand command : {TFontCommand::MoveToFolder, TFontCommand::CopyToFolder, TFontCommand::Rename,
                                 TFontCommand::Delete})
        pmFonts->addAction(action(command));
    pmFonts->addSeparator();
    // The popup's own Refresh; F5 belongs to View › Refresh (two actions with one shortcut
    // would cancel each other), so the key is only shown.
    QAction* refresh = pmFonts->addAction(QStringLiteral("&Refresh\tF5"));
    refresh->setObjectName(QStringLiteral("pmFontsRefreshTree"));
    connect(refresh, &QAction::triggered, this, &TMainFormFM::tbmiViewRefreshClick);
    for (TFontListView* list : {vstActiveFonts, vstBrowseFonts, vstGroupFonts}) {
        // Del and F2 act in the list that has the focus.
        list->addAction(action(TFontCommand::Delete));
        list->addAction(action(TFontCommand::Rename));
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& position) {
            UpdateFontCommands();
            pmFonts->popup(list->viewport()->mapToGlobal(position));
        });
    }

    FFontCommands->OnFontsChanged = [this] { FFlags.SystemFontsChanged = true; };
    FFontCommands->OnFileRenameRunning = [this](bool running) { FFlags.FileRenameRunning = running; };
    FFontCommands->OnFontFileRenamed = [this](const QString& oldFile, const QString& oldSecondFile,
                                              const QString& newFile, const QString& newSecondFile) {
        for (int i = 0; i < FBrowseFamilies->Count(); ++i)
            for (catalogue::TFontItem* face : FBrowseFamilies->Family(i)->Items())
                if (face->FontFile() == oldFile && face->SecondFile() == oldSecondFile) {
                    face->SetFontFile(newFile);
                    face->SetSecondFile(newSecondFile);
                }
        vstBrowseFonts->viewport()->update();
    };
    FFontCommands->OnSelectFont = [this](catalogue::TFontItem* face) { SelectFont(face, TSelectionSource::Rebuild); };
    FFontCommands->OnTaskWindowOpen = [this](bool open) { FTaskWindowOpen = open; };
}

void TMainFormFM::BuildLayoutCommands()
{
    FSplitterPanels.SetHeights = [this](int browse, int) {
        if (auto* splitter = findChild<QSplitter*>(QStringLiteral("splBrowse"))) {
            const QList<int> sizes = splitter->sizes();
            int total = 0;
            for (int size : sizes)
                total += size;
            if (sizes.size() == 2 && total > browse)
                splitter->setSizes({browse, total - browse});
        }
    };
    FSplitterPanels.Heights = [this] {
        const auto* splitter = findChild<QSplitter*>(QStringLiteral("splBrowse"));
        const int browse = splitter && !splitter->sizes().isEmpty() ? splitter->sizes().first() : kDefaultSplitterPanelHeight;
        return QSize(browse, kDefaultSplitterPanelHeight);
    };
    const TLayoutActions layouts = CreateLayoutActions(*this, FSplitterPanels);
    if (auto* view = tbMenuBar->findChild<QMenu*>(QStringLiteral("miView"))) {
        layouts.Dialog->setObjectName(QStringLiteral("tbmiViewLayout"));
        view->addAction(layouts.Dialog);
    }
}

void TMainFormFM::UpdateFontCommands()
{
    if (!FFontCommands)
        return;
    TFontSelection selection;
    selection.EnumerationRunning = FActiveFontsThread != nullptr;
    selection.SelectedFont = FSelectedFont;
    if (TFontListView* list = CurrentList()) {
        selection.List = KindOfTab(tcFonts->currentIndex());
        selection.Items = SelectedFaces(*list);
        selection.FocusedFont = list->FocusedFont();
    }
    FFontCommands->SetSelection(selection);
}

} // namespace app
