// Renaming a font's files: a Type 1 pair moves together, its registry value follows, and a
// rename that cannot be completed leaves both files and the registry as they were.

#include "InstalledFontsTestSupport.h"

#include "operations/FontFileRename.h"
#include "operations/FontRegistryUnit.h"

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

using namespace qmtest;
using operations::RenameFontFiles;
using operations::TRenameOutcome;
namespace FontStatus = catalogue::FontStatus;

class FontFileRename : public InstalledFontsTest {
protected:
    void SetUp() override
    {
        InstalledFontsTest::SetUp();
        FMetrics = FOutside + "/Pair.pfm";
        FOutline = FOutside + "/Pair.pfb";
        WriteType1Pair(FMetrics, FOutline, "Pair-Regular");
        FMetricsBytes = ReadAll(FMetrics);
        FOutlineBytes = ReadAll(FOutline);
        FItem = std::make_unique<catalogue::TFontItem>(QStringLiteral("Pair"), false);
        FItem->SetFullName(QStringLiteral("Pair Regular"));
        FItem->SetRegistryName(QStringLiteral("Pair Regular"));
        FItem->SetFontKind(3);
        FItem->SetGdiTypeBits(2);
        FItem->SetFontFile(FMetrics);
        FItem->SetSecondFile(FOutline);
    }

    void Install()
    {
        operations::TFontRegistry registry(true);
        ASSERT_TRUE(registry.RegisterFont({FItem->RegistryName(), 3, FMetrics, FOutline}));
        FItem->SetStatusFlags(FontStatus::Installed);
    }

    void ExpectUntouched()
    {
        EXPECT_EQ(ReadAll(FMetrics), FMetricsBytes);
        EXPECT_EQ(ReadAll(FOutline), FOutlineBytes);
        EXPECT_EQ(FItem->FontFile(), FMetrics);
        EXPECT_EQ(FItem->SecondFile(), FOutline);
    }

    QString FMetrics, FOutline;
    QByteArray FMetricsBytes, FOutlineBytes;
    std::unique_ptr<catalogue::TFontItem> FItem;
};

TEST_F(FontFileRename, ATypeOnePairIsRenamedTogether)
{
    operations::TFontRegistry registry(true);
    const auto result = RenameFontFiles(*FItem, FOutside + "/Renamed.pfm", FOutside + "/Renamed.pfb", registry);
    EXPECT_EQ(result.Outcome, TRenameOutcome::Succeeded);
    EXPECT_FALSE(result.FontsChanged);
    EXPECT_FALSE(QFileInfo::exists(FMetrics));
    EXPECT_FALSE(QFileInfo::exists(FOutline));
    EXPECT_EQ(ReadAll(FOutside + "/Renamed.pfm"), FMetricsBytes);
    EXPECT_EQ(ReadAll(FOutside + "/Renamed.pfb"), FOutlineBytes);
    EXPECT_EQ(FItem->FontFile(), FOutside + "/Renamed.pfm");
    EXPECT_EQ(FItem->SecondFile(), FOutside + "/Renamed.pfb");
}

TEST_F(FontFileRename, AnInstalledPairIsRegisteredUnderItsNewNames)
{
    Install();
    operations::TFontRegistry registry(true);
    const auto result = RenameFontFiles(*FItem, FOutside + "/New.pfm", FOutside + "/New.pfb", registry);
    ASSERT_EQ(result.Outcome, TRenameOutcome::Succeeded);
    EXPECT_TRUE(result.FontsChanged);
    ASSERT_EQ(Type1Names().size(), 1);
    const QStringList data = Type1Data(Type1Names().front());
    EXPECT_TRUE(data.contains(FOutside + "/New.pfm")) << data.join(", ").toStdString();
    EXPECT_TRUE(data.contains(FOutside + "/New.pfb")) << data.join(", ").toStdString();
    EXPECT_FALSE(data.contains(FMetrics));
}

TEST_F(FontFileRename, AFailureLeavesBothFilesAndTheRegistryAsTheyWere)
{
    Install();
    const QStringList before = Type1Data(Type1Names().value(0));
    struct TCase {
        const char* Name;
        QString NewFile;
        QString NewSecond;
        TRenameOutcome Outcome;
    };
    QFile::copy(FMetrics, FOutside + "/Taken.pfm");
    QFile::copy(FOutline, FOutside + "/Taken2.pfb");
    const TCase cases[] = {
        // The outline file cannot go where it was asked to: the metrics file comes back.
        {"second move fails", FOutside + "/Moved.pfm", FOutside + "/no such folder/Moved.pfb", TRenameOutcome::Failed},
        {"first move fails", FOutside + "/no such folder/Moved.pfm", FOutside + "/Moved.pfb", TRenameOutcome::Failed},
        {"first name taken", FOutside + "/Taken.pfm", FOutside + "/Taken.pfb", TRenameOutcome::FileExists},
        {"second name taken", FOutside + "/Taken2.pfm", FOutside + "/Taken2.pfb", TRenameOutcome::FileExists},
        {"same name", FMetrics, FOutline, TRenameOutcome::Unchanged},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        operations::TFontRegistry registry(true);
        const auto result = RenameFontFiles(*FItem, c.NewFile, c.NewSecond, registry);
        EXPECT_EQ(result.Outcome, c.Outcome);
        EXPECT_FALSE(result.FontsChanged);
        ExpectUntouched();
        EXPECT_FALSE(QFileInfo::exists(FOutside + "/Moved.pfm"));
        EXPECT_FALSE(QFileInfo::exists(FOutside + "/Moved.pfb"));
        EXPECT_EQ(Type1Data(Type1Names().value(0)), before);
    }
    EXPECT_EQ(ReadAll(FOutside + "/Taken.pfm"), FMetricsBytes);
}

TEST_F(FontFileRename, ASingleFileFontIgnoresTheSecondName)
{
    const QString file = FOutside + "/Single.ttf";
    WriteSfntFont(file, u"Single");
    FItem->SetFontKind(5);
    FItem->SetFontFile(file);
    FItem->SetSecondFile(QString());
    operations::TFontRegistry registry(true);
    const auto result = RenameFontFiles(*FItem, FOutside + "/Other.ttf", FOutside + "/Other.pfb", registry);
    EXPECT_EQ(result.Outcome, TRenameOutcome::Succeeded);
    EXPECT_TRUE(QFileInfo::exists(FOutside + "/Other.ttf"));
    EXPECT_FALSE(QFileInfo::exists(FOutside + "/Other.pfb"));
    EXPECT_TRUE(FItem->SecondFile().isEmpty());
    // The Type 1 pair of the fixture was not touched.
    EXPECT_TRUE(QFileInfo::exists(FMetrics));
}

} // namespace
