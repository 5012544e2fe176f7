// The font list's rows: batches applied to a catalogue and its list inside one update with
// one re-sort, the hooks the window follows (families shown and hidden, a face going), the
// header click rule and the incremental search.

#include "app/FontListBatches.h"
#include "app/FontListModel.h"
#include "app/FontListShownFaces.h"
#include "app/FontListView.h"

#include "IsolatedEnvironment.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/FontItem.h"

#include <gtest/gtest.h>

#include <QHeaderView>

#include <memory>

namespace {

using app::TFontListBatches;
using app::TFontListModel;
using catalogue::TFontItem;
using catalogue::TFontItems;

std::unique_ptr<TFontItem> Face(const QString& family, const QString& style, int weight, const QString& file,
                                bool active = false)
{
    auto face = std::make_unique<TFontItem>(family, active);
    face->SetFullName(family + QLatin1Char(' ') + style);
    face->SetStyleName(style);
    face->SetWeight(weight);
    face->SetFontFile(file);
    face->SetGdiTypeBits(4);
    face->SetFontKind(5);
    if (active)
        face->SetStatusFlags(catalogue::FontStatus::Loaded);
    return face;
}

QStringList RowNames(const TFontListModel& rows)
{
    QStringList names;
    for (int row = 0; row < rows.rowCount(); ++row)
        names << rows.ItemAt(row)->FullName();
    return names;
}

// Counts the model's change signals.
struct TSignalCounts {
    int Inserted = 0;
    int Removed = 0;
    int Layouts = 0;
    int Resets = 0;
};

void Count(TFontListModel& rows, TSignalCounts& counts)
{
    QObject::connect(&rows, &QAbstractItemModel::rowsInserted, [&counts] { ++counts.Inserted; });
    QObject::connect(&rows, &QAbstractItemModel::rowsRemoved, [&counts] { ++counts.Removed; });
    QObject::connect(&rows, &QAbstractItemModel::layoutChanged, [&counts] { ++counts.Layouts; });
    QObject::connect(&rows, &QAbstractItemModel::modelReset, [&counts] { ++counts.Resets; });
}

class FontListBatchesTest : public ::testing::Test {
protected:
    catalogue::TFontFamilyList Catalogue;
    TFontListModel Rows;
    QStringList Shown, Hidden;
    std::vector<const TFontItem*> Going;
    std::unique_ptr<TFontListBatches> Batches;

    void SetUp() override
    {
        app::TFontListBatchHooks hooks;
        hooks.FamilyShown = [this](catalogue::TFontFamilyItem& family) { Shown << family.FamilyName(); };
        hooks.FamilyHidden = [this](const QString& name) { Hidden << name; };
        hooks.FaceGoes = [this](TFontItem& face) { Going.push_back(&face); };
        Batches = std::make_unique<TFontListBatches>(Catalogue, Rows, true, std::move(hooks));
    }

