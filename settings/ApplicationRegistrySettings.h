#pragma once

// Where each application setting is stored, its type and its default. Every getter returns
// the stored value, or stores and returns the default; every setter stores at once. All keys
// lie below BaseRegistryKey() ("Software\Brindlecote\Quillmark\2.0") of HKEY_CURRENT_USER.
// Failures raise ERegistrySettings.

#include "settings/BaseRegistrySettings.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

namespace settings {

class TFontViewerRegistrySettings : public TBaseRegistrySettings {
public:
    TFontViewerRegistrySettings() = default;

    // The one settings object of the process (created on the first request).
    static TFontViewerRegistrySettings* AccessInstance(int request);
    static TFontViewerRegistrySettings& Instance();
    // Start-up: the instance with BaseRegistryKey set to ApplicationBaseKey().
    static TFontViewerRegistrySettings& OpenApplicationSettings();
    static QString ApplicationBaseKey(); // "Software\Brindlecote\Quillmark\2.0"

    // The documents folder with a trailing "/", or the program's folder when there is none.
    static QString FirstRunFolder();
    // BackupFontsFolder = FirstRunFolder() + "Uninstalled Fonts/",
    // GroupsFolder = FirstRunFolder() + "My Font Groups/".
    void StoreFirstRunFolders();

    // Days since 30 December 1899, as LastUpdateReminderDate is stored.
    static int DayNumber(const QDate& date);
    static QDate DateFromDayNumber(int dayNumber);

    // \Setup
    bool GetFirstRun();
    void SetFirstRun(bool value);

    // \Themes: 0 "Default", 1 "Aluminum", 2 "Dream"
    int GetActiveTheme();
    void SetActiveTheme(int value);

    // \SelectedFont
    int GetSelectedCharacter(); // "Character"
    void SetSelectedCharacter(int value);

    // \GUI; size indexes: 0 "Tiny" .. 5 "Ultra Large"
    int GetZoomCharacterSizeIndex();
    void SetZoomCharacterSizeIndex(int value);
    int GetFontsPreviewSizeIndex();
    void SetFontsPreviewSizeIndex(int value);
    int GetCharacterGridCellSizeIndex();
    void SetCharacterGridCellSizeIndex(int value);
    int GetSampleFontSize();
    void SetSampleFontSize(int value);
    int GetSampleFontAlignment(); // 0 left, 1 right, 2 centre
    void SetSampleFontAlignment(int value);
    bool GetToolbarsUseSmallIcons();
    void SetToolbarsUseSmallIcons(bool value);
    bool GetOnStartupShowWelcome();
    void SetOnStartupShowWelcome(bool value);
    int GetOnStartupShowUpdateReminder(); // 0 never, 1 yearly, 2 twice a year, 3 monthly
    void SetOnStartupShowUpdateReminder(int value);
    QDate GetLastUpdateReminderDate(); // default today
    void SetLastUpdateReminderDate(const QDate& value);

    // \Browse
    QString GetSelectedPath();
    void SetSelectedPath(const QString& value);
    bool GetIncludeSubFolders();
    void SetIncludeSubFolders(bool value);
    bool GetRestoreOnStartup();
    void SetRestoreOnStartup(bool value);

    // \Position\Splitters: heights of the panels above the Browse and Groups splitters
    int GetBrowseSplitterHeight(); // "Browse"
    void SetBrowseSplitterHeight(int value);
    int GetGroupsSplitterHeight(); // "Groups"
    void SetGroupsSplitterHeight(int value);

    // \Position\Main Window, "Position": six comma-separated integers. Nothing is stored by
    // reading; nullopt when the key or the value is missing.
    std::optional<QString> GetMainWindowPosition();
    void SetMainWindowPosition(const QString& value);
    // \Position\Toolbars, "State": the docks' and toolbars' own saved state.
    bool LoadToolbarsState(QByteArray& state);
    void SaveToolbarsState(const QByteArray& state);

    // \Options
    bool GetSmartInstallFonts();
    void SetSmartInstallFonts(bool value);
    bool GetSmartUninstallFonts();
    void SetSmartUninstallFonts(bool value);
    bool GetSmartLoadFonts();
    void SetSmartLoadFonts(bool value);
    bool GetSmartUnloadFonts();
    void SetSmartUnloadFonts(bool value);
    bool GetOnCloseMinimizeToSystemTray();
    void SetOnCloseMinimizeToSystemTray(bool value);
    bool GetAutoCloseAfterSuccessfulFontOperation();
    void SetAutoCloseAfterSuccessfulFontOperation(bool value);
    int GetLastKnownAddSelectedFontsOperation();
    void SetLastKnownAddSelectedFontsOperation(int value);
    // Binary values in the formats of their owners; absent until first saved.
    bool LoadFavorites(QByteArray& stream);
    void SaveFavorites(const QByteArray& stream);
    bool LoadTextSamples(QByteArray& stream);
    void SaveTextSamples(const QByteArray& stream);
    bool LoadPreviewTexts(QByteArray& stream); // "Preview Text"
    void SavePreviewTexts(const QByteArray& stream);

