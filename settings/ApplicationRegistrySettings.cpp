#include "settings/ApplicationRegistrySettings.h"

#include "platform/Places.h"

#include <QStandardPaths>

namespace settings {

namespace {

const QString kDefaultFooterLeft = QStringLiteral(
    "Printed with Quillmark from Brindlecote. Download the latest release from https://www.brindlecote.com/");
const QString kGuiKey = QStringLiteral("\\GUI");
const QString kOptionsKey = QStringLiteral("\\Options");
const QString kMainWindowKey = QStringLiteral("\\Position\\Main Window");
const QString kToolbarsKey = QStringLiteral("\\Position\\Toolbars");
const QString kColumnsKey = QStringLiteral("\\Columns");

const QDate kDayZero(1899, 12, 30);

QString WithTrailingSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

TFontViewerRegistrySettings* TFontViewerRegistrySettings::AccessInstance(int request)
{
    TBaseRegistrySettings* instance =
        AccessInstanceWith(request, [] { return new TFontViewerRegistrySettings(); });
    if (!instance)
        return nullptr;
    auto* settings = dynamic_cast<TFontViewerRegistrySettings*>(instance);
    if (!settings)
        throw std::logic_error("The settings instance was created as another class");
    return settings;
}

TFontViewerRegistrySettings& TFontViewerRegistrySettings::Instance()
{
    return *AccessInstance(1);
}

TFontViewerRegistrySettings& TFontViewerRegistrySettings::OpenApplicationSettings()
{
    AccessInstance(1)->SetBaseRegistryKey(ApplicationBaseKey());
    return Instance();
}

QString TFontViewerRegistrySettings::ApplicationBaseKey()
{
    return QStringLiteral("Software\\Brindlecote\\Quillmark\\2.0");
}

QString TFontViewerRegistrySettings::FirstRunFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return WithTrailingSeparator(documents.isEmpty() ? platform::places::ProgramFolder() : documents);
}

void TFontViewerRegistrySettings::StoreFirstRunFolders()
{
    const QString folder = FirstRunFolder();
    SetBackupFontsFolder(folder + QStringLiteral("Uninstalled Fonts/"));
    SetGroupsFolder(folder + QStringLiteral("My Font Groups/"));
}

int TFontViewerRegistrySettings::DayNumber(const QDate& date)
{
    return static_cast<int>(kDayZero.daysTo(date));
}

QDate TFontViewerRegistrySettings::DateFromDayNumber(int dayNumber)
{
    return kDayZero.addDays(dayNumber);
}

int TFontViewerRegistrySettings::StoredInteger(const QString& subKey, const QString& name, int defaultValue)
{
    return GetInteger(HKEY_CURRENT_USER, BaseRegistryKey() + subKey, defaultValue, name);
}

void TFontViewerRegistrySettings::StoreInteger(const QString& subKey, const QString& name, int value)
{
    SetInteger(HKEY_CURRENT_USER, BaseRegistryKey() + subKey, value, name);
}

bool TFontViewerRegistrySettings::StoredBoolean(const QString& subKey, const QString& name, bool defaultValue)
{
    return GetBoolean(HKEY_CURRENT_USER, BaseRegistryKey() + subKey, defaultValue, name);
}

void TFontViewerRegistrySettings::StoreBoolean(const QString& subKey, const QString& name, bool value)
{
    SetBoolean(HKEY_CURRENT_USER, BaseRegistryKey() + subKey, value, name);
}

double TFontViewerRegistrySettings::StoredFloat(const QString& subKey, const QString& name, double defaultValue)
{
    return GetFloat(HKEY_CURRENT_USER, BaseRegistryKey() + subKey, defaultValue, name);
}

void TFontViewerRegistrySettings::StoreFloat(const QString& subKey, const QString& name, double value)
{
    SetFloat(HKEY_CURRENT_USER, BaseRegistryKey() + subKey, value, name);
}

QString TFontViewerRegistrySettings::StoredText(const QString& subKey, const QString& name, const QString& defaultValue)
{
    return GetWideString(HKEY_CURRENT_USER, BaseRegistryKey() + subKey, defaultValue, name);
}

void TFontViewerRegistrySettings::StoreText(const QString& subKey, const QString& name, const QString& value)
{
    SetWideString(HKEY_CURRENT_USER, BaseRegistryKey() + subKey, value, name);
}

QDate TFontViewerRegistrySettings::GetLastUpdateReminderDate()
{
    return DateFromDayNumber(
        StoredInteger(kGuiKey, QStringLiteral("LastUpdateReminderDate"), DayNumber(QDate::currentDate())));
}

void TFontViewerRegistrySettings::SetLastUpdateReminderDate(const QDate& value)
{
    StoreInteger(kGuiKey, QStringLiteral("LastUpdateReminderDate"), DayNumber(value));
}

std::optional<QString> TFontViewerRegistrySettings::GetMainWindowPosition()
{
    return FindWideString(HKEY_CURRENT_USER, BaseRegistryKey() + kMainWindowKey, QStringLiteral("Position"));
}

void TFontViewerRegistrySettings::SetMainWindowPosition(const QString& value)
{
    StoreText(kMainWindowKey, QStringLiteral("Position"), value);
}

bool TFontViewerRegistrySettings::LoadToolbarsState(QByteArray& state)
{
    return LoadSettingStream(kToolbarsKey, QStringLiteral("State"), state);
}

void TFontViewerRegistrySettings::SaveToolbarsState(const QByteArray& state)
{
    SaveSettingStream(kToolbarsKey, QStringLiteral("State"), state);
}

bool TFontViewerRegistrySettings::LoadFavorites(QByteArray& stream)
{
    return LoadSettingStream(kOptionsKey, QStringLiteral("Favorites"), stream);
}

void TFontViewerRegistrySettings::SaveFavorites(const QByteArray& stream)
{
    SaveSettingStream(kOptionsKey, QStringLiteral("Favorites"), stream);
}

bool TFontViewerRegistrySettings::LoadTextSamples(QByteArray& stream)
{
    return LoadSettingStream(kOptionsKey, QStringLiteral("Text Samples"), stream);
}

void TFontViewerRegistrySettings::SaveTextSamples(const QByteArray& stream)
{
    SaveSettingStream(kOptionsKey, QStringLiteral("Text Samples"), stream);
}

bool TFontViewerRegistrySettings::LoadPreviewTexts(QByteArray& stream)
{
    return LoadSettingStream(kOptionsKey, QStringLiteral("Preview Text"), stream);
}

void TFontViewerRegistrySettings::SavePreviewTexts(const QByteArray& stream)
{
    SaveSettingStream(kOptionsKey, QStringLiteral("Preview Text"), stream);
}

bool TFontViewerRegistrySettings::LoadColumnLayout(const QString& listName, QByteArray& stream)
{
    return LoadSettingStream(kColumnsKey, listName, stream);
}

void TFontViewerRegistrySettings::SaveColumnLayout(const QString& listName, const QByteArray& stream)
{
    SaveSettingStream(kColumnsKey, listName, stream);
}

// One getter and one setter per stored value: subkey, value name, default.

bool TFontViewerRegistrySettings::GetFirstRun()
{
    return StoredBoolean(QStringLiteral("\\Setup"), QStringLiteral("FirstRun"), true);
}

void TFontViewerRegistrySettings::SetFirstRun(bool value)
{
    StoreBoolean(QStringLiteral("\\Setup"), QStringLiteral("FirstRun"), value);
}

int TFontViewerRegistrySettings::GetActiveTheme()
{
    return StoredInteger(QStringLiteral("\\Themes"), QStringLiteral("ActiveTheme"), 0);
}

void TFontViewerRegistrySettings::SetActiveTheme(int value)
{
    StoreInteger(QStringLiteral("\\Themes"), QStringLiteral("ActiveTheme"), value);
}

int TFontViewerRegistrySettings::GetSelectedCharacter()
{
    return StoredInteger(QStringLiteral("\\SelectedFont"), QStringLiteral("Character"), 65);
}

void TFontViewerRegistrySettings::SetSelectedCharacter(int value)
{
    StoreInteger(QStringLiteral("\\SelectedFont"), QStringLiteral("Character"), value);
}

int TFontViewerRegistrySettings::GetZoomCharacterSizeIndex()
{
    return StoredInteger(QStringLiteral("\\GUI"), QStringLiteral("ZoomCharacterSizeIndex"), 3);
}

void TFontViewerRegistrySettings::SetZoomCharacterSizeIndex(int value)
{
    StoreInteger(QStringLiteral("\\GUI"), QStringLiteral("ZoomCharacterSizeIndex"), value);
}

int TFontViewerRegistrySettings::GetFontsPreviewSizeIndex()
{
    return StoredInteger(QStringLiteral("\\GUI"), QStringLiteral("FontsPreviewSizeIndex"), 2);
}

void TFontViewerRegistrySettings::SetFontsPreviewSizeIndex(int value)
{
    StoreInteger(QStringLiteral("\\GUI"), QStringLiteral("FontsPreviewSizeIndex"), value);
}

int TFontViewerRegistrySettings::GetCharacterGridCellSizeIndex()
{
    return StoredInteger(QStringLiteral("\\GUI"), QStringLiteral("CharacterGridCellSizeIndex"), 2);
}

void TFontViewerRegistrySettings::SetCharacterGridCellSizeIndex(int value)
{
    StoreInteger(QStringLiteral("\\GUI"), QStringLiteral("CharacterGridCellSizeIndex"), value);
}

int TFontViewerRegistrySettings::GetSampleFontSize()
{
    return StoredInteger(QStringLiteral("\\GUI"), QStringLiteral("SampleFontSize"), 18);
}

void TFontViewerRegistrySettings::SetSampleFontSize(int value)
{
    StoreInteger(QStringLiteral("\\GUI"), QStringLiteral("SampleFontSize"), value);
}

int TFontViewerRegistrySettings::GetSampleFontAlignment()
{
    return StoredInteger(QStringLiteral("\\GUI"), QStringLiteral("SampleFontAlignment"), 0);
}

void TFontViewerRegistrySettings::SetSampleFontAlignment(int value)
{
    StoreInteger(QStringLiteral("\\GUI"), QStringLiteral("SampleFontAlignment"), value);
}

bool TFontViewerRegistrySettings::GetToolbarsUseSmallIcons()
{
    return StoredBoolean(QStringLiteral("\\GUI"), QStringLiteral("ToolbarsUseSmallIcons"), false);
}

void TFontViewerRegistrySettings::SetToolbarsUseSmallIcons(bool value)
{
    StoreBoolean(QStringLiteral("\\GUI"), QStringLiteral("ToolbarsUseSmallIcons"), value);
}

bool TFontViewerRegistrySettings::GetOnStartupShowWelcome()
{
    return StoredBoolean(QStringLiteral("\\GUI"), QStringLiteral("OnStartupShowWelcome"), true);
}

void TFontViewerRegistrySettings::SetOnStartupShowWelcome(bool value)
{
    StoreBoolean(QStringLiteral("\\GUI"), QStringLiteral("OnStartupShowWelcome"), value);
}

int TFontViewerRegistrySettings::GetOnStartupShowUpdateReminder()
{
    return StoredInteger(QStringLiteral("\\GUI"), QStringLiteral("OnStartupShowUpdateReminder"), 2);
}

void TFontViewerRegistrySettings::SetOnStartupShowUpdateReminder(int value)
{
    StoreInteger(QStringLiteral("\\GUI"), QStringLiteral("OnStartupShowUpdateReminder"), value);
}

QString TFontViewerRegistrySettings::GetSelectedPath()
{
    return StoredText(QStringLiteral("\\Browse"), QStringLiteral("SelectedPath"), QString());
}

void TFontViewerRegistrySettings::SetSelectedPath(const QString& value)
{
    StoreText(QStringLiteral("\\Browse"), QStringLiteral("SelectedPath"), value);
}

bool TFontViewerRegistrySettings::GetIncludeSubFolders()
{
    return StoredBoolean(QStringLiteral("\\Browse"), QStringLiteral("IncludeSubFolders"), false);
}

void TFontViewerRegistrySettings::SetIncludeSubFolders(bool value)
{
    StoreBoolean(QStringLiteral("\\Browse"), QStringLiteral("IncludeSubFolders"), value);
}

bool TFontViewerRegistrySettings::GetRestoreOnStartup()
{
    return StoredBoolean(QStringLiteral("\\Browse"), QStringLiteral("RestoreOnStartup"), false);
}

void TFontViewerRegistrySettings::SetRestoreOnStartup(bool value)
{
    StoreBoolean(QStringLiteral("\\Browse"), QStringLiteral("RestoreOnStartup"), value);
}

int TFontViewerRegistrySettings::GetBrowseSplitterHeight()
{
    return StoredInteger(QStringLiteral("\\Position\\Splitters"), QStringLiteral("Browse"), 122);
}

void TFontViewerRegistrySettings::SetBrowseSplitterHeight(int value)
{
    StoreInteger(QStringLiteral("\\Position\\Splitters"), QStringLiteral("Browse"), value);
}

int TFontViewerRegistrySettings::GetGroupsSplitterHeight()
{
    return StoredInteger(QStringLiteral("\\Position\\Splitters"), QStringLiteral("Groups"), 122);
}

void TFontViewerRegistrySettings::SetGroupsSplitterHeight(int value)
{
    StoreInteger(QStringLiteral("\\Position\\Splitters"), QStringLiteral("Groups"), value);
}

bool TFontViewerRegistrySettings::GetSmartInstallFonts()
{
    return StoredBoolean(QStringLiteral("\\Options"), QStringLiteral("SmartInstallFonts"), false);
}

void TFontViewerRegistrySettings::SetSmartInstallFonts(bool value)
{
    StoreBoolean(QStringLiteral("\\Options"), QStringLiteral("SmartInstallFonts"), value);
}

bool TFontViewerRegistrySettings::GetSmartUninstallFonts()
{
    return StoredBoolean(QStringLiteral("\\Options"), QStringLiteral("SmartUninstallFonts"), false);
}

void TFontViewerRegistrySettings::SetSmartUninstallFonts(bool value)
{
    StoreBoolean(QStringLiteral("\\Options"), QStringLiteral("SmartUninstallFonts"), value);
}

bool TFontViewerRegistrySettings::GetSmartLoadFonts()
{
    return StoredBoolean(QStringLiteral("\\Options"), QStringLiteral("SmartLoadFonts"), false);
}

void TFontViewerRegistrySettings::SetSmartLoadFonts(bool value)
{
    StoreBoolean(QStringLiteral("\\Options"), QStringLiteral("SmartLoadFonts"), value);
}

bool TFontViewerRegistrySettings::GetSmartUnloadFonts()
{
    return StoredBoolean(QStringLiteral("\\Options"), QStringLiteral("SmartUnloadFonts"), false);
}

void TFontViewerRegistrySettings::SetSmartUnloadFonts(bool value)
{
    StoreBoolean(QStringLiteral("\\Options"), QStringLiteral("SmartUnloadFonts"), value);
}

bool TFontViewerRegistrySettings::GetOnCloseMinimizeToSystemTray()
{
    return StoredBoolean(QStringLiteral("\\Options"), QStringLiteral("OnCloseMinimizeToSystemTray"), false);
}

void TFontViewerRegistrySettings::SetOnCloseMinimizeToSystemTray(bool value)
{
    StoreBoolean(QStringLiteral("\\Options"), QStringLiteral("OnCloseMinimizeToSystemTray"), value);
}

bool TFontViewerRegistrySettings::GetAutoCloseAfterSuccessfulFontOperation()
{
    return StoredBoolean(QStringLiteral("\\Options"), QStringLiteral("AutoCloseAfterSuccessfulFontOperation"), false);
}

void TFontViewerRegistrySettings::SetAutoCloseAfterSuccessfulFontOperation(bool value)
{
    StoreBoolean(QStringLiteral("\\Options"), QStringLiteral("AutoCloseAfterSuccessfulFontOperation"), value);
}

int TFontViewerRegistrySettings::GetLastKnownAddSelectedFontsOperation()
{
    return StoredInteger(QStringLiteral("\\Options"), QStringLiteral("LastKnownAddSelectedFontsOperation"), 6);
}

void TFontViewerRegistrySettings::SetLastKnownAddSelectedFontsOperation(int value)
{
    StoreInteger(QStringLiteral("\\Options"), QStringLiteral("LastKnownAddSelectedFontsOperation"), value);
}

QString TFontViewerRegistrySettings::GetBackupFontsFolder()
{
    return StoredText(QStringLiteral("\\Options\\Folders"), QStringLiteral("BackupFontsFolder"), QString());
}

void TFontViewerRegistrySettings::SetBackupFontsFolder(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Folders"), QStringLiteral("BackupFontsFolder"), value);
}

QString TFontViewerRegistrySettings::GetGroupsFolder()
{
    return StoredText(QStringLiteral("\\Options\\Folders"), QStringLiteral("GroupsFolder"), QString());
}

void TFontViewerRegistrySettings::SetGroupsFolder(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Folders"), QStringLiteral("GroupsFolder"), value);
}

QString TFontViewerRegistrySettings::GetMoveAndCopyToFolder()
{
    return StoredText(QStringLiteral("\\Options\\Folders"), QStringLiteral("MoveAndCopyToFolder"), QString());
}

void TFontViewerRegistrySettings::SetMoveAndCopyToFolder(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Folders"), QStringLiteral("MoveAndCopyToFolder"), value);
}

QString TFontViewerRegistrySettings::GetLastKnownAddToGroupFolder()
{
    return StoredText(QStringLiteral("\\Options\\Folders"), QStringLiteral("LastKnownAddToGroupFolder"), QString());
}

void TFontViewerRegistrySettings::SetLastKnownAddToGroupFolder(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Folders"), QStringLiteral("LastKnownAddToGroupFolder"), value);
}

bool TFontViewerRegistrySettings::GetCopyToFontsFolderTrueTypeAndOpenType()
{
    return StoredBoolean(QStringLiteral("\\Options\\InstallFonts"), QStringLiteral("CopyToFontsFolderTrueTypeAndOpenType"), false);
}

void TFontViewerRegistrySettings::SetCopyToFontsFolderTrueTypeAndOpenType(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\InstallFonts"), QStringLiteral("CopyToFontsFolderTrueTypeAndOpenType"), value);
}

bool TFontViewerRegistrySettings::GetCopyToFontsFolderType1()
{
    return StoredBoolean(QStringLiteral("\\Options\\InstallFonts"), QStringLiteral("CopyToFontsFolderType1"), false);
}

void TFontViewerRegistrySettings::SetCopyToFontsFolderType1(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\InstallFonts"), QStringLiteral("CopyToFontsFolderType1"), value);
}

bool TFontViewerRegistrySettings::GetCopyToFontsFolderVectorAndRaster()
{
    return StoredBoolean(QStringLiteral("\\Options\\InstallFonts"), QStringLiteral("CopyToFontsFolderVectorAndRaster"), false);
}

void TFontViewerRegistrySettings::SetCopyToFontsFolderVectorAndRaster(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\InstallFonts"), QStringLiteral("CopyToFontsFolderVectorAndRaster"), value);
}

bool TFontViewerRegistrySettings::GetShowValuesInHexNot()
{
    return StoredBoolean(QStringLiteral("\\Options\\General"), QStringLiteral("ShowValuesInHexNot"), false);
}

void TFontViewerRegistrySettings::SetShowValuesInHexNot(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\General"), QStringLiteral("ShowValuesInHexNot"), value);
}

bool TFontViewerRegistrySettings::GetWarnFontOperationDelete()
{
    return StoredBoolean(QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationDelete"), true);
}

void TFontViewerRegistrySettings::SetWarnFontOperationDelete(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationDelete"), value);
}

bool TFontViewerRegistrySettings::GetWarnFontOperationUninstall()
{
    return StoredBoolean(QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationUninstall"), true);
}

void TFontViewerRegistrySettings::SetWarnFontOperationUninstall(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationUninstall"), value);
}

bool TFontViewerRegistrySettings::GetWarnFontOperationUnloadWhenInstalled()
{
    return StoredBoolean(QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationUnloadWhenInstalled"), true);
}

void TFontViewerRegistrySettings::SetWarnFontOperationUnloadWhenInstalled(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationUnloadWhenInstalled"), value);
}

bool TFontViewerRegistrySettings::GetWarnFontOperationDeleteGroup()
{
    return StoredBoolean(QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationDeleteGroup"), true);
}

void TFontViewerRegistrySettings::SetWarnFontOperationDeleteGroup(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Warn"), QStringLiteral("FontOperationDeleteGroup"), value);
}

bool TFontViewerRegistrySettings::GetWarnCharacterIsCopiedFromUnactiveFont()
{
    return StoredBoolean(QStringLiteral("\\Options\\Warn"), QStringLiteral("CharacterIsCopiedFromUnactiveFont"), true);
}

void TFontViewerRegistrySettings::SetWarnCharacterIsCopiedFromUnactiveFont(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Warn"), QStringLiteral("CharacterIsCopiedFromUnactiveFont"), value);
}

bool TFontViewerRegistrySettings::GetCharacterGridShowCharacterCodePoint()
{
    return StoredBoolean(QStringLiteral("\\Options\\CharacterGrid"), QStringLiteral("ShowCharacterCodePoint"), true);
}

void TFontViewerRegistrySettings::SetCharacterGridShowCharacterCodePoint(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\CharacterGrid"), QStringLiteral("ShowCharacterCodePoint"), value);
}

bool TFontViewerRegistrySettings::GetCharacterGridShowASCIICharacter()
{
    return StoredBoolean(QStringLiteral("\\Options\\CharacterGrid"), QStringLiteral("ShowASCIICharacter"), true);
}

void TFontViewerRegistrySettings::SetCharacterGridShowASCIICharacter(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\CharacterGrid"), QStringLiteral("ShowASCIICharacter"), value);
}

bool TFontViewerRegistrySettings::GetZoomPaneShowCharacterCodePoint()
{
    return StoredBoolean(QStringLiteral("\\Options\\ZoomPane"), QStringLiteral("ShowCharacterCodePoint"), true);
}

void TFontViewerRegistrySettings::SetZoomPaneShowCharacterCodePoint(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\ZoomPane"), QStringLiteral("ShowCharacterCodePoint"), value);
}

bool TFontViewerRegistrySettings::GetZoomPaneShowASCIICharacter()
{
    return StoredBoolean(QStringLiteral("\\Options\\ZoomPane"), QStringLiteral("ShowASCIICharacter"), true);
}

void TFontViewerRegistrySettings::SetZoomPaneShowASCIICharacter(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\ZoomPane"), QStringLiteral("ShowASCIICharacter"), value);
}

bool TFontViewerRegistrySettings::GetZoomPaneShowCharacterName()
{
    return StoredBoolean(QStringLiteral("\\Options\\ZoomPane"), QStringLiteral("ShowCharacterName"), true);
}

void TFontViewerRegistrySettings::SetZoomPaneShowCharacterName(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\ZoomPane"), QStringLiteral("ShowCharacterName"), value);
}

int TFontViewerRegistrySettings::GetCharacterImageDimensionWidth()
{
    return StoredInteger(QStringLiteral("\\Options\\Character"), QStringLiteral("ImageDimensionWidth"), 400);
}

void TFontViewerRegistrySettings::SetCharacterImageDimensionWidth(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Character"), QStringLiteral("ImageDimensionWidth"), value);
}

int TFontViewerRegistrySettings::GetCharacterImageDimensionHeight()
{
    return StoredInteger(QStringLiteral("\\Options\\Character"), QStringLiteral("ImageDimensionHeight"), 300);
}

void TFontViewerRegistrySettings::SetCharacterImageDimensionHeight(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Character"), QStringLiteral("ImageDimensionHeight"), value);
}

bool TFontViewerRegistrySettings::GetCharacterCopyAsText()
{
    return StoredBoolean(QStringLiteral("\\Options\\Character"), QStringLiteral("CopyAsText"), false);
}

void TFontViewerRegistrySettings::SetCharacterCopyAsText(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Character"), QStringLiteral("CopyAsText"), value);
}

int TFontViewerRegistrySettings::GetCharacterActionForDoubleClick()
{
    return StoredInteger(QStringLiteral("\\Options\\Character"), QStringLiteral("ActionForDoubleClick"), 0);
}

void TFontViewerRegistrySettings::SetCharacterActionForDoubleClick(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Character"), QStringLiteral("ActionForDoubleClick"), value);
}

bool TFontViewerRegistrySettings::GetFilterFontTypeVector()
{
    return StoredBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeVector"), true);
}

void TFontViewerRegistrySettings::SetFilterFontTypeVector(bool value)
{
    StoreBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeVector"), value);
}

bool TFontViewerRegistrySettings::GetFilterFontTypeRaster()
{
    return StoredBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeRaster"), true);
}

void TFontViewerRegistrySettings::SetFilterFontTypeRaster(bool value)
{
    StoreBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeRaster"), value);
}

bool TFontViewerRegistrySettings::GetFilterFontTypePS()
{
    return StoredBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypePS"), true);
}

void TFontViewerRegistrySettings::SetFilterFontTypePS(bool value)
{
    StoreBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypePS"), value);
}

bool TFontViewerRegistrySettings::GetFilterFontTypeTT()
{
    return StoredBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeTT"), true);
}

void TFontViewerRegistrySettings::SetFilterFontTypeTT(bool value)
{
    StoreBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeTT"), value);
}

bool TFontViewerRegistrySettings::GetFilterFontTypeTTC()
{
    return StoredBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeTTC"), false);
}

void TFontViewerRegistrySettings::SetFilterFontTypeTTC(bool value)
{
    StoreBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeTTC"), value);
}

bool TFontViewerRegistrySettings::GetFilterFontTypeOTTT()
{
    return StoredBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeOTTT"), true);
}

void TFontViewerRegistrySettings::SetFilterFontTypeOTTT(bool value)
{
    StoreBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeOTTT"), value);
}

bool TFontViewerRegistrySettings::GetFilterFontTypeOTPS()
{
    return StoredBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeOTPS"), true);
}

void TFontViewerRegistrySettings::SetFilterFontTypeOTPS(bool value)
{
    StoreBoolean(QStringLiteral("\\Filter"), QStringLiteral("FontTypeOTPS"), value);
}

int TFontViewerRegistrySettings::GetFilterMatchKindRegular()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindRegular"), 0);
}

void TFontViewerRegistrySettings::SetFilterMatchKindRegular(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindRegular"), value);
}

int TFontViewerRegistrySettings::GetFilterMatchKindItalic()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindItalic"), 0);
}

void TFontViewerRegistrySettings::SetFilterMatchKindItalic(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindItalic"), value);
}

int TFontViewerRegistrySettings::GetFilterMatchKindSymbol()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindSymbol"), 0);
}

void TFontViewerRegistrySettings::SetFilterMatchKindSymbol(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindSymbol"), value);
}

int TFontViewerRegistrySettings::GetFilterMatchKindWeight()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindWeight"), 0);
}

void TFontViewerRegistrySettings::SetFilterMatchKindWeight(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindWeight"), value);
}

int TFontViewerRegistrySettings::GetFilterMatchKindWidth()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindWidth"), 0);
}