    void Add(std::vector<std::unique_ptr<TFontItem>> faces)
    {
        TFontItems items;
        for (auto& face : faces)
            items.push_back(std::move(face));
        Batches->ApplyAdded(items);
    }
};

TEST_F(FontListBatchesTest, AddedBatchIsOneInsertionAndOneSort)
{
    TSignalCounts counts;
    Count(Rows, counts);
    std::vector<std::unique_ptr<TFontItem>> faces;
    faces.push_back(Face("Zeta", "Regular", 400, "/f/zeta.ttf"));
    faces.push_back(Face("Alpha", "Bold", 700, "/f/alpha-bold.ttf"));
    faces.push_back(Face("Alpha", "Regular", 400, "/f/alpha.ttf"));
    faces.push_back(Face("@Vertical", "Regular", 400, QString()));  // vertical without file: no row
    const int updatesBefore = Rows.UpdateCount();
    const int sortsBefore = Rows.SortCount();
    Add(std::move(faces));

    EXPECT_EQ(RowNames(Rows), (QStringList{"Alpha Regular", "Alpha Bold", "Zeta Regular"}));
    EXPECT_EQ(Rows.UpdateCount(), updatesBefore + 1);
    EXPECT_EQ(Rows.SortCount(), sortsBefore + 1);
    EXPECT_EQ(counts.Inserted, 1);
    EXPECT_EQ(counts.Layouts, 1);
    // Every face is in the catalogue; the families with rows were shown once each.
    EXPECT_EQ(Catalogue.ItemCount(), 4);
    EXPECT_EQ(Shown, (QStringList{"Zeta", "Alpha"}));
    EXPECT_EQ(Catalogue.CountableItems(), 3);
}

TEST_F(FontListBatchesTest, RemovedBatchMatchesFilesExactlyAndHidesEmptiedFamilies)
{
    std::vector<std::unique_ptr<TFontItem>> faces;
    faces.push_back(Face("Alpha", "Regular", 400, "/f/alpha.ttf"));
    faces.push_back(Face("Alpha", "Regular", 400, "/g/alpha.ttf"));  // same names, other file
    faces.push_back(Face("Beta", "Regular", 400, "/f/beta.ttf"));
    faces.push_back(Face("Delta", "Regular", 400, "/f/delta.ttf"));
    Add(std::move(faces));
    const TFontItem* kept = Rows.ItemAt(Rows.RowOf(Catalogue.FindFamily("Alpha")->Item(1)));

    TSignalCounts counts;
    Count(Rows, counts);
    const int updatesBefore = Rows.UpdateCount();
    TFontItems removed;
    removed.push_back(Face("Alpha", "Regular", 400, "/f/alpha.ttf"));
    removed.push_back(Face("Beta", "Regular", 400, "/f/beta.ttf"));
    removed.push_back(Face("Gamma", "Regular", 400, "/f/gamma.ttf"));  // unknown: nothing happens
    Batches->ApplyRemoved(removed);

    ASSERT_EQ(RowNames(Rows), (QStringList{"Alpha Regular", "Delta Regular"}));
    EXPECT_EQ(Rows.ItemAt(0), kept);
    EXPECT_EQ(Rows.ItemAt(0)->FontFile(), QStringLiteral("/g/alpha.ttf"));
    EXPECT_EQ(Rows.UpdateCount(), updatesBefore + 1);
    EXPECT_EQ(counts.Layouts, 1);
    EXPECT_EQ(Going.size(), 2u);
    EXPECT_EQ(Hidden, QStringList{"Beta"});
    EXPECT_EQ(Catalogue.FindFamily("Beta"), nullptr);
    EXPECT_EQ(Catalogue.ItemCount(), 2);
}

TEST_F(FontListBatchesTest, ChangedBatchDropsAFaceTheFilterNowHides)
{
    auto active = std::make_unique<catalogue::TFontFamilyList>();
    TFontListModel rows;
    QStringList hidden;
    app::TFontListBatchHooks hooks;
    hooks.FamilyHidden = [&hidden](const QString& name) { hidden << name; };
    TFontListBatches batches(*active, rows, false, std::move(hooks));

    TFontItems added;
    added.push_back(Face("Alpha", "Regular", 400, "/f/alpha.ttf", true));
    batches.ApplyAdded(added);
    ASSERT_EQ(rows.rowCount(), 1);

    // Now installed but not loaded: such active faces are never listed.
    TFontItems changed;
    changed.push_back(Face("Alpha", "Regular", 400, "/f/alpha.ttf", true));
    changed.back()->SetStatusFlags(catalogue::FontStatus::Installed);
    batches.ApplyChanged(changed);
    EXPECT_EQ(rows.rowCount(), 0);
    EXPECT_EQ(hidden, QStringList{"Alpha"});
    EXPECT_EQ(active->CountableItems(), 0);

    // Loaded again: the row comes back.
    changed.push_back(Face("Alpha", "Regular", 400, "/f/alpha.ttf", true));
    batches.ApplyChanged(changed);
    EXPECT_EQ(rows.rowCount(), 1);

    // The active enumeration removes by names when the removed face names no file.
    TFontItems removed;
    removed.push_back(Face("Alpha", "Regular", 400, QString(), true));
    batches.ApplyRemoved(removed);
    EXPECT_EQ(rows.rowCount(), 0);
    EXPECT_EQ(active->ItemCount(), 0);
}

TEST_F(FontListBatchesTest, RowsRemovedWithinAnUpdateNeverReachFreedFaces)
{
    std::vector<std::unique_ptr<TFontItem>> faces;
    for (int i = 0; i < 6; ++i)
        faces.push_back(Face(QStringLiteral("F%1").arg(i), "Regular", 400, QStringLiteral("/f/%1.ttf").arg(i)));
    Add(std::move(faces));
    Rows.BeginUpdate();
    TFontItem* second = Rows.ItemAt(1);
    TFontItem* fourth = Rows.ItemAt(3);
    Rows.RemoveRow(second);
    Rows.RemoveRow(fourth);
    Catalogue.RemoveItem(second);
    Catalogue.RemoveItem(fourth);
    // Until the update ends the rows are still there, but lead to no face.
    EXPECT_EQ(Rows.rowCount(), 6);
    EXPECT_EQ(Rows.ItemAt(1), nullptr);
    EXPECT_FALSE(Rows.data(Rows.index(3, 1)).isValid());
    Rows.EndUpdate();
    EXPECT_EQ(RowNames(Rows), (QStringList{"F0 Regular", "F2 Regular", "F4 Regular", "F5 Regular"}));
}

TEST_F(FontListBatchesTest, HeaderClicksSortAscendingThenFlip)
{
    std::vector<std::unique_ptr<TFontItem>> faces;
    faces.push_back(Face("Beta", "Regular", 400, "/f/b-file.ttf"));
    faces.push_back(Face("Alpha", "Bold", 700, "/f/c-file.ttf"));
    faces.push_back(Face("Gamma", "Light", 300, "/f/a-file.ttf"));
    Add(std::move(faces));
    app::TFontListView view(QStringLiteral("vstTest"), nullptr);
    TFontListModel& rows = view.Model();
    for (int family = 0; family < Catalogue.Count(); ++family)
        for (TFontItem* face : Catalogue.Family(family)->Items())
            rows.AddRow(face);

    const int fileName = 6;
    const struct {
        int section;
        Qt::SortOrder order;
        QStringList families;
    } clicks[] = {
        {fileName, Qt::AscendingOrder, {"Gamma Light", "Beta Regular", "Alpha Bold"}},
        {fileName, Qt::DescendingOrder, {"Alpha Bold", "Beta Regular", "Gamma Light"}},
        {fileName, Qt::AscendingOrder, {"Gamma Light", "Beta Regular", "Alpha Bold"}},
        {1, Qt::AscendingOrder, {"Alpha Bold", "Beta Regular", "Gamma Light"}},  // another column: ascending
        {10, Qt::AscendingOrder, {"Gamma Light", "Beta Regular", "Alpha Bold"}},  // weight
    };
    for (const auto& click : clicks) {
        view.HeaderClick(click.section);
        EXPECT_EQ(rows.SortColumn(), click.section);
        EXPECT_EQ(rows.SortOrder(), click.order) << click.section;
        EXPECT_EQ(view.header()->sortIndicatorOrder(), click.order);
        EXPECT_EQ(RowNames(rows), click.families) << click.section;
    }
}

TEST_F(FontListBatchesTest, IncrementalSearchComparesTheSortColumnsStart)
{
    std::vector<std::unique_ptr<TFontItem>> faces;
    faces.push_back(Face("DejaVu Sans", "Regular", 400, "/f/1.ttf"));
    faces.push_back(Face("DejaVu Serif", "Italic", 400, "/f/2.ttf"));
    faces.push_back(Face("Liberation Mono", "Bold", 700, "/f/3.ttf"));
    Add(std::move(faces));
    const struct {
        int sortColumn;
        const char* typed;
        int start;
        const char* found;  // nullptr: no row
    } cases[] = {
        {0, "dejavu s", 0, "DejaVu Sans Regular"},
        {0, "DEJAVU SE", 0, "DejaVu Serif Italic"},
        {0, "dejavu", 1, "DejaVu Serif Italic"},
        {0, "dejavu", 2, "DejaVu Sans Regular"},  // wraps around
        {0, "mono", 0, nullptr},                  // only the start counts
        {2, "ital", 0, "DejaVu Serif Italic"},    // the style column when sorted by it
        {2, "dejavu", 0, nullptr},
    };
    for (const auto& row : cases) {
        Rows.sort(row.sortColumn, Qt::AscendingOrder);
        const int found = Rows.FindIncremental(QString::fromLatin1(row.typed), row.start);
        if (!row.found) {
            EXPECT_EQ(found, -1) << row.typed;
            continue;
        }
        ASSERT_GE(found, 0) << row.typed;
        EXPECT_EQ(Rows.ItemAt(found)->FullName(), QString::fromLatin1(row.found)) << row.typed;
    }
}

TEST(FontListShownFaces, KeepsTheMostRecentFacesReferenced)
{
    std::vector<std::unique_ptr<TFontItem>> faces;
    for (int i = 0; i < 4; ++i)
        faces.push_back(Face(QStringLiteral("F%1").arg(i), "Regular", 400, QString()));
    app::TFontListShownFaces shown;
    const int limit = 2;
    shown.Shown(*faces[0], limit);
    shown.Shown(*faces[1], limit);
    shown.Shown(*faces[0], limit);  // seen again: the most recent, still one reference
    EXPECT_EQ(faces[0]->RefCount(), 1);
    shown.Shown(*faces[2], limit);  // the longest unseen one goes
    EXPECT_EQ(faces[1]->RefCount(), 0);
    EXPECT_TRUE(shown.Holds(faces[0].get()));
    EXPECT_TRUE(shown.Holds(faces[2].get()));
    shown.Forget(faces[2].get());
    EXPECT_EQ(faces[2]->RefCount(), 0);
    shown.Forget(faces[3].get());  // never shown: nothing happens
    EXPECT_EQ(faces[3]->RefCount(), 0);
    shown.Clear();
    EXPECT_EQ(faces[0]->RefCount(), 0);
    EXPECT_EQ(shown.Count(), 0);
}

TEST(FontListShownFaces, ALeavingRowReleasesItsFace)
{
    std::vector<std::unique_ptr<TFontItem>> faces;
    for (int i = 0; i < 3; ++i)
        faces.push_back(Face(QStringLiteral("F%1").arg(i), "Regular", 400, QString()));
    app::TFontListView view(QStringLiteral("vstTest"), nullptr);
    for (auto& face : faces)
        view.Model().AddRow(face.get());
    for (auto& face : faces)
        view.FaceShown(*face);
    view.Model().RemoveRow(faces[1].get());
    EXPECT_EQ(faces[1]->RefCount(), 0);
    EXPECT_EQ(faces[0]->RefCount(), 1);
    view.Model().Clear();
    EXPECT_EQ(faces[0]->RefCount(), 0);
    EXPECT_EQ(faces[2]->RefCount(), 0);
}

} // namespace