    // \Options\Folders
    QString GetBackupFontsFolder();
    void SetBackupFontsFolder(const QString& value);
    QString GetGroupsFolder();
    void SetGroupsFolder(const QString& value);
    QString GetMoveAndCopyToFolder();
    void SetMoveAndCopyToFolder(const QString& value);
    QString GetLastKnownAddToGroupFolder();
    void SetLastKnownAddToGroupFolder(const QString& value);

    // \Options\InstallFonts
    bool GetCopyToFontsFolderTrueTypeAndOpenType();
    void SetCopyToFontsFolderTrueTypeAndOpenType(bool value);
    bool GetCopyToFontsFolderType1();
    void SetCopyToFontsFolderType1(bool value);
    bool GetCopyToFontsFolderVectorAndRaster();
    void SetCopyToFontsFolderVectorAndRaster(bool value);

    // \Options\General
    bool GetShowValuesInHexNot();
    void SetShowValuesInHexNot(bool value);

    // \Options\Warn
    bool GetWarnFontOperationDelete();
    void SetWarnFontOperationDelete(bool value);
    bool GetWarnFontOperationUninstall();
    void SetWarnFontOperationUninstall(bool value);
    bool GetWarnFontOperationUnloadWhenInstalled();
    void SetWarnFontOperationUnloadWhenInstalled(bool value);
    bool GetWarnFontOperationDeleteGroup();
    void SetWarnFontOperationDeleteGroup(bool value);
    bool GetWarnCharacterIsCopiedFromUnactiveFont();
    void SetWarnCharacterIsCopiedFromUnactiveFont(bool value);

    // \Options\CharacterGrid
    bool GetCharacterGridShowCharacterCodePoint();
    void SetCharacterGridShowCharacterCodePoint(bool value);
    bool GetCharacterGridShowASCIICharacter();
    void SetCharacterGridShowASCIICharacter(bool value);

    // \Options\ZoomPane
    bool GetZoomPaneShowCharacterCodePoint();
    void SetZoomPaneShowCharacterCodePoint(bool value);
    bool GetZoomPaneShowASCIICharacter();
    void SetZoomPaneShowASCIICharacter(bool value);
    bool GetZoomPaneShowCharacterName();
    void SetZoomPaneShowCharacterName(bool value);

    // \Options\Character
    int GetCharacterImageDimensionWidth();
    void SetCharacterImageDimensionWidth(int value);
    int GetCharacterImageDimensionHeight();
    void SetCharacterImageDimensionHeight(int value);
    bool GetCharacterCopyAsText();
    void SetCharacterCopyAsText(bool value);
    int GetCharacterActionForDoubleClick();
    void SetCharacterActionForDoubleClick(int value);

    // \Filter
    bool GetFilterFontTypeVector();
    void SetFilterFontTypeVector(bool value);
    bool GetFilterFontTypeRaster();
    void SetFilterFontTypeRaster(bool value);
    bool GetFilterFontTypePS();
    void SetFilterFontTypePS(bool value);
    bool GetFilterFontTypeTT();
    void SetFilterFontTypeTT(bool value);
    bool GetFilterFontTypeTTC();
    void SetFilterFontTypeTTC(bool value);
    bool GetFilterFontTypeOTTT();
    void SetFilterFontTypeOTTT(bool value);
    bool GetFilterFontTypeOTPS();
    void SetFilterFontTypeOTPS(bool value);
    int GetFilterMatchKindRegular();
    void SetFilterMatchKindRegular(int value);
    int GetFilterMatchKindItalic();
    void SetFilterMatchKindItalic(int value);
    int GetFilterMatchKindSymbol();
    void SetFilterMatchKindSymbol(int value);
    int GetFilterMatchKindWeight();
    void SetFilterMatchKindWeight(int value);
    int GetFilterMatchKindWidth();
    void SetFilterMatchKindWidth(int value);
    int GetFilterMatchKindNumberOfGlyphs();
    void SetFilterMatchKindNumberOfGlyphs(int value);
    int GetFilterMatchKindNumberOfCharacters();
    void SetFilterMatchKindNumberOfCharacters(int value);
    int GetFilterMatchKindUpem();
    void SetFilterMatchKindUpem(int value);
    int GetFilterWeight();
    void SetFilterWeight(int value);
    int GetFilterWidth();
    void SetFilterWidth(int value);
    int GetFilterNumberOfGlyphs();
    void SetFilterNumberOfGlyphs(int value);
    int GetFilterNumberOfCharacters();
    void SetFilterNumberOfCharacters(int value);
    int GetFilterUpem();
    void SetFilterUpem(int value);
    QString GetFilterFontName();
    void SetFilterFontName(const QString& value);
    QString GetFilterFontStyle(); // "FontStyle"
    void SetFilterFontStyle(const QString& value);
    QString GetFilterOtherNamingFields(); // "OtherNamingFields"
    void SetFilterOtherNamingFields(const QString& value);