void TFontViewerRegistrySettings::SetFilterMatchKindWidth(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindWidth"), value);
}

int TFontViewerRegistrySettings::GetFilterMatchKindNumberOfGlyphs()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindNumberOfGlyphs"), 0);
}

void TFontViewerRegistrySettings::SetFilterMatchKindNumberOfGlyphs(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindNumberOfGlyphs"), value);
}

int TFontViewerRegistrySettings::GetFilterMatchKindNumberOfCharacters()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindNumberOfCharacters"), 0);
}

void TFontViewerRegistrySettings::SetFilterMatchKindNumberOfCharacters(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindNumberOfCharacters"), value);
}

int TFontViewerRegistrySettings::GetFilterMatchKindUpem()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindUpem"), 0);
}

void TFontViewerRegistrySettings::SetFilterMatchKindUpem(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("MatchKindUpem"), value);
}

int TFontViewerRegistrySettings::GetFilterWeight()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("FilterWeight"), 400);
}

void TFontViewerRegistrySettings::SetFilterWeight(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("FilterWeight"), value);
}

int TFontViewerRegistrySettings::GetFilterWidth()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("FilterWidth"), 5);
}

void TFontViewerRegistrySettings::SetFilterWidth(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("FilterWidth"), value);
}

int TFontViewerRegistrySettings::GetFilterNumberOfGlyphs()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("FilterNumberOfGlyphs"), 150);
}

