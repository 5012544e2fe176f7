#include "settings/ApplicationRegistrySettings.h"
#include "support/LoggerUnit.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QVariant>

#include <functional>

using platform::RegistryValue;
using settings::TFontViewerRegistrySettings;
using qmtest::Dword;
using qmtest::Utf16;

namespace {

using S = TFontViewerRegistrySettings;
enum class Kind { Bool, Int, Double, Text };

struct Row {
    QString subKey;
    QString name;
    Kind kind;
    std::function<QVariant(S&)> get;
    QVariant expected;
};

// Every stored value with its place and its default.
const std::vector<Row>& Rows()
{
    static const std::vector<Row> rows = {
    {QStringLiteral("\\Setup"), QStringLiteral("FirstRun"), Kind::Bool, [](S& s) { return QVariant(s.GetFirstRun()); }, QVariant(true)},
    {QStringLiteral("\\Themes"), QStringLiteral("ActiveTheme"), Kind::Int, [](S& s) { return QVariant(s.GetActiveTheme()); }, QVariant(int(0))},
    {QStringLiteral("\\SelectedFont"), QStringLiteral("Character"), Kind::Int, [](S& s) { return QVariant(s.GetSelectedCharacter()); }, QVariant(int(65))},
    {QStringLiteral("\\GUI"), QStringLiteral("ZoomCharacterSizeIndex"), Kind::Int, [](S& s) { return QVariant(s.GetZoomCharacterSizeIndex()); }, QVariant(int(3))},
    {QStringLiteral("\\GUI"), QStringLiteral("FontsPreviewSizeIndex"), Kind::Int, [](S& s) { return QVariant(s.GetFontsPreviewSizeIndex()); }, QVariant(int(2))},
    {QStringLiteral("\\GUI"), QStringLiteral("CharacterGridCellSizeIndex"), Kind::Int, [](S& s) { return QVariant(s.GetCharacterGridCellSizeIndex()); }, QVariant(int(2))},
    {QStringLiteral("\\GUI"), QStringLiteral("SampleFontSize"), Kind::Int, [](S& s) { return QVariant(s.GetSampleFontSize()); }, QVariant(int(18))},
    {QStringLiteral("\\GUI"), QStringLiteral("SampleFontAlignment"), Kind::Int, [](S& s) { return QVariant(s.GetSampleFontAlignment()); }, QVariant(int(0))},
    {QStringLiteral("\\GUI"), QStringLiteral("ToolbarsUseSmallIcons"), Kind::Bool, [](S& s) { return QVariant(s.GetToolbarsUseSmallIcons()); }, QVariant(false)},
    {QStringLiteral("\\GUI"), QStringLiteral("OnStartupShowWelcome"), Kind::Bool, [](S& s) { return QVariant(s.GetOnStartupShowWelcome()); }, QVariant(true)},
    {QStringLiteral("\\GUI"), QStringLiteral("OnStartupShowUpdateReminder"), Kind::Int, [](S& s) { return QVariant(s.GetOnStartupShowUpdateReminder()); }, QVariant(int(2))},
    {QStringLiteral("\\Browse"), QStringLiteral("SelectedPath"), Kind::Text, [](S& s) { return QVariant(s.GetSelectedPath()); }, QVariant(QString())},
    {QStringLiteral("\\Browse"), QStringLiteral("IncludeSubFolders"), Kind::Bool, [](S& s) { return QVariant(s.GetIncludeSubFolders()); }, QVariant(false)},
    {QStringLiteral("\\Browse"), QStringLiteral("RestoreOnStartup"), Kind::Bool, [](S& s) { return QVariant(s.GetRestoreOnStartup()); }, QVariant(false)},
    {QStringLiteral("\\Position\\Splitters"), QStringLiteral("Browse"), Kind::Int, [](S& s) { return QVariant(s.GetBrowseSplitterHeight()); }, QVariant(int(122))},
    {QStringLiteral("\\Position\\Splitters"), QStringLiteral("Groups"), Kind::Int, [](S& s) { return QVariant(s.GetGroupsSplitterHeight()); }, QVariant(int(122))},
    {QStringLiteral("\\Options"), QStringLiteral("SmartInstallFonts"), Kind::Bool, [](S& s) { return QVariant(s.GetSmartInstallFonts()); }, QVariant(false)},
    {QStringLiteral("\\Options"), QStringLiteral("SmartUninstallFonts"), Kind::Bool, [](S& s) { return QVariant(s.GetSmartUninstallFonts()); }, QVariant(false)},
    {QStringLiteral("\\Options"), QStringLiteral("SmartLoadFonts"), Kind::Bool, [](S& s) { return QVariant(s.GetSmartLoadFonts()); }, QVariant(false)},
    {QStringLiteral("\\Options"), QStringLiteral("SmartUnloadFonts"), Kind::Bool, [](S& s) { return QVariant(s.GetSmartUnloadFonts()); }, QVariant(false)},
    {QStringLiteral("\\Options"), QStringLiteral("OnCloseMinimizeToSystemTray"), Kind::Bool, [](S& s) { return QVariant(s.GetOnCloseMinimizeToSystemTray()); }, QVariant(false)},
    {QStringLiteral("\\Options"), QStringLiteral("AutoCloseAfterSuccessfulFontOperation"), Kind::Bool, [](S& s) { return QVariant(s.GetAutoCloseAfterSuccessfulFontOperation()); }, QVariant(false)},
    {QStringLiteral("\\Options"), QStringLiteral("LastKnownAddSelectedFontsOperation"), Kind::Int, [](S& s) { return QVariant(s.GetLastKnownAddSelectedFontsOperation()); }, QVariant(int(6))},
    {QStringLiteral("\\Options\\Folders"), QStringLiteral("BackupFontsFolder"), Kind::Text, [](S& s) { return QVariant(s.GetBackupFontsFolder()); }, QVariant(QString())},
    {QStringLiteral("\\Options\\Folders"), QStringLiteral("GroupsFolder"), Kind::Text, [](S& s) { return QVariant(s.GetGroupsFolder()); }, QVariant(QString())},
    {QStringLiteral("\\Options\\Folders"), QStringLiteral("MoveAndCopyToFolder"), Kind::Text, [](S& s) { return QVariant(s.GetMoveAndCopyToFolder()); }, QVariant(QString())},
    {QStringLiteral("\\Options\\Folders"), QStringLiteral("LastKnownAddToGroupFolder"), Kind::Text, [](S& s) { return QVariant(s.GetLastKnownAddToGroupFolder()); }, QVariant(QString())},
    {QStringLiteral("\\Options\\InstallFonts"), QStringLiteral("CopyToFontsFolderTrueTypeAndOpenType"), Kind::Bool, [](S& s) { return QVariant(s.GetCopyToFontsFolderTrueTypeAndOpenType()); }, QVariant(false)},
    {QStringLiteral("\\Options\\InstallFonts"), QStringLiteral("CopyToFontsFolderType1"), Kind::Bool, [](S& s) { return QVariant(s.GetCopyToFontsFolderType1()); }, QVariant(false)},
    {QStringLiteral("\\Options\\InstallFonts"), QStringLiteral("CopyToFontsFolderVectorAndRaster"), Kind::Bool, [](S& s) { return QVariant(s.GetCopyToFontsFolderVectorAndRaster()); }, QVariant(false)},
    {QStringLiteral("\\Options\\General"), QStringLiteral("ShowValuesInHexNot"), Kind::Bool, [](S& s) { return QVariant(s.GetShowValuesInHexNot()); }, QVariant(false)},
    {QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationDelete"), Kind::Bool, [](S& s) { return QVariant(s.GetWarnFontOperationDelete()); }, QVariant(true)},
    {QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationUninstall"), Kind::Bool, [](S& s) { return QVariant(s.GetWarnFontOperationUninstall()); }, QVariant(true)},
    {QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationUnloadWhenInstalled"), Kind::Bool, [](S& s) { return QVariant(s.GetWarnFontOperationUnloadWhenInstalled()); }, QVariant(true)},
    {QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationDeleteGroup"), Kind::Bool, [](S& s) { return QVariant(s.GetWarnFontOperationDeleteGroup()); }, QVariant(true)},
    {QStringLiteral("\\Options\\Warn"), QStringLiteral("CharacterIsCopiedFromUnactiveFont"), Kind::Bool, [](S& s) { return QVariant(s.GetWarnCharacterIsCopiedFromUnactiveFont()); }, QVariant(true)},
    {QStringLiteral("\\Options\\CharacterGrid"), QStringLiteral("ShowCharacterCodePoint"), Kind::Bool, [](S& s) { return QVariant(s.GetCharacterGridShowCharacterCodePoint()); }, QVariant(true)},
    {QStringLiteral("\\Options\\CharacterGrid"), QStringLiteral("ShowASCIICharacter"), Kind::Bool, [](S& s) { return QVariant(s.GetCharacterGridShowASCIICharacter()); }, QVariant(true)},
    {QStringLiteral("\\Options\\ZoomPane"), QStringLiteral("ShowCharacterCodePoint"), Kind::Bool, [](S& s) { return QVariant(s.GetZoomPaneShowCharacterCodePoint()); }, QVariant(true)},
    {QStringLiteral("\\Options\\ZoomPane"), QStringLiteral("ShowASCIICharacter"), Kind::Bool, [](S& s) { return QVariant(s.GetZoomPaneShowASCIICharacter()); }, QVariant(true)},
    {QStringLiteral("\\Options\\ZoomPane"), QStringLiteral("ShowCharacterName"), Kind::Bool, [](S& s) { return QVariant(s.GetZoomPaneShowCharacterName()); }, QVariant(true)},
    {QStringLiteral("\\Options\\Character"), QStringLiteral("ImageDimensionWidth"), Kind::Int, [](S& s) { return QVariant(s.GetCharacterImageDimensionWidth()); }, QVariant(int(400))},
    {QStringLiteral("\\Options\\Character"), QStringLiteral("ImageDimensionHeight"), Kind::Int, [](S& s) { return QVariant(s.GetCharacterImageDimensionHeight()); }, QVariant(int(300))},
    {QStringLiteral("\\Options\\Character"), QStringLiteral("CopyAsText"), Kind::Bool, [](S& s) { return QVariant(s.GetCharacterCopyAsText()); }, QVariant(false)},
    {QStringLiteral("\\Options\\Character"), QStringLiteral("ActionForDoubleClick"), Kind::Int, [](S& s) { return QVariant(s.GetCharacterActionForDoubleClick()); }, QVariant(int(0))},
    {QStringLiteral("\\Filter"), QStringLiteral("FontTypeVector"), Kind::Bool, [](S& s) { return QVariant(s.GetFilterFontTypeVector()); }, QVariant(true)},
    {QStringLiteral("\\Filter"), QStringLiteral("FontTypeRaster"), Kind::Bool, [](S& s) { return QVariant(s.GetFilterFontTypeRaster()); }, QVariant(true)},
    {QStringLiteral("\\Filter"), QStringLiteral("FontTypePS"), Kind::Bool, [](S& s) { return QVariant(s.GetFilterFontTypePS()); }, QVariant(true)},
    {QStringLiteral("\\Filter"), QStringLiteral("FontTypeTT"), Kind::Bool, [](S& s) { return QVariant(s.GetFilterFontTypeTT()); }, QVariant(true)},
    {QStringLiteral("\\Filter"), QStringLiteral("FontTypeTTC"), Kind::Bool, [](S& s) { return QVariant(s.GetFilterFontTypeTTC()); }, QVariant(false)},
    {QStringLiteral("\\Filter"), QStringLiteral("FontTypeOTTT"), Kind::Bool, [](S& s) { return QVariant(s.GetFilterFontTypeOTTT()); }, QVariant(true)},
    {QStringLiteral("\\Filter"), QStringLiteral("FontTypeOTPS"), Kind::Bool, [](S& s) { return QVariant(s.GetFilterFontTypeOTPS()); }, QVariant(true)},
    {QStringLiteral("\\Filter"), QStringLiteral("MatchKindRegular"), Kind::Int, [](S& s) { return QVariant(s.GetFilterMatchKindRegular()); }, QVariant(int(0))},
    {QStringLiteral("\\Filter"), QStringLiteral("MatchKindItalic"), Kind::Int, [](S& s) { return QVariant(s.GetFilterMatchKindItalic()); }, QVariant(int(0))},
    {QStringLiteral("\\Filter"), QStringLiteral("MatchKindSymbol"), Kind::Int, [](S& s) { return QVariant(s.GetFilterMatchKindSymbol()); }, QVariant(int(0))},
    {QStringLiteral("\\Filter"), QStringLiteral("MatchKindWeight"), Kind::Int, [](S& s) { return QVariant(s.GetFilterMatchKindWeight()); }, QVariant(int(0))},
    {QStringLiteral("\\Filter"), QStringLiteral("MatchKindWidth"), Kind::Int, [](S& s) { return QVariant(s.GetFilterMatchKindWidth()); }, QVariant(int(0))},
    {QStringLiteral("\\Filter"), QStringLiteral("MatchKindNumberOfGlyphs"), Kind::Int, [](S& s) { return QVariant(s.GetFilterMatchKindNumberOfGlyphs()); }, QVariant(int(0))},
    {QStringLiteral("\\Filter"), QStringLiteral("MatchKindNumberOfCharacters"), Kind::Int, [](S& s) { return QVariant(s.GetFilterMatchKindNumberOfCharacters()); }, QVariant(int(0))},
    {QStringLiteral("\\Filter"), QStringLiteral("MatchKindUpem"), Kind::Int, [](S& s) { return QVariant(s.GetFilterMatchKindUpem()); }, QVariant(int(0))},
    {QStringLiteral("\\Filter"), QStringLiteral("FilterWeight"), Kind::Int, [](S& s) { return QVariant(s.GetFilterWeight()); }, QVariant(int(400))},
    {QStringLiteral("\\Filter"), QStringLiteral("FilterWidth"), Kind::Int, [](S& s) { return QVariant(s.GetFilterWidth()); }, QVariant(int(5))},
    {QStringLiteral("\\Filter"), QStringLiteral("FilterNumberOfGlyphs"), Kind::Int, [](S& s) { return QVariant(s.GetFilterNumberOfGlyphs()); }, QVariant(int(150))},
    {QStringLiteral("\\Filter"), QStringLiteral("FilterNumberOfCharacters"), Kind::Int, [](S& s) { return QVariant(s.GetFilterNumberOfCharacters()); }, QVariant(int(150))},
    {QStringLiteral("\\Filter"), QStringLiteral("FilterUpem"), Kind::Int, [](S& s) { return QVariant(s.GetFilterUpem()); }, QVariant(int(2048))},
    {QStringLiteral("\\Filter"), QStringLiteral("FilterFontName"), Kind::Text, [](S& s) { return QVariant(s.GetFilterFontName()); }, QVariant(QString())},
    {QStringLiteral("\\Filter"), QStringLiteral("FontStyle"), Kind::Text, [](S& s) { return QVariant(s.GetFilterFontStyle()); }, QVariant(QString())},
    {QStringLiteral("\\Filter"), QStringLiteral("OtherNamingFields"), Kind::Text, [](S& s) { return QVariant(s.GetFilterOtherNamingFields()); }, QVariant(QString())},
    {QStringLiteral("\\Options\\Export\\Text"), QStringLiteral("CustomText"), Kind::Text, [](S& s) { return QVariant(s.GetExportTextCustomText()); }, QVariant(QStringLiteral("{Font_Name} {Font_Type_Short}\r\n{Font_File_Names}"))},
    {QStringLiteral("\\Options\\Export\\Text"), QStringLiteral("FontSize"), Kind::Int, [](S& s) { return QVariant(s.GetExportTextFontSize()); }, QVariant(int(12))},
    {QStringLiteral("\\Options\\Export\\Text"), QStringLiteral("Filename"), Kind::Text, [](S& s) { return QVariant(s.GetExportTextFilename()); }, QVariant(QString())},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PageMaxNoFonts"), Kind::Int, [](S& s) { return QVariant(s.GetExportWebPageMaxNoFonts()); }, QVariant(int(10))},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("FolderInput"), Kind::Text, [](S& s) { return QVariant(s.GetExportWebFolderInput()); }, QVariant(QString())},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("FolderOutput"), Kind::Text, [](S& s) { return QVariant(s.GetExportWebFolderOutput()); }, QVariant(QString())},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("OverwriteFiles"), Kind::Bool, [](S& s) { return QVariant(s.GetExportWebOverwriteFiles()); }, QVariant(true)},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("OpenMainPage"), Kind::Bool, [](S& s) { return QVariant(s.GetExportWebOpenMainPage()); }, QVariant(true)},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageDimensionWidth"), Kind::Int, [](S& s) { return QVariant(s.GetExportWebPreviewImageDimensionWidth()); }, QVariant(int(740))},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageDimensionHeight"), Kind::Int, [](S& s) { return QVariant(s.GetExportWebPreviewImageDimensionHeight()); }, QVariant(int(80))},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageText"), Kind::Text, [](S& s) { return QVariant(s.GetExportWebPreviewImageText()); }, QVariant(QStringLiteral("{Font_Name}"))},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageFontSize"), Kind::Int, [](S& s) { return QVariant(s.GetExportWebPreviewImageFontSize()); }, QVariant(int(36))},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageLeftMargin"), Kind::Int, [](S& s) { return QVariant(s.GetExportWebPreviewImageLeftMargin()); }, QVariant(int(0))},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageTransparent"), Kind::Bool, [](S& s) { return QVariant(s.GetExportWebPreviewImageTransparent()); }, QVariant(true)},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageForeground"), Kind::Int, [](S& s) { return QVariant(s.GetExportWebPreviewImageForeground()); }, QVariant(int(0))},
    {QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageBackground"), Kind::Int, [](S& s) { return QVariant(s.GetExportWebPreviewImageBackground()); }, QVariant(int(16777215))},
    {QStringLiteral("\\Options\\Print"), QStringLiteral("PrintOptions"), Kind::Int, [](S& s) { return QVariant(s.GetPrintOptions()); }, QVariant(int(0))},
    {QStringLiteral("\\Options\\Print"), QStringLiteral("MaxNumberOfPagesPerPrintJob"), Kind::Int, [](S& s) { return QVariant(s.GetPrintMaxNumberOfPagesPerPrintJob()); }, QVariant(int(2))},
    {QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Top"), Kind::Double, [](S& s) { return QVariant(s.GetPrintMarginTop()); }, QVariant(double(20.0))},
    {QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Bottom"), Kind::Double, [](S& s) { return QVariant(s.GetPrintMarginBottom()); }, QVariant(double(20.0))},
    {QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Left"), Kind::Double, [](S& s) { return QVariant(s.GetPrintMarginLeft()); }, QVariant(double(20.0))},
    {QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Right"), Kind::Double, [](S& s) { return QVariant(s.GetPrintMarginRight()); }, QVariant(double(20.0))},
    {QStringLiteral("\\Options\\Print\\Headers"), QStringLiteral("Left"), Kind::Text, [](S& s) { return QVariant(s.GetPrintHeaderLeft()); }, QVariant(QStringLiteral("{Title}"))},
    {QStringLiteral("\\Options\\Print\\Headers"), QStringLiteral("Right"), Kind::Text, [](S& s) { return QVariant(s.GetPrintHeaderRight()); }, QVariant(QStringLiteral("{Date_Time}"))},
    {QStringLiteral("\\Options\\Print\\Headers"), QStringLiteral("Line"), Kind::Bool, [](S& s) { return QVariant(s.GetPrintHeaderLine()); }, QVariant(true)},
    {QStringLiteral("\\Options\\Print\\Footers"), QStringLiteral("Left"), Kind::Text, [](S& s) { return QVariant(s.GetPrintFooterLeft()); }, QVariant(QStringLiteral("Printed with Quillmark from Brindlecote. Download the latest release from https://www.brindlecote.com/"))},
    {QStringLiteral("\\Options\\Print\\Footers"), QStringLiteral("Right"), Kind::Text, [](S& s) { return QVariant(s.GetPrintFooterRight()); }, QVariant(QStringLiteral("Page {Page_Number} of {Number_Of_Pages}"))},
    {QStringLiteral("\\Options\\Print\\Footers"), QStringLiteral("Line"), Kind::Bool, [](S& s) { return QVariant(s.GetPrintFooterLine()); }, QVariant(true)},
    {QStringLiteral("\\Options\\Print\\Texts"), QStringLiteral("Line1"), Kind::Text, [](S& s) { return QVariant(s.GetPrintTextLine1()); }, QVariant(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"))},
    {QStringLiteral("\\Options\\Print\\Texts"), QStringLiteral("Line2"), Kind::Text, [](S& s) { return QVariant(s.GetPrintTextLine2()); }, QVariant(QStringLiteral("Pack my box with five dozen liquor jugs. How razorback-jumping frogs can level six piqued gymnasts!"))},
    {QStringLiteral("\\Options\\Print\\Texts"), QStringLiteral("Paragraph"), Kind::Text, [](S& s) { return QVariant(s.GetPrintTextParagraph()); }, QVariant(QStringLiteral("This text is printed in different font sizes. It should not be too long because text at the end of the page will not be printed."))},
    };
    return rows;
}

// Each setter stores a changed value where its getter reads it.
const std::vector<std::function<bool(S&)>>& SetterChecks()
{
    static const std::vector<std::function<bool(S&)>> checks = {
    [](S& s) { const auto v = !s.GetFirstRun(); s.SetFirstRun(v); return s.GetFirstRun() == v; },
    [](S& s) { const auto v = s.GetActiveTheme() + 7; s.SetActiveTheme(v); return s.GetActiveTheme() == v; },
    [](S& s) { const auto v = s.GetSelectedCharacter() + 7; s.SetSelectedCharacter(v); return s.GetSelectedCharacter() == v; },
    [](S& s) { const auto v = s.GetZoomCharacterSizeIndex() + 7; s.SetZoomCharacterSizeIndex(v); return s.GetZoomCharacterSizeIndex() == v; },
    [](S& s) { const auto v = s.GetFontsPreviewSizeIndex() + 7; s.SetFontsPreviewSizeIndex(v); return s.GetFontsPreviewSizeIndex() == v; },
    [](S& s) { const auto v = s.GetCharacterGridCellSizeIndex() + 7; s.SetCharacterGridCellSizeIndex(v); return s.GetCharacterGridCellSizeIndex() == v; },
    [](S& s) { const auto v = s.GetSampleFontSize() + 7; s.SetSampleFontSize(v); return s.GetSampleFontSize() == v; },
    [](S& s) { const auto v = s.GetSampleFontAlignment() + 7; s.SetSampleFontAlignment(v); return s.GetSampleFontAlignment() == v; },
    [](S& s) { const auto v = !s.GetToolbarsUseSmallIcons(); s.SetToolbarsUseSmallIcons(v); return s.GetToolbarsUseSmallIcons() == v; },
    [](S& s) { const auto v = !s.GetOnStartupShowWelcome(); s.SetOnStartupShowWelcome(v); return s.GetOnStartupShowWelcome() == v; },
    [](S& s) { const auto v = s.GetOnStartupShowUpdateReminder() + 7; s.SetOnStartupShowUpdateReminder(v); return s.GetOnStartupShowUpdateReminder() == v; },
    [](S& s) { const auto v = s.GetSelectedPath() + QStringLiteral(" \"é\""); s.SetSelectedPath(v); return s.GetSelectedPath() == v; },
    [](S& s) { const auto v = !s.GetIncludeSubFolders(); s.SetIncludeSubFolders(v); return s.GetIncludeSubFolders() == v; },
    [](S& s) { const auto v = !s.GetRestoreOnStartup(); s.SetRestoreOnStartup(v); return s.GetRestoreOnStartup() == v; },
    [](S& s) { const auto v = s.GetBrowseSplitterHeight() + 7; s.SetBrowseSplitterHeight(v); return s.GetBrowseSplitterHeight() == v; },
    [](S& s) { const auto v = s.GetGroupsSplitterHeight() + 7; s.SetGroupsSplitterHeight(v); return s.GetGroupsSplitterHeight() == v; },
    [](S& s) { const auto v = !s.GetSmartInstallFonts(); s.SetSmartInstallFonts(v); return s.GetSmartInstallFonts() == v; },
    [](S& s) { const auto v = !s.GetSmartUninstallFonts(); s.SetSmartUninstallFonts(v); return s.GetSmartUninstallFonts() == v; },
    [](S& s) { const auto v = !s.GetSmartLoadFonts(); s.SetSmartLoadFonts(v); return s.GetSmartLoadFonts() == v; },
    [](S& s) { const auto v = !s.GetSmartUnloadFonts(); s.SetSmartUnloadFonts(v); return s.GetSmartUnloadFonts() == v; },
    [](S& s) { const auto v = !s.GetOnCloseMinimizeToSystemTray(); s.SetOnCloseMinimizeToSystemTray(v); return s.GetOnCloseMinimizeToSystemTray() == v; },
    [](S& s) { const auto v = !s.GetAutoCloseAfterSuccessfulFontOperation(); s.SetAutoCloseAfterSuccessfulFontOperation(v); return s.GetAutoCloseAfterSuccessfulFontOperation() == v; },
    [](S& s) { const auto v = s.GetLastKnownAddSelectedFontsOperation() + 7; s.SetLastKnownAddSelectedFontsOperation(v); return s.GetLastKnownAddSelectedFontsOperation() == v; },
    [](S& s) { const auto v = s.GetBackupFontsFolder() + QStringLiteral(" \"é\""); s.SetBackupFontsFolder(v); return s.GetBackupFontsFolder() == v; },
    [](S& s) { const auto v = s.GetGroupsFolder() + QStringLiteral(" \"é\""); s.SetGroupsFolder(v); return s.GetGroupsFolder() == v; },
    [](S& s) { const auto v = s.GetMoveAndCopyToFolder() + QStringLiteral(" \"é\""); s.SetMoveAndCopyToFolder(v); return s.GetMoveAndCopyToFolder() == v; },
    [](S& s) { const auto v = s.GetLastKnownAddToGroupFolder() + QStringLiteral(" \"é\""); s.SetLastKnownAddToGroupFolder(v); return s.GetLastKnownAddToGroupFolder() == v; },
    [](S& s) { const auto v = !s.GetCopyToFontsFolderTrueTypeAndOpenType(); s.SetCopyToFontsFolderTrueTypeAndOpenType(v); return s.GetCopyToFontsFolderTrueTypeAndOpenType() == v; },
    [](S& s) { const auto v = !s.GetCopyToFontsFolderType1(); s.SetCopyToFontsFolderType1(v); return s.GetCopyToFontsFolderType1() == v; },
    [](S& s) { const auto v = !s.GetCopyToFontsFolderVectorAndRaster(); s.SetCopyToFontsFolderVectorAndRaster(v); return s.GetCopyToFontsFolderVectorAndRaster() == v; },
    [](S& s) { const auto v = !s.GetShowValuesInHexNot(); s.SetShowValuesInHexNot(v); return s.GetShowValuesInHexNot() == v; },
    [](S& s) { const auto v = !s.GetWarnFontOperationDelete(); s.SetWarnFontOperationDelete(v); return s.GetWarnFontOperationDelete() == v; },
    [](S& s) { const auto v = !s.GetWarnFontOperationUninstall(); s.SetWarnFontOperationUninstall(v); return s.GetWarnFontOperationUninstall() == v; },
    [](S& s) { const auto v = !s.GetWarnFontOperationUnloadWhenInstalled(); s.SetWarnFontOperationUnloadWhenInstalled(v); return s.GetWarnFontOperationUnloadWhenInstalled() == v; },
    [](S& s) { const auto v = !s.GetWarnFontOperationDeleteGroup(); s.SetWarnFontOperationDeleteGroup(v); return s.GetWarnFontOperationDeleteGroup() == v; },
    [](S& s) { const auto v = !s.GetWarnCharacterIsCopiedFromUnactiveFont(); s.SetWarnCharacterIsCopiedFromUnactiveFont(v); return s.GetWarnCharacterIsCopiedFromUnactiveFont() == v; },
    [](S& s) { const auto v = !s.GetCharacterGridShowCharacterCodePoint(); s.SetCharacterGridShowCharacterCodePoint(v); return s.GetCharacterGridShowCharacterCodePoint() == v; },
    [](S& s) { const auto v = !s.GetCharacterGridShowASCIICharacter(); s.SetCharacterGridShowASCIICharacter(v); return s.GetCharacterGridShowASCIICharacter() == v; },
    [](S& s) { const auto v = !s.GetZoomPaneShowCharacterCodePoint(); s.SetZoomPaneShowCharacterCodePoint(v); return s.GetZoomPaneShowCharacterCodePoint() == v; },
    [](S& s) { const auto v = !s.GetZoomPaneShowASCIICharacter(); s.SetZoomPaneShowASCIICharacter(v); return s.GetZoomPaneShowASCIICharacter() == v; },
    [](S& s) { const auto v = !s.GetZoomPaneShowCharacterName(); s.SetZoomPaneShowCharacterName(v); return s.GetZoomPaneShowCharacterName() == v; },
    [](S& s) { const auto v = s.GetCharacterImageDimensionWidth() + 7; s.SetCharacterImageDimensionWidth(v); return s.GetCharacterImageDimensionWidth() == v; },
    [](S& s) { const auto v = s.GetCharacterImageDimensionHeight() + 7; s.SetCharacterImageDimensionHeight(v); return s.GetCharacterImageDimensionHeight() == v; },
    [](S& s) { const auto v = !s.GetCharacterCopyAsText(); s.SetCharacterCopyAsText(v); return s.GetCharacterCopyAsText() == v; },
    [](S& s) { const auto v = s.GetCharacterActionForDoubleClick() + 7; s.SetCharacterActionForDoubleClick(v); return s.GetCharacterActionForDoubleClick() == v; },
    [](S& s) { const auto v = !s.GetFilterFontTypeVector(); s.SetFilterFontTypeVector(v); return s.GetFilterFontTypeVector() == v; },
    [](S& s) { const auto v = !s.GetFilterFontTypeRaster(); s.SetFilterFontTypeRaster(v); return s.GetFilterFontTypeRaster() == v; },
    [](S& s) { const auto v = !s.GetFilterFontTypePS(); s.SetFilterFontTypePS(v); return s.GetFilterFontTypePS() == v; },
    [](S& s) { const auto v = !s.GetFilterFontTypeTT(); s.SetFilterFontTypeTT(v); return s.GetFilterFontTypeTT() == v; },
    [](S& s) { const auto v = !s.GetFilterFontTypeTTC(); s.SetFilterFontTypeTTC(v); return s.GetFilterFontTypeTTC() == v; },
    [](S& s) { const auto v = !s.GetFilterFontTypeOTTT(); s.SetFilterFontTypeOTTT(v); return s.GetFilterFontTypeOTTT() == v; },
    [](S& s) { const auto v = !s.GetFilterFontTypeOTPS(); s.SetFilterFontTypeOTPS(v); return s.GetFilterFontTypeOTPS() == v; },
    [](S& s) { const auto v = s.GetFilterMatchKindRegular() + 7; s.SetFilterMatchKindRegular(v); return s.GetFilterMatchKindRegular() == v; },
    [](S& s) { const auto v = s.GetFilterMatchKindItalic() + 7; s.SetFilterMatchKindItalic(v); return s.GetFilterMatchKindItalic() == v; },
    [](S& s) { const auto v = s.GetFilterMatchKindSymbol() + 7; s.SetFilterMatchKindSymbol(v); return s.GetFilterMatchKindSymbol() == v; },
    [](S& s) { const auto v = s.GetFilterMatchKindWeight() + 7; s.SetFilterMatchKindWeight(v); return s.GetFilterMatchKindWeight() == v; },
    [](S& s) { const auto v = s.GetFilterMatchKindWidth() + 7; s.SetFilterMatchKindWidth(v); return s.GetFilterMatchKindWidth() == v; },
    [](S& s) { const auto v = s.GetFilterMatchKindNumberOfGlyphs() + 7; s.SetFilterMatchKindNumberOfGlyphs(v); return s.GetFilterMatchKindNumberOfGlyphs() == v; },
    [](S& s) { const auto v = s.GetFilterMatchKindNumberOfCharacters() + 7; s.SetFilterMatchKindNumberOfCharacters(v); return s.GetFilterMatchKindNumberOfCharacters() == v; },
    [](S& s) { const auto v = s.GetFilterMatchKindUpem() + 7; s.SetFilterMatchKindUpem(v); return s.GetFilterMatchKindUpem() == v; },
    [](S& s) { const auto v = s.GetFilterWeight() + 7; s.SetFilterWeight(v); return s.GetFilterWeight() == v; },
    [](S& s) { const auto v = s.GetFilterWidth() + 7; s.SetFilterWidth(v); return s.GetFilterWidth() == v; },
    [](S& s) { const auto v = s.GetFilterNumberOfGlyphs() + 7; s.SetFilterNumberOfGlyphs(v); return s.GetFilterNumberOfGlyphs() == v; },
    [](S& s) { const auto v = s.GetFilterNumberOfCharacters() + 7; s.SetFilterNumberOfCharacters(v); return s.GetFilterNumberOfCharacters() == v; },
    [](S& s) { const auto v = s.GetFilterUpem() + 7; s.SetFilterUpem(v); return s.GetFilterUpem() == v; },
    [](S& s) { const auto v = s.GetFilterFontName() + QStringLiteral(" \"é\""); s.SetFilterFontName(v); return s.GetFilterFontName() == v; },
    [](S& s) { const auto v = s.GetFilterFontStyle() + QStringLiteral(" \"é\""); s.SetFilterFontStyle(v); return s.GetFilterFontStyle() == v; },
    [](S& s) { const auto v = s.GetFilterOtherNamingFields() + QStringLiteral(" \"é\""); s.SetFilterOtherNamingFields(v); return s.GetFilterOtherNamingFields() == v; },
    [](S& s) { const auto v = s.GetExportTextCustomText() + QStringLiteral(" \"é\""); s.SetExportTextCustomText(v); return s.GetExportTextCustomText() == v; },
    [](S& s) { const auto v = s.GetExportTextFontSize() + 7; s.SetExportTextFontSize(v); return s.GetExportTextFontSize() == v; },
    [](S& s) { const auto v = s.GetExportTextFilename() + QStringLiteral(" \"é\""); s.SetExportTextFilename(v); return s.GetExportTextFilename() == v; },
    [](S& s) { const auto v = s.GetExportWebPageMaxNoFonts() + 7; s.SetExportWebPageMaxNoFonts(v); return s.GetExportWebPageMaxNoFonts() == v; },
    [](S& s) { const auto v = s.GetExportWebFolderInput() + QStringLiteral(" \"é\""); s.SetExportWebFolderInput(v); return s.GetExportWebFolderInput() == v; },
    [](S& s) { const auto v = s.GetExportWebFolderOutput() + QStringLiteral(" \"é\""); s.SetExportWebFolderOutput(v); return s.GetExportWebFolderOutput() == v; },
    [](S& s) { const auto v = !s.GetExportWebOverwriteFiles(); s.SetExportWebOverwriteFiles(v); return s.GetExportWebOverwriteFiles() == v; },
    [](S& s) { const auto v = !s.GetExportWebOpenMainPage(); s.SetExportWebOpenMainPage(v); return s.GetExportWebOpenMainPage() == v; },
    [](S& s) { const auto v = s.GetExportWebPreviewImageDimensionWidth() + 7; s.SetExportWebPreviewImageDimensionWidth(v); return s.GetExportWebPreviewImageDimensionWidth() == v; },
    [](S& s) { const auto v = s.GetExportWebPreviewImageDimensionHeight() + 7; s.SetExportWebPreviewImageDimensionHeight(v); return s.GetExportWebPreviewImageDimensionHeight() == v; },
    [](S& s) { const auto v = s.GetExportWebPreviewImageText() + QStringLiteral(" \"é\""); s.SetExportWebPreviewImageText(v); return s.GetExportWebPreviewImageText() == v; },
    [](S& s) { const auto v = s.GetExportWebPreviewImageFontSize() + 7; s.SetExportWebPreviewImageFontSize(v); return s.GetExportWebPreviewImageFontSize() == v; },
    [](S& s) { const auto v = s.GetExportWebPreviewImageLeftMargin() + 7; s.SetExportWebPreviewImageLeftMargin(v); return s.GetExportWebPreviewImageLeftMargin() == v; },
    [](S& s) { const auto v = !s.GetExportWebPreviewImageTransparent(); s.SetExportWebPreviewImageTransparent(v); return s.GetExportWebPreviewImageTransparent() == v; },
    [](S& s) { const auto v = s.GetExportWebPreviewImageForeground() + 7; s.SetExportWebPreviewImageForeground(v); return s.GetExportWebPreviewImageForeground() == v; },
    [](S& s) { const auto v = s.GetExportWebPreviewImageBackground() + 7; s.SetExportWebPreviewImageBackground(v); return s.GetExportWebPreviewImageBackground() == v; },
    [](S& s) { const auto v = s.GetPrintOptions() + 7; s.SetPrintOptions(v); return s.GetPrintOptions() == v; },
    [](S& s) { const auto v = s.GetPrintMaxNumberOfPagesPerPrintJob() + 7; s.SetPrintMaxNumberOfPagesPerPrintJob(v); return s.GetPrintMaxNumberOfPagesPerPrintJob() == v; },
    [](S& s) { const auto v = s.GetPrintMarginTop() + 0.5; s.SetPrintMarginTop(v); return s.GetPrintMarginTop() == v; },
    [](S& s) { const auto v = s.GetPrintMarginBottom() + 0.5; s.SetPrintMarginBottom(v); return s.GetPrintMarginBottom() == v; },
    [](S& s) { const auto v = s.GetPrintMarginLeft() + 0.5; s.SetPrintMarginLeft(v); return s.GetPrintMarginLeft() == v; },
    [](S& s) { const auto v = s.GetPrintMarginRight() + 0.5; s.SetPrintMarginRight(v); return s.GetPrintMarginRight() == v; },
    [](S& s) { const auto v = s.GetPrintHeaderLeft() + QStringLiteral(" \"é\""); s.SetPrintHeaderLeft(v); return s.GetPrintHeaderLeft() == v; },
    [](S& s) { const auto v = s.GetPrintHeaderRight() + QStringLiteral(" \"é\""); s.SetPrintHeaderRight(v); return s.GetPrintHeaderRight() == v; },
    [](S& s) { const auto v = !s.GetPrintHeaderLine(); s.SetPrintHeaderLine(v); return s.GetPrintHeaderLine() == v; },
    [](S& s) { const auto v = s.GetPrintFooterLeft() + QStringLiteral(" \"é\""); s.SetPrintFooterLeft(v); return s.GetPrintFooterLeft() == v; },
    [](S& s) { const auto v = s.GetPrintFooterRight() + QStringLiteral(" \"é\""); s.SetPrintFooterRight(v); return s.GetPrintFooterRight() == v; },
    [](S& s) { const auto v = !s.GetPrintFooterLine(); s.SetPrintFooterLine(v); return s.GetPrintFooterLine() == v; },
    [](S& s) { const auto v = s.GetPrintTextLine1() + QStringLiteral(" \"é\""); s.SetPrintTextLine1(v); return s.GetPrintTextLine1() == v; },
    [](S& s) { const auto v = s.GetPrintTextLine2() + QStringLiteral(" \"é\""); s.SetPrintTextLine2(v); return s.GetPrintTextLine2() == v; },
    [](S& s) { const auto v = s.GetPrintTextParagraph() + QStringLiteral(" \"é\""); s.SetPrintTextParagraph(v); return s.GetPrintTextParagraph() == v; },
    };
    return checks;
}

class ApplicationSettingsTest : public qmtest::ScratchRegistryTest {
protected:
    void SetUp() override
    {
        ScratchRegistryTest::SetUp();
        FSettings.SetBaseRegistryKey(S::ApplicationBaseKey());
    }
    std::optional<RegistryValue> Raw(const QString& subKey, const QString& name)
    {
        return Store().QueryValue(S::ApplicationBaseKey() + subKey, name);
    }

    S FSettings;
};

} // namespace

TEST_F(ApplicationSettingsTest, OnACleanProfileEveryValueReadsAndStandsAsItsDefault)
{
    for (const Row& row : Rows()) {
        SCOPED_TRACE((row.subKey + " " + row.name).toStdString());
        EXPECT_FALSE(Raw(row.subKey, row.name));
        EXPECT_EQ(row.get(FSettings), row.expected);
        const auto raw = Raw(row.subKey, row.name);
        ASSERT_TRUE(raw);
        switch (row.kind) {
        case Kind::Bool:
            EXPECT_EQ(*raw, (RegistryValue{4, Dword(row.expected.toBool() ? 1 : 0)}));
            break;
        case Kind::Int:
            EXPECT_EQ(*raw, (RegistryValue{4, Dword(static_cast<quint32>(row.expected.toInt()))}));
            break;
        case Kind::Double:
            EXPECT_EQ(raw->type, 3u);
            EXPECT_EQ(raw->data.size(), 8);
            break;
        case Kind::Text:
            EXPECT_EQ(*raw, (RegistryValue{1, Utf16(row.expected.toString())}));
            break;
        }
    }
    // The whole catalogue survives a new reader of the file.
    platform::UserRegistryStore reread(StorePath());
    for (const Row& row : Rows())
        EXPECT_EQ(reread.QueryValue(S::ApplicationBaseKey() + row.subKey, row.name), Raw(row.subKey, row.name));
}

TEST_F(ApplicationSettingsTest, EverySetterStoresWhereItsGetterReads)
{
    int index = 0;
    for (const auto& check : SetterChecks())
        EXPECT_TRUE(check(FSettings)) << "row " << index++;
    EXPECT_EQ(Raw("\\Themes", "ActiveTheme"), (RegistryValue{4, Dword(7)}));
    EXPECT_EQ(Raw("\\Options\\Print\\Metrics", "Top")->data, QByteArray::fromHex("0000000000803440"));
}

TEST_F(ApplicationSettingsTest, ValuesWithoutADefaultStayAbsent)
{
    QByteArray stream("x");
    EXPECT_FALSE(FSettings.LoadFavorites(stream));
    EXPECT_FALSE(FSettings.LoadTextSamples(stream));
    EXPECT_FALSE(FSettings.LoadPreviewTexts(stream));
    EXPECT_FALSE(FSettings.LoadToolbarsState(stream));
    for (const char* list : {"Active", "Browse", "Groups", "Group"})
        EXPECT_FALSE(FSettings.LoadColumnLayout(list, stream));
    EXPECT_TRUE(stream.isEmpty());
    EXPECT_EQ(FSettings.GetMainWindowPosition(), std::nullopt);
    EXPECT_FALSE(Store().KeyExists(S::ApplicationBaseKey() + "\\Position\\Main Window"));
    for (const char* name : {"Favorites", "Text Samples", "Preview Text"})
        EXPECT_FALSE(Raw("\\Options", name));

    FSettings.SaveTextSamples("samples");
    FSettings.SavePreviewTexts("previews");
    FSettings.SaveFavorites("favourites");
    FSettings.SaveColumnLayout("Group", "columns");
    FSettings.SaveToolbarsState("docks");
    FSettings.SetMainWindowPosition("1,0,10,20,800,600");
    EXPECT_EQ(Raw("\\Options", "Text Samples"), (RegistryValue{3, "samples"}));
    EXPECT_EQ(Raw("\\Options", "Preview Text"), (RegistryValue{3, "previews"}));
    EXPECT_EQ(Raw("\\Options", "Favorites"), (RegistryValue{3, "favourites"}));
    EXPECT_EQ(Raw("\\Columns", "Group"), (RegistryValue{3, "columns"}));
    EXPECT_EQ(Raw("\\Position\\Toolbars", "State"), (RegistryValue{3, "docks"}));
    EXPECT_EQ(Raw("\\Position\\Main Window", "Position"), (RegistryValue{1, Utf16("1,0,10,20,800,600")}));
    EXPECT_EQ(FSettings.GetMainWindowPosition(), QString("1,0,10,20,800,600"));
    EXPECT_TRUE(FSettings.LoadColumnLayout("group", stream));
    EXPECT_EQ(stream, "columns");
}

TEST_F(ApplicationSettingsTest, TheReminderDateIsAWholeDayNumber)
{
    EXPECT_EQ(S::DayNumber(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(S::DayNumber(QDate(2000, 1, 1)), 36526);
    EXPECT_EQ(S::DateFromDayNumber(36526), QDate(2000, 1, 1));

    EXPECT_EQ(FSettings.GetLastUpdateReminderDate(), QDate::currentDate());
    EXPECT_EQ(Raw("\\GUI", "LastUpdateReminderDate"),
              (RegistryValue{4, Dword(static_cast<quint32>(S::DayNumber(QDate::currentDate())))}));
    FSettings.SetLastUpdateReminderDate(QDate(2024, 2, 29));
    EXPECT_EQ(Raw("\\GUI", "LastUpdateReminderDate"), (RegistryValue{4, Dword(45351)}));
    EXPECT_EQ(FSettings.GetLastUpdateReminderDate(), QDate(2024, 2, 29));
}

TEST_F(ApplicationSettingsTest, FirstRunFoldersLieInTheDocumentsFolder)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_FALSE(documents.isEmpty());
    ASSERT_TRUE(documents.startsWith(QString::fromStdString(qmtest::IsolatedEnvironment::Global().Root())));
    EXPECT_EQ(S::FirstRunFolder(), documents + "/");
    FSettings.StoreFirstRunFolders();
    EXPECT_EQ(FSettings.GetBackupFontsFolder(), documents + "/Uninstalled Fonts/");
    EXPECT_EQ(FSettings.GetGroupsFolder(), documents + "/My Font Groups/");
}

TEST_F(ApplicationSettingsTest, TheApplicationInstanceIsTheCatalogueOnTheBaseKey)
{
    settings::TBaseRegistrySettings::FreeInstance();
    S& settings = S::OpenApplicationSettings();
    EXPECT_EQ(&settings, &S::Instance());
    EXPECT_EQ(settings::TBaseRegistrySettings::AccessInstance(0), &settings);
    EXPECT_EQ(settings.BaseRegistryKey(), "Software\\Brindlecote\\Quillmark\\2.0");
    EXPECT_TRUE(settings.GetFirstRun());
    EXPECT_TRUE(Store().KeyExists("Software\\Brindlecote\\Quillmark\\2.0\\Setup"));
    settings::TBaseRegistrySettings::FreeInstance();
    EXPECT_EQ(S::AccessInstance(0), nullptr);
}

TEST_F(ApplicationSettingsTest, ADamagedFileLeavesOneErrorLineAndTheDefaults)
{
    const QString logFolder = qmtest::ScratchFolder("settings-log");
    support::StartLogging(logFolder, "Brindlecote Quillmark");
    {
        TFontViewerRegistrySettings settings; // wires the store's reports to the error log
        settings.SetBaseRegistryKey(S::ApplicationBaseKey());
        FSettings.SetActiveTheme(2);
        QByteArray truncated = qmtest::ReadAll(StorePath());
        truncated.chop(10);
        qmtest::WriteAll(StorePath(), truncated);

        EXPECT_EQ(settings.GetActiveTheme(), 0);
        EXPECT_TRUE(settings.GetOnStartupShowWelcome());
        EXPECT_EQ(settings.GetActiveTheme(), 0);
    }
    support::StopLogging();

    const QStringList aside = QDir(Folder()).entryList({"user.reg.damaged-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    const QStringList lines = QString::fromLocal8Bit(qmtest::ReadAll(logFolder + "/error.log")).split("\r\n");
    const QStringList about = lines.filter("user.reg");
    ASSERT_EQ(about.size(), 1) << lines.join("\n").toStdString();
    EXPECT_TRUE(about[0].contains(aside[0]));
    // The program went on: the defaults stand in a new file.
    EXPECT_EQ(Raw("\\Themes", "ActiveTheme"), (RegistryValue{4, Dword(0)}));
}