    // \Options\Export\Text
    QString GetExportTextCustomText();
    void SetExportTextCustomText(const QString& value);
    int GetExportTextFontSize();
    void SetExportTextFontSize(int value);
    QString GetExportTextFilename();
    void SetExportTextFilename(const QString& value);

    // \Options\Export\Web
    int GetExportWebPageMaxNoFonts();
    void SetExportWebPageMaxNoFonts(int value);
    QString GetExportWebFolderInput();
    void SetExportWebFolderInput(const QString& value);
    QString GetExportWebFolderOutput();
    void SetExportWebFolderOutput(const QString& value);
    bool GetExportWebOverwriteFiles();
    void SetExportWebOverwriteFiles(bool value);
    bool GetExportWebOpenMainPage();
    void SetExportWebOpenMainPage(bool value);
    int GetExportWebPreviewImageDimensionWidth();
    void SetExportWebPreviewImageDimensionWidth(int value);
    int GetExportWebPreviewImageDimensionHeight();
    void SetExportWebPreviewImageDimensionHeight(int value);
    QString GetExportWebPreviewImageText();
    void SetExportWebPreviewImageText(const QString& value);
    int GetExportWebPreviewImageFontSize();
    void SetExportWebPreviewImageFontSize(int value);
    int GetExportWebPreviewImageLeftMargin();
    void SetExportWebPreviewImageLeftMargin(int value);
    bool GetExportWebPreviewImageTransparent();
    void SetExportWebPreviewImageTransparent(bool value);
    int GetExportWebPreviewImageForeground(); // 0x00BBGGRR
    void SetExportWebPreviewImageForeground(int value);
    int GetExportWebPreviewImageBackground(); // 0x00BBGGRR
    void SetExportWebPreviewImageBackground(int value);

    // \Options\Print
    int GetPrintOptions();
    void SetPrintOptions(int value);
    int GetPrintMaxNumberOfPagesPerPrintJob();
    void SetPrintMaxNumberOfPagesPerPrintJob(int value);

    // \Options\Print\Metrics: margins in millimetres
    double GetPrintMarginTop();
    void SetPrintMarginTop(double value);
    double GetPrintMarginBottom();
    void SetPrintMarginBottom(double value);
    double GetPrintMarginLeft();
    void SetPrintMarginLeft(double value);
    double GetPrintMarginRight();
    void SetPrintMarginRight(double value);

    // \Options\Print\Headers
    QString GetPrintHeaderLeft();
    void SetPrintHeaderLeft(const QString& value);
    QString GetPrintHeaderRight();
    void SetPrintHeaderRight(const QString& value);
    bool GetPrintHeaderLine();
    void SetPrintHeaderLine(bool value);

    // \Options\Print\Footers
    QString GetPrintFooterLeft();
    void SetPrintFooterLeft(const QString& value);
    QString GetPrintFooterRight();
    void SetPrintFooterRight(const QString& value);
    bool GetPrintFooterLine();
    void SetPrintFooterLine(bool value);

    // \Options\Print\Texts
    QString GetPrintTextLine1();
    void SetPrintTextLine1(const QString& value);
    QString GetPrintTextLine2();
    void SetPrintTextLine2(const QString& value);
    QString GetPrintTextParagraph();
    void SetPrintTextParagraph(const QString& value);

    // \Columns: the column layouts of the lists "Active", "Browse", "Groups" and "Group".
    bool LoadColumnLayout(const QString& listName, QByteArray& stream);
    void SaveColumnLayout(const QString& listName, const QByteArray& stream);

private:
    int StoredInteger(const QString& subKey, const QString& name, int defaultValue);
    void StoreInteger(const QString& subKey, const QString& name, int value);
    bool StoredBoolean(const QString& subKey, const QString& name, bool defaultValue);
    void StoreBoolean(const QString& subKey, const QString& name, bool value);
    double StoredFloat(const QString& subKey, const QString& name, double defaultValue);
    void StoreFloat(const QString& subKey, const QString& name, double value);
    QString StoredText(const QString& subKey, const QString& name, const QString& defaultValue);
    void StoreText(const QString& subKey, const QString& name, const QString& value);
};

} // namespace settings