void TFontViewerRegistrySettings::SetFilterNumberOfGlyphs(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("FilterNumberOfGlyphs"), value);
}

int TFontViewerRegistrySettings::GetFilterNumberOfCharacters()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("FilterNumberOfCharacters"), 150);
}

void TFontViewerRegistrySettings::SetFilterNumberOfCharacters(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("FilterNumberOfCharacters"), value);
}

int TFontViewerRegistrySettings::GetFilterUpem()
{
    return StoredInteger(QStringLiteral("\\Filter"), QStringLiteral("FilterUpem"), 2048);
}

void TFontViewerRegistrySettings::SetFilterUpem(int value)
{
    StoreInteger(QStringLiteral("\\Filter"), QStringLiteral("FilterUpem"), value);
}

QString TFontViewerRegistrySettings::GetFilterFontName()
{
    return StoredText(QStringLiteral("\\Filter"), QStringLiteral("FilterFontName"), QString());
}

void TFontViewerRegistrySettings::SetFilterFontName(const QString& value)
{
    StoreText(QStringLiteral("\\Filter"), QStringLiteral("FilterFontName"), value);
}

QString TFontViewerRegistrySettings::GetFilterFontStyle()
{
    return StoredText(QStringLiteral("\\Filter"), QStringLiteral("FontStyle"), QString());
}

