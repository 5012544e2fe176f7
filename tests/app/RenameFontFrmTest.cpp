// The rename dialog: the names it proposes, the second name of a Type 1 pair, and when OK
// may be pressed.

#include "app/RenameFontFrm.h"
#include "settings/ApplicationRegistrySettings.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

using app::TRenameFontForm;

class RenameFontForm : public ::testing::Test {
protected:
    void SetUp() override { settings::TFontViewerRegistrySettings::OpenApplicationSettings(); }

    QLineEdit* Field(const char* name) { return FForm.findChild<QLineEdit*>(QLatin1String(name)); }
    QPushButton* Button(const char* name) { return FForm.findChild<QPushButton*>(QLatin1String(name)); }
    void Type(const QString& text)
    {
        Field("edFileName")->setText(text);
    }

    TRenameFontForm FForm;
};

TEST_F(RenameFontForm, ATypeOnePairShowsBothNamesAndTheSecondFollowsTheFirst)
{
    FForm.Prepare(QStringLiteral("Pair Bold"), QStringLiteral("/fonts/type1/PAIR.PFM"), QStringLiteral("/fonts/type1/PAIR.PFB"));
    FForm.show();
    EXPECT_EQ(Field("edFontName")->text(), "Pair Bold");
    EXPECT_TRUE(Field("edFontName")->isReadOnly());
    EXPECT_EQ(Field("edFolder")->text(), "/fonts/type1");
    EXPECT_EQ(Field("edFileName")->text(), "PAIR.pfm");
    EXPECT_TRUE(Field("edFileName2")->isVisible());
    EXPECT_EQ(Field("edFileName2")->text(), "PAIR.pfb");

    Type(QStringLiteral("  Other.PFM "));
    EXPECT_EQ(Field("edFileName2")->text(), "Other.pfb");
    Button("btnUseFontName")->click();
    EXPECT_EQ(Field("edFileName")->text(), "Pair Bold.pfm");
    EXPECT_EQ(Field("edFileName2")->text(), "Pair Bold.pfb");

    Type(QStringLiteral(" New.pfm "));
    Button("btnOK")->click();
    EXPECT_EQ(FForm.result(), QDialog::Accepted);
    EXPECT_EQ(FForm.FontFile(), "/fonts/type1/New.pfm");
    EXPECT_EQ(FForm.SecondFile(), "/fonts/type1/New.pfb");
}

TEST_F(RenameFontForm, OkWaitsForANameThatCanBeAFileOfTheFolder)
{
    const struct {
        const char* Typed;
        bool Pair;
        bool Allowed;
    } cases[] = {
        {"Fine.ttf", false, true},
        {"no extension", false, true},
        {"", false, false},
        {"   ", false, false},
        {"sub/Escape.ttf", false, false},
        {"../Up.ttf", false, false},
        {"..", false, false},
        {"New.pfm", true, true},
        // Both files of the pair would get one name.
        {"New.pfb", true, false},
        {"new.PFB", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        TRenameFontForm form;
        if (c.Pair)
            form.Prepare(QStringLiteral("Pair"), QStringLiteral("/f/Pair.pfm"), QStringLiteral("/f/Pair.pfb"));
        else
            form.Prepare(QStringLiteral("Single"), QStringLiteral("/f/Single.TTF"), QString());
        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("edFileName"));
        edit->setText(QString::fromUtf8(c.Typed));
        auto* ok = form.findChild<QPushButton*>(QStringLiteral("btnOK"));
        EXPECT_EQ(ok->isEnabled(), c.Allowed);
        form.accept();
        EXPECT_EQ(form.result() == QDialog::Accepted, c.Allowed);
        if (!c.Allowed)
            EXPECT_EQ(form.FontFile(), c.Pair ? "/f/Pair.pfm" : "/f/Single.TTF");
    }
}

TEST_F(RenameFontForm, ASingleFileFontHidesTheSecondName)
{
    FForm.Prepare(QStringLiteral("Single"), QStringLiteral("/f/Single.TTF"), QString());
    FForm.show();
    EXPECT_EQ(Field("edFileName")->text(), "Single.ttf");
    EXPECT_FALSE(Field("edFileName2")->isVisible());
    Button("btnOK")->click();
    EXPECT_EQ(FForm.FontFile(), "/f/Single.ttf");
    EXPECT_TRUE(FForm.SecondFile().isEmpty());
}

} // namespace
