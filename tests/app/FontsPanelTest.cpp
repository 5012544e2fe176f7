// The Fonts panel of the main window on the offscreen platform, its controls found by name:
// the Browse list fed by a folder scan, captions, the selected font through the list, the
// family and style drop-downs, the selection count, the Groups list's empty text, rows
// painted in the faces' own fonts, the preview text chooser's width, the tab arrows, Refresh
// in the folder tree and double clicks on a list header.

#include "app/FontListModel.h"
#include "app/FontListView.h"
#include "app/FontsPanelLayout.h"
#include "app/MainFrm.h"

#include "IsolatedEnvironment.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/DisplaySettings.h"
#include "catalogue/FontItem.h"
#include "platform/FontEngine.h"
#include "settings/BaseRegistrySettings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <QToolButton>
#include <QTreeView>

#include <functional>
#include <memory>

namespace {

using app::TFontListView;
using app::TMainFormFM;
using catalogue::TFontItem;
using catalogue::TFontItems;

const QString kDejaVuFolder = QStringLiteral("/usr/share/fonts/truetype/dejavu/");

bool ServeUntil(const std::function<bool()>& done, int limitMs = 20000)
{
    QDeadlineTimer limit(limitMs);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A folder scan that reports nothing by itself and runs until it is stopped, so that the
// test hands batches over through its handlers while it holds the Browse slot.
class TIdleScan : public catalogue::TBaseFontsThreadEx {
protected:
    void Execute() override
    {
        while (!Terminated())
            QThread::msleep(5);
    }
};

struct TScanRequest {
    QString Folder;
    bool IncludeSubFolders = false;
    bool Forget = false;
};

// A face as a folder scan reports it, from a copy of an installed font.
std::unique_ptr<TFontItem> ScannedFace(const QString& family, const QString& style, int weight, const QString& file)
{
    auto face = std::make_unique<TFontItem>(family, false);
    face->SetFullName(style == QLatin1String("Regular") ? family : family + QLatin1Char(' ') + style);
    face->SetStyleName(style);
    face->SetWeight(weight);
    face->SetFontFile(file);
    face->SetGdiTypeBits(4);
    face->SetFontKind(5);
    return face;
}

class FontsPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(kDejaVuFolder + QStringLiteral("DejaVuSans.ttf")))
            GTEST_SKIP() << "DejaVu fonts are not installed";
        settings::TBaseRegistrySettings::FreeInstance();
        Folder = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + QStringLiteral("/browse-") +
                 QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(Folder).removeRecursively();
        QDir().mkpath(Folder);
        for (const char* name : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSerif.ttf"})
            QFile::copy(kDejaVuFolder + QLatin1String(name), Folder + QLatin1Char('/') + QLatin1String(name));

        Window = std::make_unique<TMainFormFM>();
        Window->resize(900, 700);
        Window->SetBrowseThreadFactory([this](const QString& folder, bool includeSubFolders, bool forget) {
            Requests.push_back({folder, includeSubFolders, forget});
            auto scan = std::make_unique<TIdleScan>();
            Scan = scan.get();
            return scan;
        });
        Tabs = Window->findChild<QTabWidget*>(QStringLiteral("tcFonts"));
        Browse = Window->findChild<TFontListView*>(QStringLiteral("vstBrowseFonts"));
        Fonts = Window->findChild<QComboBox*>(QStringLiteral("cbFonts"));
        Styles = Window->findChild<QComboBox*>(QStringLiteral("cbFontStyle"));
        Count = Window->findChild<QLabel*>(QStringLiteral("sbpActiveFonts"));
        ASSERT_TRUE(Tabs && Browse && Fonts && Styles && Count);
        // Past the start-up work of the first idle moment, as a user would be.
        ASSERT_TRUE(ServeUntil([this] { return !Window->Flags().FirstIdlePending; }));
    }
    void TearDown() override
    {
        Window.reset();
        settings::TBaseRegistrySettings::FreeInstance();
        QDir(Folder).removeRecursively();
    }

    // Browses to the scratch folder and hands its three faces over as the scan's batch.
    void BrowseAndScan()
    {
        Tabs->setCurrentIndex(app::kBrowseTab);
        Window->BrowseToFolder(Folder, true);
        ASSERT_TRUE(Window->BrowseFontsThreadRunning());
        TFontItems items;
        items.push_back(ScannedFace("DejaVu Sans", "Bold", 700, Folder + "/DejaVuSans-Bold.ttf"));
        items.push_back(ScannedFace("DejaVu Serif", "Regular", 400, Folder + "/DejaVuSerif.ttf"));
        items.push_back(ScannedFace("DejaVu Sans", "Regular", 400, Folder + "/DejaVuSans.ttf"));
        bool owns = false;
        Scan->OnAdded(items, owns, *Scan);
    }

