#include "fontfile/GeneralFontInfo.h"

#include <gtest/gtest.h>

using fontfile::TGeneralFontInfoItem;
using fontfile::TGeneralFontInfoList;

namespace {

TEST(GeneralFontInfo, NewItemIsEmpty)
{
    const TGeneralFontInfoItem item;
    EXPECT_TRUE(item.FaceFullName().empty() && item.RegistryName().empty() && item.FamilyName().empty());
    EXPECT_EQ(item.WeightClass(), 0);
    EXPECT_EQ(item.GdiTypeBits(), 0);
    EXPECT_EQ(item.FontKind(), 0);
    EXPECT_FALSE(item.Italic() || item.IsRegular() || item.IsSymbol());
}

TEST(GeneralFontInfo, TextSettersTrimWhiteSpaceAndControlsButFamilyNameIsKept)
{
    struct TCase {
        std::u16string Given;
        std::u16string Trimmed;
    };
    const TCase cases[] = {
        {u"  Name  ", u"Name"},
        {u"\t\r\nName\x01\x7F", u"Name"},
        {u"\u00A0\u3000Name\u2007\u0085", u"Name"},
        {u"Inner  blanks stay", u"Inner  blanks stay"},
        {u" (TrueType)", u"(TrueType)"},
        {u"\u200BName", u"\u200BName"},  // a format character, not white space
        {u"   ", u""},
    };
    for (const auto& c : cases) {
        TGeneralFontInfoItem item;
        item.SetFaceFullName(c.Given);
        item.SetPreferredFamily(c.Given);
        item.SetRegistryName(c.Given);
        item.SetPreferredSubfamily(c.Given);
        item.SetStyleName(c.Given);
        item.SetFullName(c.Given);
        item.SetFamilyName(c.Given);
        for (const auto* text : {&item.FaceFullName(), &item.PreferredFamily(), &item.RegistryName(),
                                 &item.PreferredSubfamily(), &item.StyleName(), &item.FullName()})
            EXPECT_EQ(*text, c.Trimmed);
        EXPECT_EQ(item.FamilyName(), c.Given);
    }
}

TEST(GeneralFontInfo, DerivedStyle)
{
    struct TCase {
        std::uint16_t Weight;
        bool Italic;
        const char16_t* Style;
        bool Regular;
    };
    const TCase cases[] = {{400, false, u"Regular", true}, {401, false, u"Bold", false},
                           {700, true, u"Bold Italic", false}, {400, true, u"Italic", false},
                           {0, false, u"Regular", true}};
    for (const auto& c : cases) {
        TGeneralFontInfoItem item;
        item.SetWeightClass(c.Weight);
        item.SetItalic(c.Italic);
        item.ApplyDerivedStyle();
        EXPECT_EQ(item.StyleName(), c.Style);
        EXPECT_EQ(item.IsRegular(), c.Regular);
    }
}

TGeneralFontInfoItem Face(std::u16string family, std::uint16_t weight, bool italic, std::u16string face = u"")
{
    TGeneralFontInfoItem item;
    item.SetFamilyName(family);
    item.SetWeightClass(weight);
    item.SetItalic(italic);
    item.SetFaceFullName(face);
    return item;
}

TEST(GeneralFontInfo, DuplicateFacesAreRemovedKeepingTheFirst)
{
    TGeneralFontInfoList list;
    list.Add(Face(u"Sans", 400, false, u"first"));
    list.Add(Face(u"Sans", 400, false, u"second"));
    list.Add(Face(u"sans", 400, false));   // family compared exactly
    list.Add(Face(u"Sans ", 400, false));  // the family name is not trimmed
    list.Add(Face(u"Sans", 700, false));
    list.Add(Face(u"Sans", 400, true));
    list.Add(Face(u"Sans", 700, false, u"third"));
    list.RemoveDuplicateFaces();
    ASSERT_EQ(list.Count(), 5u);
    EXPECT_EQ(list[0].FaceFullName(), u"first");
    EXPECT_EQ(list[1].FamilyName(), u"sans");
    EXPECT_EQ(list[2].FamilyName(), u"Sans ");
    EXPECT_EQ(list[3].WeightClass(), 700);
    EXPECT_TRUE(list[4].Italic());
}

TEST(GeneralFontInfo, ListsOwnTheirItems)
{
    TGeneralFontInfoList list;
    TGeneralFontInfoItem& first = list.Add();
    first.SetFullName(u"A");
    for (int i = 0; i < 100; ++i)
        list.Add();
    EXPECT_EQ(first.FullName(), u"A");  // references stay valid as the list grows

    TGeneralFontInfoList copy = list;
    copy[0].SetFullName(u"B");
    EXPECT_EQ(list[0].FullName(), u"A");

    TGeneralFontInfoList target;
    target.Add();
    target.AppendAll(std::move(copy));
    EXPECT_EQ(target.Count(), 102u);
    EXPECT_EQ(target[1].FullName(), u"B");
    EXPECT_TRUE(copy.Empty());  // NOLINT(bugprone-use-after-move): AppendAll leaves it empty
    EXPECT_THROW(target[102], std::out_of_range);
}

} // namespace