void TFontViewerRegistrySettings::SetFilterFontStyle(const QString& value)
{
    StoreText(QStringLiteral("\\Filter"), QStringLiteral("FontStyle"), value);
}

QString TFontViewerRegistrySettings::GetFilterOtherNamingFields()
{
    return StoredText(QStringLiteral("\\Filter"), QStringLiteral("OtherNamingFields"), QString());
}

void TFontViewerRegistrySettings::SetFilterOtherNamingFields(const QString& value)
{
    StoreText(QStringLiteral("\\Filter"), QStringLiteral("OtherNamingFields"), value);
}

QString TFontViewerRegistrySettings::GetExportTextCustomText()
{
    return StoredText(QStringLiteral("\\Options\\Export\\Text"), QStringLiteral("CustomText"), QStringLiteral("{Font_Name} {Font_Type_Short}\r\n{Font_File_Names}"));
}

void TFontViewerRegistrySettings::SetExportTextCustomText(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Export\\Text"), QStringLiteral("CustomText"), value);
}

int TFontViewerRegistrySettings::GetExportTextFontSize()
{
    return StoredInteger(QStringLiteral("\\Options\\Export\\Text"), QStringLiteral("FontSize"), 12);
}

void TFontViewerRegistrySettings::SetExportTextFontSize(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Export\\Text"), QStringLiteral("FontSize"), value);
}

