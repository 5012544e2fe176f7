// Families and catalogues: ownership, counting and the collator's order.

#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/FontItem.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using catalogue::TFontFamilyList;
using catalogue::TFontItem;

std::unique_ptr<TFontItem> Face(const char* family, int weight, bool italic, const char* file)
{
    auto item = std::make_unique<TFontItem>(QString::fromUtf8(family), false);
    item->SetWeight(weight);
    item->SetItalic(italic);
    item->SetFontFile(QString::fromUtf8(file));
    return item;
}

QStringList FamilyNames(const TFontFamilyList& list)
{
    QStringList names;
    for (int i = 0; i < list.Count(); ++i)
        names << list.Family(i)->FamilyName();
    return names;
}

TEST(FontFamilyList, FacesJoinTheFamilyOfTheirNameWithoutRegardToCase)
{
    TFontFamilyList list;
    TFontItem& a = list.AddItem(Face("Sans", 400, false, "/f/a.ttf"));
    TFontItem& b = list.AddItem(Face("SANS", 700, false, "/f/b.ttf"));
    list.AddItem(Face("Serif", 400, false, "/f/c.ttf"));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemCount(), 3);
    EXPECT_EQ(a.Family(), b.Family());
    EXPECT_EQ(a.Family()->Count(), 2);

    list.RemoveItem(&a);
    EXPECT_EQ(list.FindFamily(QStringLiteral("sans"))->Count(), 1);
    std::unique_ptr<TFontItem> taken = list.TakeItem(&b);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->Family(), nullptr);
    EXPECT_EQ(list.FindFamily(QStringLiteral("Sans")), nullptr);  // an emptied family goes
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.TakeItem(taken.get()), nullptr);  // no longer in the catalogue
}

TEST(FontFamilyList, FamiliesSortWithoutRegardToCaseAndFacesByWeightItalicAndFile)
{
    TFontFamilyList list;
    for (const char* name : {"beta", "GAMMA", "alpha2", "Alpha"})
        list.AddItem(Face(name, 400, false, "/f/x.ttf"));
    TFontItem& bold = list.AddItem(Face("Sans", 700, false, "/f/a.ttf"));
    TFontItem& italic = list.AddItem(Face("Sans", 400, true, "/f/a.ttf"));
    TFontItem& lowerB = list.AddItem(Face("Sans", 400, false, "/f/b.ttf"));
    TFontItem& upperA = list.AddItem(Face("Sans", 400, false, "/f/A.ttf"));
    list.Sort();

    EXPECT_EQ(FamilyNames(list), (QStringList{"Alpha", "alpha2", "beta", "GAMMA", "Sans"}));
    const catalogue::TFontFamilyItem* sans = list.FindFamily(QStringLiteral("Sans"));
    ASSERT_TRUE(sans);
    EXPECT_EQ(sans->Items(), (std::vector<TFontItem*>{&upperA, &lowerB, &italic, &bold}));
}

TEST(FontFamilyList, TheTotalCountsOnlyCountableFaces)
{
    TFontFamilyList list;
    list.AddItem(Face("Sans", 400, false, "/f/a.ttf"));
    auto installedOnly = std::make_unique<TFontItem>(QStringLiteral("Sans"), true);
    installedOnly->SetStatusFlags(catalogue::FontStatus::Installed);
    list.AddItem(std::move(installedOnly));
    list.AddItem(std::make_unique<TFontItem>(QStringLiteral("@Gothic"), true));
    list.AddItem(Face("@Gothic", 400, false, "/f/g.ttc"));
    EXPECT_EQ(list.ItemCount(), 4);
    EXPECT_EQ(list.CountableItems(), 2);
    EXPECT_EQ(list.FindFamily(QStringLiteral("sans"))->CountableCount(), 1);
}

TEST(FontFamilyList, FindFaceByFullNameAndType)
{
    TFontFamilyList list;
    TFontItem& item = list.AddItem(Face("Sans", 400, false, "/f/a.ttf"));
    item.SetFullName(QStringLiteral("Sans Regular"));
    item.SetGdiTypeBits(4);
    const catalogue::TFontFamilyItem* family = item.Family();
    EXPECT_EQ(family->FindFace(QStringLiteral("sans regular"), 4), &item);
    EXPECT_EQ(family->FindFace(QStringLiteral("Sans Regular"), 2), nullptr);
}

} // namespace