    TFontItem* FaceAt(int row) const { return Browse->Model().ItemAt(row); }

    void SelectRows(std::initializer_list<int> rows)
    {
        Browse->selectionModel()->clearSelection();
        for (int row : rows)
            Browse->selectionModel()->select(Browse->Model().index(row, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QString Folder;
    std::unique_ptr<TMainFormFM> Window;
    std::vector<TScanRequest> Requests;
    catalogue::TBaseFontsThreadEx* Scan = nullptr;
    QTabWidget* Tabs = nullptr;
    TFontListView* Browse = nullptr;
    QComboBox* Fonts = nullptr;
    QComboBox* Styles = nullptr;
    QLabel* Count = nullptr;
};

TEST_F(FontsPanelTest, BrowsingAFolderFillsTheListTheCaptionAndTheFamilyBox)
{
    BrowseAndScan();
    ASSERT_EQ(Requests.size(), 1u);
    EXPECT_EQ(Requests[0].Folder, QDir::cleanPath(Folder));
    EXPECT_TRUE(Requests[0].Forget);
    EXPECT_EQ(Window->findChild<QLineEdit*>(QStringLiteral("edBrowseFonts"))->text(), QDir::cleanPath(Folder));
    EXPECT_EQ(Window->LastScannedFolder(), QDir::cleanPath(Folder));

    ASSERT_EQ(Browse->Model().rowCount(), 3);
    // The default order: family, then weight.
    EXPECT_EQ(FaceAt(0)->FullName(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(FaceAt(1)->FullName(), QStringLiteral("DejaVu Sans Bold"));
    EXPECT_EQ(FaceAt(2)->FullName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Tabs->tabText(app::kBrowseTab), QStringLiteral("Browse (3/3)"));
    EXPECT_EQ(Fonts->count(), 2);
    EXPECT_TRUE(Fonts->isEnabled());

    // The end of the scan sorts the catalogue and refills the drop-down in that order.
    Window->BrowseFontsFinished(true);
    EXPECT_EQ(Fonts->itemText(0), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(Fonts->itemText(1), QStringLiteral("DejaVu Serif"));

    // A removed batch takes the face with the same names and files.
    TFontItems removed;
    removed.push_back(ScannedFace("DejaVu Serif", "Regular", 400, Folder + "/DejaVuSerif.ttf"));
    Window->BrowseFontsRemoved(removed);
    EXPECT_EQ(Browse->Model().rowCount(), 2);
    EXPECT_EQ(Tabs->tabText(app::kBrowseTab), QStringLiteral("Browse (2/2)"));
    EXPECT_EQ(Fonts->count(), 1);
}

TEST_F(FontsPanelTest, ABatchFromAReplacedScanIsIgnored)
{
    BrowseAndScan();
    const catalogue::TBaseFontsThreadEx::TBatchEvent firstScansHandler = Scan->OnAdded;
    // Another folder replaces the scan: the list starts afresh.
    const QString other = Folder + QStringLiteral("/sub");
    QDir().mkpath(other);
    Window->BrowseToFolder(other, true);
    ASSERT_EQ(Requests.size(), 2u);
    EXPECT_EQ(Browse->Model().rowCount(), 0);
    EXPECT_EQ(Tabs->tabText(app::kBrowseTab), QStringLiteral("Browse (0/0)"));

    TIdleScan replaced;  // stands for the first scan, no longer in the slot
    TFontItems late;
    late.push_back(ScannedFace("DejaVu Serif", "Regular", 400, Folder + "/DejaVuSerif.ttf"));
    bool owns = false;
    firstScansHandler(late, owns, replaced);
    EXPECT_EQ(Browse->Model().rowCount(), 0);
    EXPECT_EQ(Window->BrowseFamilies().ItemCount(), 0);
    EXPECT_EQ(late.size(), 1u);  // left to the sender

    // The same batch from the scan in the slot is taken.
    firstScansHandler(late, owns, *Scan);
    EXPECT_EQ(Browse->Model().rowCount(), 1);
}

TEST_F(FontsPanelTest, TheSelectedFontFollowsTheListAndTheDropDowns)
{
    BrowseAndScan();
    SelectRows({1});
    Browse->selectionModel()->setCurrentIndex(Browse->Model().index(1, 0), QItemSelectionModel::NoUpdate);
    ASSERT_NE(FaceAt(1), nullptr);
    ASSERT_TRUE(ServeUntil([&] { return Window->SelectedFont() == FaceAt(1); }));
    TFontItem* bold = FaceAt(1);
    EXPECT_EQ(bold->RefCount(), 1);  // held while it is the selected font
    EXPECT_EQ(Fonts->currentText(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(Styles->count(), 2);
    EXPECT_EQ(Styles->currentText(), QStringLiteral("Bold"));
    EXPECT_TRUE(Window->windowTitle().endsWith(QStringLiteral(" - DejaVu Sans Bold")));

    // The style drop-down: the regular face, its row selected.
    emit Styles->activated(Styles->findText(QStringLiteral("Regular")));
    TFontItem* regular = Window->SelectedFont();
    ASSERT_NE(regular, nullptr);
    EXPECT_EQ(regular->StyleText(), QStringLiteral("Regular"));
    EXPECT_EQ(bold->RefCount(), 0);
    EXPECT_EQ(Browse->FocusedFont(), regular);

    // The family drop-down: the family's first shown face.
    emit Fonts->activated(Fonts->findText(QStringLiteral("DejaVu Serif")));
    ASSERT_NE(Window->SelectedFont(), nullptr);
    EXPECT_EQ(Window->SelectedFont()->FullName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Browse->SelectedRowCount(), 1);
    EXPECT_EQ(Count->text(), QStringLiteral("1 font selected"));

    // The selected font removed by a batch: nothing is selected and nothing dangles.
    TFontItems removed;
    removed.push_back(ScannedFace("DejaVu Serif", "Regular", 400, Folder + "/DejaVuSerif.ttf"));
    Window->BrowseFontsRemoved(removed);
    EXPECT_EQ(Window->SelectedFont(), nullptr);
    EXPECT_EQ(Styles->count(), 0);
    EXPECT_FALSE(Styles->isEnabled());
}

TEST_F(FontsPanelTest, AFamilyWhoseFacesAreAllHiddenLeavesNoSelectedFont)
{
    BrowseAndScan();
    // A vertical face without file is never shown, so its family has no face to choose.
    TFontItems vertical;
    vertical.push_back(ScannedFace("@DejaVu Sans", "Regular", 400, QString()));
    Window->BrowseFontsAdded(vertical);
    EXPECT_EQ(Browse->Model().rowCount(), 3);
    EXPECT_EQ(Fonts->findText(QStringLiteral("@DejaVu Sans")), -1);
    EXPECT_EQ(Tabs->tabText(app::kBrowseTab), QStringLiteral("Browse (3/3)"));

    Window->ChooseFamily(QStringLiteral("DejaVu Serif"));
    ASSERT_NE(Window->SelectedFont(), nullptr);
    Window->ChooseFamily(QStringLiteral("@DejaVu Sans"));
    EXPECT_EQ(Window->SelectedFont(), nullptr);
    EXPECT_EQ(Styles->count(), 0);
    EXPECT_EQ(Fonts->currentIndex(), -1);
}

TEST_F(FontsPanelTest, RebuildingTheListsKeepsTheSelectedFont)
{
    BrowseAndScan();
    Window->ChooseFamily(QStringLiteral("DejaVu Serif"));
    TFontItem* serif = Window->SelectedFont();
    ASSERT_NE(serif, nullptr);
    const int updates = Browse->Model().UpdateCount();
    Window->RebuildAllLists();
    EXPECT_EQ(Browse->Model().rowCount(), 3);
    EXPECT_EQ(Browse->Model().UpdateCount(), updates + 1);
    EXPECT_EQ(Window->SelectedFont(), serif);
    EXPECT_EQ(Browse->FocusedFont(), serif);
    EXPECT_EQ(Browse->SelectedRowCount(), 1);
    EXPECT_EQ(Fonts->currentText(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Tabs->tabText(app::kBrowseTab), QStringLiteral("Browse (3/3)"));
}

TEST_F(FontsPanelTest, RowHeightsFollowThePreviewSizeAndThePreviewColumn)
{
    BrowseAndScan();
    catalogue::SetScreenDpiY(96);
    auto* sizes = Window->findChild<QComboBox*>(QStringLiteral("cbPreviewSize"));
    ASSERT_NE(sizes, nullptr);
    const struct {
        int sizeIndex;
        int height;
    } cases[] = {{0, 21}, {3, 30}, {5, 45}, {2, 27}};
    for (const auto& row : cases) {
        sizes->setCurrentIndex(row.sizeIndex);
        EXPECT_EQ(Browse->RowHeight(), row.height) << row.sizeIndex;
        EXPECT_EQ(Browse->visualRect(Browse->Model().index(1, 1)).height(), row.height) << row.sizeIndex;
        // Every list follows the chooser.
        EXPECT_EQ(Window->findChild<TFontListView*>(QStringLiteral("vstActiveFonts"))->RowHeight(), row.height);
    }
    // Without the preview column the rows are 17 pixels high.
    Browse->header()->hideSection(0);
    EXPECT_FALSE(Browse->PreviewColumnVisible());
    EXPECT_EQ(Browse->RowHeight(), 17);
    EXPECT_EQ(Browse->visualRect(Browse->Model().index(1, 1)).height(), 17);
    Browse->header()->showSection(0);
    EXPECT_EQ(Browse->visualRect(Browse->Model().index(1, 1)).height(), 27);
}

TEST_F(FontsPanelTest, SortByMenuListsTheVisibleColumnsAndSorts)
{
    BrowseAndScan();
    auto* sortBy = Window->findChild<QMenu*>(QStringLiteral("miViewSortBy"));
    ASSERT_NE(sortBy, nullptr);
    Browse->header()->hideSection(13);  // "PANOSE"
    emit sortBy->aboutToShow();
    QStringList captions;
    for (const QAction* item : sortBy->actions())
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    ASSERT_EQ(captions.size(), 15 + 3);
    EXPECT_EQ(captions.front(), QStringLiteral("Preview Text"));
    EXPECT_FALSE(captions.contains(QStringLiteral("PANOSE")));
    EXPECT_EQ(captions.mid(15), (QStringList{"-", "Sort &Ascending", "Sort &Descending"}));
    EXPECT_TRUE(sortBy->actions().front()->isChecked());  // sorted by the preview column

    sortBy->actions().at(captions.indexOf(QStringLiteral("Font Style")))->trigger();
    EXPECT_EQ(Browse->Model().SortColumn(), 2);
    emit sortBy->aboutToShow();
    sortBy->actions().at(captions.indexOf(QStringLiteral("Sort &Descending")))->trigger();
    EXPECT_EQ(Browse->Model().SortOrder(), Qt::DescendingOrder);
    // Styles descending: Regular, Regular, Bold.
    EXPECT_EQ(FaceAt(2)->StyleText(), QStringLiteral("Bold"));
}

TEST_F(FontsPanelTest, TheStatusBarCountsTheSelectedRows)
{
    BrowseAndScan();
    const struct {
        std::initializer_list<int> rows;
        const char* text;
    } cases[] = {
        {{0, 2}, "2 fonts selected"},
        {{0, 1, 2}, "3 fonts selected"},
        {{1}, "1 font selected"},
        {{}, "No font selected."},
    };
    for (const auto& row : cases) {
        SelectRows(row.rows);
        EXPECT_EQ(Count->text(), QString::fromLatin1(row.text));
    }
}

TEST_F(FontsPanelTest, TheFolderScanFillsTheListAndADeletedFileLeavesIt)
{
    Window->SetBrowseThreadFactory({});  // the program's own scan and folder watch
    Tabs->setCurrentIndex(app::kBrowseTab);
    Window->BrowseToFolder(Folder, true);
    ASSERT_TRUE(ServeUntil([&] { return Browse->Model().rowCount() == 3 && !Window->BrowseFontsThreadRunning(); }));
    EXPECT_EQ(Tabs->tabText(app::kBrowseTab), QStringLiteral("Browse (3/3)"));
    EXPECT_EQ(Fonts->count(), 2);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(FaceAt(row)->FontKind(), 5) << row;  // details read by the scan

    // Another program deletes a file: the watch and an incremental rescan take its face away.
    ASSERT_TRUE(QFile::remove(Folder + QStringLiteral("/DejaVuSerif.ttf")));
    ASSERT_TRUE(ServeUntil([&] { return Browse->Model().rowCount() == 2 && !Window->BrowseFontsThreadRunning(); }));
    EXPECT_EQ(Tabs->tabText(app::kBrowseTab), QStringLiteral("Browse (2/2)"));
    EXPECT_EQ(Fonts->findText(QStringLiteral("DejaVu Serif")), -1);
    for (int row = 0; row < 2; ++row)
        EXPECT_TRUE(FaceAt(row)->FamilyNameText().startsWith(QStringLiteral("DejaVu Sans"))) << row;
}

TEST_F(FontsPanelTest, TypingInTheListFindsARowBySortColumn)
{
    BrowseAndScan();
    const auto type = [this](const QString& text) {
        for (const QChar character : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
            QApplication::sendEvent(Browse, &press);
        }
    };
    Browse->setFocus();
    type(QStringLiteral("dejavu se"));
    ASSERT_TRUE(Browse->currentIndex().isValid());
    EXPECT_EQ(FaceAt(Browse->currentIndex().row())->FullName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Browse->SelectedRowCount(), 1);

    // Sorted by style, the typed text is compared with the style.
    Browse->HeaderClick(2);
    Browse->selectionModel()->clearCurrentIndex();
    // A pause longer than the typing interval starts a new search.
    QThread::msleep(static_cast<unsigned long>(QApplication::keyboardInputInterval() + 50));
    type(QStringLiteral("bo"));
    ASSERT_TRUE(Browse->currentIndex().isValid());
    EXPECT_EQ(FaceAt(Browse->currentIndex().row())->FullName(), QStringLiteral("DejaVu Sans Bold"));

    // F5 scans the folder again from scratch.
    QKeyEvent refresh(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QApplication::sendEvent(Browse, &refresh);
    ASSERT_EQ(Requests.size(), 2u);
    EXPECT_TRUE(Requests[1].Forget);
    EXPECT_EQ(Browse->Model().rowCount(), 0);
}

TEST_F(FontsPanelTest, TheGroupsListSaysNoGroupIsSelected)
{
    auto* groups = Window->findChild<TFontListView*>(QStringLiteral("vstGroupFonts"));
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(groups->EmptyListText(), QStringLiteral("No group selected."));
    Tabs->setCurrentIndex(app::kGroupsTab);
    Window->show();
    groups->resize(300, 200);
    // The text is drawn near the top, centred.
    const QImage image = groups->viewport()->grab().toImage();
    const QColor background = groups->palette().color(QPalette::Base);
    int inked = 0;
    for (int y = 0; y < std::min(image.height(), 30); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != background)
                ++inked;
    EXPECT_GT(inked, 20);
    Window->hide();
}

TEST_F(FontsPanelTest, RowsArePaintedInTheFacesOwnFontsAndReleaseThem)
{
    BrowseAndScan();
    Window->show();
    Browse->resize(700, 300);
    const QImage image = Browse->viewport()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    // The preview column holds ink in every row.
    const int rowHeight = Browse->RowHeight();
    for (int row = 0; row < 3; ++row) {
        int inked = 0;
        for (int y = row * rowHeight; y < (row + 1) * rowHeight && y < image.height(); ++y)
            for (int x = 30; x < 200; ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    ++inked;
        EXPECT_GT(inked, 10) << row;
        EXPECT_FALSE(FaceAt(row)->HasStatus(catalogue::FontStatus::NotDisplayable)) << row;
        // A face on screen stays referenced (its file open and loaded) between paints.
        EXPECT_TRUE(Browse->ShownFaces().Holds(FaceAt(row))) << row;
        EXPECT_GE(FaceAt(row)->RefCount(), 1) << row;
        EXPECT_TRUE(FaceAt(row)->PrivatelyLoaded()) << row;
    }
    EXPECT_GT(platform::FontEngine().PrivateResourceCount(), 0);

    // A repaint copies the kept previews; another preview text draws anew.
    const auto previews = [&](const QImage& of) { return of.copy(30, 0, 170, 3 * rowHeight); };
    Browse->viewport()->grab();  // the faces are measured by now
    const QImage names = Browse->viewport()->grab().toImage();
    auto* texts = Window->findChild<QComboBox*>(QStringLiteral("cbPreviewTexts"));
    ASSERT_NE(texts, nullptr);
    texts->setCurrentIndex(texts->findText(QStringLiteral("Digits")));
    const QImage digits = Browse->viewport()->grab().toImage();
    EXPECT_NE(previews(digits), previews(names));
    texts->setCurrentIndex(texts->findText(QStringLiteral("Font Name")));
    EXPECT_EQ(previews(Browse->viewport()->grab().toImage()), previews(names));

    // Another folder empties the list: every face lets go of its file before it is freed.
    const QString other = Folder + QStringLiteral("/empty");
    QDir().mkpath(other);
    Window->BrowseToFolder(other, true);
    EXPECT_EQ(Browse->Model().rowCount(), 0);
    EXPECT_EQ(Browse->ShownFaces().Count(), 0);
    EXPECT_EQ(platform::FontEngine().PrivateResourceCount(), 0);
    Window->hide();
}

} // namespace

namespace {

TEST_F(FontsPanelTest, TheOperationCommandsFollowTheSelectionInMenusAndPopup)
{
    BrowseAndScan();
    ASSERT_TRUE(ServeUntil([this] { return !Window->ActiveFontsThreadRunning(); }));
    auto* install = Window->findChild<QAction*>(QStringLiteral("miFontInstall"));
    auto* rename = Window->findChild<QAction*>(QStringLiteral("miEditRename"));
    auto* popup = Window->findChild<QMenu*>(QStringLiteral("pmFonts"));
    auto* file = Window->findChild<QMenu*>(QStringLiteral("miFile"));
    auto* edit = Window->findChild<QMenu*>(QStringLiteral("miEdit"));
    ASSERT_TRUE(install && rename && popup && file && edit);
    EXPECT_TRUE(file->actions().contains(install));
    EXPECT_TRUE(edit->actions().contains(rename));
    EXPECT_TRUE(popup->actions().contains(install) && popup->actions().contains(rename));
    EXPECT_TRUE(Browse->actions().contains(rename)) << "F2 acts in the list";

    SelectRows({0, 1});
    Browse->selectionModel()->setCurrentIndex(Browse->Model().index(0, 0), QItemSelectionModel::NoUpdate);
    EXPECT_TRUE(ServeUntil([&] { return Window->SelectedFont() != nullptr && install->isEnabled() && rename->isEnabled(); }));

    Browse->selectionModel()->clearSelection();
    Window->SelectFont(nullptr, app::TSelectionSource::List);
    EXPECT_TRUE(ServeUntil([&] { return !install->isEnabled() && !rename->isEnabled(); }));
}

} // namespace

namespace {

TEST(FontsPanelLayout, ThePreviewTextsBoxTakesWhatThePanelLeavesWithinItsLimits)
{
    const struct {
        app::TFontsPanelMeasures measures;  // client, caption, tool button, preview size, title buttons
        int width;
    } cases[] = {
        {{400, 40, 40, 80, 20}, 88},   // 400 − (40 + 8) − 4 × 40 − 80 − 20 − 4
        {{400, 50, 40, 80, 20}, 78},   // the caption
        {{360, 40, 30, 80, 20}, 88},   // four tool buttons
        {{400, 40, 40, 70, 20}, 98},   // the preview size chooser
        {{380, 40, 40, 80, 0}, 88},    // title buttons shown, of no width
        {{380, 40, 40, 80, -1}, 72},   // none shown: 16 for them
        {{372, 40, 40, 80, 20}, 60},   // the lower limit reached exactly
        {{373, 40, 40, 80, 20}, 61},
        {{309, 40, 40, 80, 20}, 60},   // less is raised to 60
        {{100, 40, 40, 80, 20}, 60},   // also below zero
        {{412, 40, 40, 80, 20}, 100},  // the upper limit reached exactly
        {{413, 40, 40, 80, 20}, 100},
        {{900, 40, 40, 80, 20}, 100},
    };
    for (const auto& row : cases)
        EXPECT_EQ(app::PreviewTextsWidth(row.measures), row.width) << row.measures.ClientWidth;
}

TEST_F(FontsPanelTest, ThePreviewTextsBoxFollowsThePanelsWidth)
{
    auto* panel = Window->findChild<QDockWidget*>(QStringLiteral("dpFonts"));
    auto* texts = Window->findChild<QComboBox*>(QStringLiteral("cbPreviewTexts"));
    ASSERT_TRUE(panel && texts);
    // Floating, the panel takes the width it is given.
    Window->show();
    panel->setFloating(true);
    panel->show();
    const struct {
        int panelWidth;
        int boxWidth;
    } cases[] = {{900, 100}, {250, 60}, {900, 100}};
    for (const auto& row : cases) {
        panel->resize(row.panelWidth, 400);
        EXPECT_TRUE(ServeUntil([&] { return texts->width() == row.boxWidth; }))
            << row.panelWidth << ": " << texts->width() << " in a panel of " << panel->widget()->width();
    }
    Window->hide();
}

TEST_F(FontsPanelTest, TheTabArrowsStepToTheNeighbouringTab)
{
    auto* left = Window->findChild<QToolButton*>(QStringLiteral("tiFontsTabLeft"));
    auto* right = Window->findChild<QToolButton*>(QStringLiteral("tiFontsTabRight"));
    ASSERT_TRUE(left && right);
    Window->show();
    const struct {
        int tab;
        bool leftEnabled;
        bool rightEnabled;
        int afterLeft;
        int afterRight;
    } cases[] = {
        {app::kActiveTab, false, true, app::kActiveTab, app::kBrowseTab},
        {app::kBrowseTab, true, true, app::kActiveTab, app::kGroupsTab},
        {app::kGroupsTab, true, false, app::kBrowseTab, app::kGroupsTab},
    };
    for (const auto& row : cases) {
        Tabs->setCurrentIndex(row.tab);
        EXPECT_EQ(left->isEnabled(), row.leftEnabled) << row.tab;
        EXPECT_EQ(right->isEnabled(), row.rightEnabled) << row.tab;
        QTest::mouseClick(left, Qt::LeftButton);
        EXPECT_EQ(Tabs->currentIndex(), row.afterLeft) << row.tab;
        Tabs->setCurrentIndex(row.tab);
        QTest::mouseClick(right, Qt::LeftButton);
        EXPECT_EQ(Tabs->currentIndex(), row.afterRight) << row.tab;
    }
    Window->hide();
}

TEST_F(FontsPanelTest, RefreshInTheFolderTreeReadsItAgainAndBrowsesItsFolder)
{
    BrowseAndScan();
    ASSERT_EQ(Requests.size(), 1u);
    auto* tree = Window->findChild<QTreeView*>(QStringLiteral("vetBrowse"));
    auto* refresh = Window->findChild<QAction*>(QStringLiteral("tbmiViewRefresh"));
    ASSERT_TRUE(tree && refresh);
    EXPECT_EQ(refresh->text(), QStringLiteral("&Refresh"));
    EXPECT_EQ(refresh->shortcut(), QKeySequence(Qt::Key_F5));
    auto* folders = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_NE(folders, nullptr);

    // As on a share that reports no changes: only a refresh shows a new sub-folder.
    folders->setOption(QFileSystemModel::DontWatchForChanges);
    const QString folder = QDir::cleanPath(Folder);
    const QModelIndex node = folders->index(folder);
    ASSERT_EQ(tree->currentIndex(), node);
    bool listed = false;
    QObject::connect(folders, &QFileSystemModel::directoryLoaded, folders,
                     [&](const QString& path) { listed = listed || path == folder; });
    ASSERT_TRUE(folders->canFetchMore(node)) << "the scanned folder was never opened in the tree";
    folders->fetchMore(node);
    ASSERT_TRUE(ServeUntil([&] { return listed; }));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Added")));
    EXPECT_EQ(folders->rowCount(node), 0);

    Window->show();
    tree->setFocus();
    refresh->trigger();
    EXPECT_EQ(Requests.size(), 1u) << "the tree's folder is the one scanned last";
    ASSERT_TRUE(ServeUntil([&] { return folders->rowCount(node) == 1; }));
    EXPECT_EQ(folders->fileName(folders->index(0, 0, node)), QStringLiteral("Added"));

    // A typed folder that does not exist leaves the tree's selection as it was; F5 in the
    // tree browses that folder again.
    Window->BrowseToFolder(folder + QStringLiteral("/missing"), true);
    ASSERT_EQ(Requests.size(), 1u);
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QApplication::sendEvent(tree, &f5);
    ASSERT_EQ(Requests.size(), 2u);
    EXPECT_EQ(Requests[1].Folder, folder);
    EXPECT_EQ(Window->LastScannedFolder(), folder);

    // With the focus in the list, Refresh (and the list popup's Refresh) scans the list's
    // folder again from scratch.
    Browse->setFocus();
    refresh->trigger();
    ASSERT_EQ(Requests.size(), 3u);
    EXPECT_EQ(Requests[2].Folder, folder);
    EXPECT_TRUE(Requests[2].Forget);
    auto* popupRefresh = Window->findChild<QAction*>(QStringLiteral("pmFontsRefreshTree"));
    ASSERT_NE(popupRefresh, nullptr);
    popupRefresh->trigger();
    ASSERT_EQ(Requests.size(), 4u);
    EXPECT_TRUE(Requests[3].Forget);
    Window->hide();
}

TEST_F(FontsPanelTest, AFolderChosenByPathStaysInViewWhileTheTreeReadsItsParents)
{
    // Many folders above the chosen one at two levels, read in whatever order the tree's
    // reader takes them.
    const QString top = Folder + QStringLiteral("/tree");
    for (int i = 0; i < 150; ++i)
        QDir().mkpath(top + QStringLiteral("/a%1").arg(i, 3, 10, QLatin1Char('0')));
    for (int i = 0; i < 80; ++i)
        QDir().mkpath(top + QStringLiteral("/zz/b%1").arg(i, 3, 10, QLatin1Char('0')));
    const QString target = top + QStringLiteral("/zz/target");
    QDir().mkpath(target);

    auto* tree = Window->findChild<QTreeView*>(QStringLiteral("vetBrowse"));
    auto* folders = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_TRUE(tree && folders);
    Window->show();
    Tabs->setCurrentIndex(app::kBrowseTab);
    Window->BrowseToFolder(target, true);
    ASSERT_EQ(QDir::cleanPath(folders->filePath(tree->currentIndex())), target);

    const auto read = [&](const QString& folder) {
        const QModelIndex node = folders->index(folder);
        return node.isValid() && !folders->canFetchMore(node) && folders->rowCount(node) > 0;
    };
    ASSERT_TRUE(ServeUntil([&] {
        return read(top) && folders->rowCount(folders->index(top)) == 151 && read(top + QStringLiteral("/zz"))
               && folders->rowCount(folders->index(top + QStringLiteral("/zz"))) == 81;
    }));
    ServeUntil([] { return false; }, 300);  // what the reader still hands over
    const QRect row = tree->visualRect(tree->currentIndex());
    EXPECT_TRUE(tree->viewport()->rect().contains(row)) << "the chosen folder scrolled out of view";

    // Once the user scrolls, the tree stays where the user put it.
    tree->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    folders->fetchMore(folders->index(top + QStringLiteral("/a000")));
    ServeUntil([] { return false; }, 300);
    EXPECT_EQ(tree->verticalScrollBar()->value(), 0);
    Window->hide();
}

TEST_F(FontsPanelTest, ADoubleClickOnAHeaderKeepsTheSortOfItsFirstClick)
{
    BrowseAndScan();
    Window->show();
    QHeaderView* head = Browse->header();
    QWidget* headerArea = head->viewport();
    const auto centre = [head](int section) {
        return QPoint(head->sectionViewportPosition(section) + head->sectionSize(section) / 2, head->height() / 2);
    };
    const auto doubleClick = [&](int section) {
        // What a double click delivers: press, release, double click, release.
        QTest::mousePress(headerArea, Qt::LeftButton, {}, centre(section));
        QTest::mouseRelease(headerArea, Qt::LeftButton, {}, centre(section));
        QTest::mouseDClick(headerArea, Qt::LeftButton, {}, centre(section));
        QTest::mouseRelease(headerArea, Qt::LeftButton, {}, centre(section));
    };
    const struct {
        int section;
        Qt::SortOrder order;  // as the first click of the double click leaves it
    } cases[] = {
        {2, Qt::AscendingOrder},   // another column sorts ascending
        {2, Qt::DescendingOrder},  // the sort column flips
        {2, Qt::AscendingOrder},
        {1, Qt::AscendingOrder},
    };
    for (const auto& row : cases) {
        doubleClick(row.section);
        EXPECT_EQ(Browse->Model().SortColumn(), row.section);
        EXPECT_EQ(Browse->Model().SortOrder(), row.order) << row.section;
        EXPECT_EQ(head->sortIndicatorSection(), row.section);
        EXPECT_EQ(head->sortIndicatorOrder(), row.order) << row.section;
    }
    // A single click after a double click sorts again.
    QTest::mouseClick(headerArea, Qt::LeftButton, {}, centre(1));
    EXPECT_EQ(Browse->Model().SortOrder(), Qt::DescendingOrder);
    EXPECT_EQ(head->sortIndicatorOrder(), Qt::DescendingOrder);
    Window->hide();
}

} // namespace