QString TFontViewerRegistrySettings::GetExportTextFilename()
{
    return StoredText(QStringLiteral("\\Options\\Export\\Text"), QStringLiteral("Filename"), QString());
}

void TFontViewerRegistrySettings::SetExportTextFilename(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Export\\Text"), QStringLiteral("Filename"), value);
}

int TFontViewerRegistrySettings::GetExportWebPageMaxNoFonts()
{
    return StoredInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PageMaxNoFonts"), 10);
}

void TFontViewerRegistrySettings::SetExportWebPageMaxNoFonts(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PageMaxNoFonts"), value);
}

QString TFontViewerRegistrySettings::GetExportWebFolderInput()
{
    return StoredText(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("FolderInput"), QString());
}

void TFontViewerRegistrySettings::SetExportWebFolderInput(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("FolderInput"), value);
}

QString TFontViewerRegistrySettings::GetExportWebFolderOutput()
{
    return StoredText(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("FolderOutput"), QString());
}

void TFontViewerRegistrySettings::SetExportWebFolderOutput(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("FolderOutput"), value);
}

bool TFontViewerRegistrySettings::GetExportWebOverwriteFiles()
{
    return StoredBoolean(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("OverwriteFiles"), true);
}

void TFontViewerRegistrySettings::SetExportWebOverwriteFiles(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("OverwriteFiles"), value);
}

bool TFontViewerRegistrySettings::GetExportWebOpenMainPage()
{
    return StoredBoolean(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("OpenMainPage"), true);
}

void TFontViewerRegistrySettings::SetExportWebOpenMainPage(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("OpenMainPage"), value);
}

int TFontViewerRegistrySettings::GetExportWebPreviewImageDimensionWidth()
{
    return StoredInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageDimensionWidth"), 740);
}

void TFontViewerRegistrySettings::SetExportWebPreviewImageDimensionWidth(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageDimensionWidth"), value);
}

int TFontViewerRegistrySettings::GetExportWebPreviewImageDimensionHeight()
{
    return StoredInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageDimensionHeight"), 80);
}

void TFontViewerRegistrySettings::SetExportWebPreviewImageDimensionHeight(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageDimensionHeight"), value);
}

QString TFontViewerRegistrySettings::GetExportWebPreviewImageText()
{
    return StoredText(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageText"), QStringLiteral("{Font_Name}"));
}

void TFontViewerRegistrySettings::SetExportWebPreviewImageText(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageText"), value);
}

int TFontViewerRegistrySettings::GetExportWebPreviewImageFontSize()
{
    return StoredInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageFontSize"), 36);
}

void TFontViewerRegistrySettings::SetExportWebPreviewImageFontSize(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageFontSize"), value);
}

int TFontViewerRegistrySettings::GetExportWebPreviewImageLeftMargin()
{
    return StoredInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageLeftMargin"), 0);
}

void TFontViewerRegistrySettings::SetExportWebPreviewImageLeftMargin(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageLeftMargin"), value);
}

bool TFontViewerRegistrySettings::GetExportWebPreviewImageTransparent()
{
    return StoredBoolean(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageTransparent"), true);
}

void TFontViewerRegistrySettings::SetExportWebPreviewImageTransparent(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageTransparent"), value);
}

int TFontViewerRegistrySettings::GetExportWebPreviewImageForeground()
{
    return StoredInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageForeground"), 0);
}

void TFontViewerRegistrySettings::SetExportWebPreviewImageForeground(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageForeground"), value);
}

int TFontViewerRegistrySettings::GetExportWebPreviewImageBackground()
{
    return StoredInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageBackground"), 16777215);
}

void TFontViewerRegistrySettings::SetExportWebPreviewImageBackground(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Export\\Web"), QStringLiteral("PreviewImageBackground"), value);
}

int TFontViewerRegistrySettings::GetPrintOptions()
{
    return StoredInteger(QStringLiteral("\\Options\\Print"), QStringLiteral("PrintOptions"), 0);
}

void TFontViewerRegistrySettings::SetPrintOptions(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Print"), QStringLiteral("PrintOptions"), value);
}

int TFontViewerRegistrySettings::GetPrintMaxNumberOfPagesPerPrintJob()
{
    return StoredInteger(QStringLiteral("\\Options\\Print"), QStringLiteral("MaxNumberOfPagesPerPrintJob"), 2);
}

void TFontViewerRegistrySettings::SetPrintMaxNumberOfPagesPerPrintJob(int value)
{
    StoreInteger(QStringLiteral("\\Options\\Print"), QStringLiteral("MaxNumberOfPagesPerPrintJob"), value);
}

double TFontViewerRegistrySettings::GetPrintMarginTop()
{
    return StoredFloat(QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Top"), 20.0);
}

void TFontViewerRegistrySettings::SetPrintMarginTop(double value)
{
    StoreFloat(QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Top"), value);
}

double TFontViewerRegistrySettings::GetPrintMarginBottom()
{
    return StoredFloat(QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Bottom"), 20.0);
}

void TFontViewerRegistrySettings::SetPrintMarginBottom(double value)
{
    StoreFloat(QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Bottom"), value);
}

double TFontViewerRegistrySettings::GetPrintMarginLeft()
{
    return StoredFloat(QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Left"), 20.0);
}

void TFontViewerRegistrySettings::SetPrintMarginLeft(double value)
{
    StoreFloat(QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Left"), value);
}

double TFontViewerRegistrySettings::GetPrintMarginRight()
{
    return StoredFloat(QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Right"), 20.0);
}

void TFontViewerRegistrySettings::SetPrintMarginRight(double value)
{
    StoreFloat(QStringLiteral("\\Options\\Print\\Metrics"), QStringLiteral("Right"), value);
}

QString TFontViewerRegistrySettings::GetPrintHeaderLeft()
{
    return StoredText(QStringLiteral("\\Options\\Print\\Headers"), QStringLiteral("Left"), QStringLiteral("{Title}"));
}

void TFontViewerRegistrySettings::SetPrintHeaderLeft(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Print\\Headers"), QStringLiteral("Left"), value);
}

QString TFontViewerRegistrySettings::GetPrintHeaderRight()
{
    return StoredText(QStringLiteral("\\Options\\Print\\Headers"), QStringLiteral("Right"), QStringLiteral("{Date_Time}"));
}

void TFontViewerRegistrySettings::SetPrintHeaderRight(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Print\\Headers"), QStringLiteral("Right"), value);
}

bool TFontViewerRegistrySettings::GetPrintHeaderLine()
{
    return StoredBoolean(QStringLiteral("\\Options\\Print\\Headers"), QStringLiteral("Line"), true);
}

void TFontViewerRegistrySettings::SetPrintHeaderLine(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Print\\Headers"), QStringLiteral("Line"), value);
}

QString TFontViewerRegistrySettings::GetPrintFooterLeft()
{
    return StoredText(QStringLiteral("\\Options\\Print\\Footers"), QStringLiteral("Left"), kDefaultFooterLeft);
}

void TFontViewerRegistrySettings::SetPrintFooterLeft(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Print\\Footers"), QStringLiteral("Left"), value);
}

QString TFontViewerRegistrySettings::GetPrintFooterRight()
{
    return StoredText(QStringLiteral("\\Options\\Print\\Footers"), QStringLiteral("Right"), QStringLiteral("Page {Page_Number} of {Number_Of_Pages}"));
}

void TFontViewerRegistrySettings::SetPrintFooterRight(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Print\\Footers"), QStringLiteral("Right"), value);
}

bool TFontViewerRegistrySettings::GetPrintFooterLine()
{
    return StoredBoolean(QStringLiteral("\\Options\\Print\\Footers"), QStringLiteral("Line"), true);
}

void TFontViewerRegistrySettings::SetPrintFooterLine(bool value)
{
    StoreBoolean(QStringLiteral("\\Options\\Print\\Footers"), QStringLiteral("Line"), value);
}

QString TFontViewerRegistrySettings::GetPrintTextLine1()
{
    return StoredText(QStringLiteral("\\Options\\Print\\Texts"), QStringLiteral("Line1"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
}

void TFontViewerRegistrySettings::SetPrintTextLine1(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Print\\Texts"), QStringLiteral("Line1"), value);
}

QString TFontViewerRegistrySettings::GetPrintTextLine2()
{
    return StoredText(QStringLiteral("\\Options\\Print\\Texts"), QStringLiteral("Line2"), QStringLiteral("Pack my box with five dozen liquor jugs. How razorback-jumping frogs can level six piqued gymnasts!"));
}

void TFontViewerRegistrySettings::SetPrintTextLine2(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Print\\Texts"), QStringLiteral("Line2"), value);
}

QString TFontViewerRegistrySettings::GetPrintTextParagraph()
{
    return StoredText(QStringLiteral("\\Options\\Print\\Texts"), QStringLiteral("Paragraph"), QStringLiteral("This text is printed in different font sizes. It should not be too long because text at the end of the page will not be printed."));
}

void TFontViewerRegistrySettings::SetPrintTextParagraph(const QString& value)
{
    StoreText(QStringLiteral("\\Options\\Print\\Texts"), QStringLiteral("Paragraph"), value);
}

} // namespace settings
