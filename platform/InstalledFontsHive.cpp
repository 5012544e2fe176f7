#include "platform/InstalledFontsHive.h"

#include "platform/FontDirs.h"
#include "platform/InstalledFontsHiveLinks.h"
#include "platform/Places.h"
#include "platform/Registry.h"
#include "platform/RegistryText.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace platform {

namespace {

const QString kFontsKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
const QString kType1Key =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Type 1 Installer\\Type 1 Fonts");
const QString kLinkedFontsFolderName = QStringLiteral("Linked Fonts");

QByteArray TerminatedText(const QString& text)
{
    return EncodeRegistryText(text) + QByteArray(2, '\0');
}

// The strings of a REG_SZ (one) or REG_MULTI_SZ value.
QStringList StringsOf(const RegistryValue& value)
{
    QStringList strings = DecodeRegistryText(value.data).split(QChar(u'\0'));
    while (!strings.isEmpty() && strings.last().isEmpty())
        strings.removeLast();
    if (value.type != REG_MULTI_SZ && strings.size() > 1)
        strings = strings.mid(0, 1);
    return strings;
}

RegistryValue FontValueData(const InstalledFontValue& value)
{
    return RegistryValue{REG_SZ, TerminatedText(value.File)};
}

RegistryValue Type1ValueData(const InstalledFontValue& value)
{
    return RegistryValue{REG_MULTI_SZ, TerminatedText(QStringLiteral("T")) + TerminatedText(value.File) +
                                           TerminatedText(value.OutlineFile) + QByteArray(2, '\0')};
}

QString FolderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

void RescanFolderOf(const QString& path)
{
    RescanFontconfigCache(FolderOf(path));
}

void CheckFileExists(const QString& file)
{
    if (!QFileInfo(file).isFile())
        throw RegistryHiveError(QStringLiteral("The font file %1 does not exist").arg(file));
}

} // namespace

InstalledFontsHive::InstalledFontsHive() = default;

InstalledFontsHive::InstalledFontsHive(QStringList fontFolders, QString userFontFolder)
    : FFixedFolders(std::move(fontFolders)), FFixedUserFontFolder(QDir::cleanPath(userFontFolder))
{
    for (QString& folder : *FFixedFolders)
        folder = QDir::cleanPath(folder);
    if (!FFixedFolders->contains(FFixedUserFontFolder))
        FFixedFolders->prepend(FFixedUserFontFolder);
}

QString InstalledFontsHive::FontsKeyPath() { return kFontsKey; }
QString InstalledFontsHive::Type1KeyPath() { return kType1Key; }

QString InstalledFontsHive::UserFontFolder() const
{
    return FFixedFolders ? FFixedUserFontFolder : QDir::cleanPath(places::UserFontFolder());
}

QStringList InstalledFontsHive::FontFolders() const
{
    return FFixedFolders ? *FFixedFolders : PersistentFontFolders();
}

QString InstalledFontsHive::LinkedFontsFolder() const
{
    return UserFontFolder() + QLatin1Char('/') + kLinkedFontsFolderName;
}

InstalledFontsHive::KeyKind InstalledFontsHive::KindOf(const QString& key)
{
    if (key.compare(kFontsKey, Qt::CaseInsensitive) == 0)
        return KeyKind::Fonts;
    if (key.compare(kType1Key, Qt::CaseInsensitive) == 0)
        return KeyKind::Type1;
    const QString below = key + QLatin1Char('\\');
    if (key.isEmpty() || kFontsKey.startsWith(below, Qt::CaseInsensitive) ||
        kType1Key.startsWith(below, Qt::CaseInsensitive))
        return KeyKind::Ancestor;
    return KeyKind::None;
}

const InstalledFontsListing& InstalledFontsHive::FreshListing()
{
    const QStringList folders = FontFolders();
    // Nothing the last walk saw has changed: walking again would list the same.
    if (FListing && folders == FListingFolders && FListing->Sources.Unchanged())
        return *FListing;
    FListingFolders = folders;
    FListing = ScanInstalledFonts(folders, LinkedFontsFolder(), FNames, FKeptNames);
    FNames.DropUnused();
    FKeptNames.clear();
    for (const auto* values : {&FListing->Fonts, &FListing->Type1})
        for (const InstalledFontValue& value : *values)
            FKeptNames.insert(value.Location, {value.Name, value.OwnName, false});
    return *FListing;
}

const InstalledFontsListing& InstalledFontsHive::CurrentListing()
{
    return FListing ? *FListing : FreshListing();
}

std::uint64_t InstalledFontsHive::FileReads()
{
    std::lock_guard guard(FMutex);
    return FNames.FileReads();
}

bool InstalledFontsHive::KeyExists(const QString& key)
{
    return KindOf(key) != KeyKind::None;
}

void InstalledFontsHive::CreateKey(const QString& key)
{
    if (KindOf(key) == KeyKind::None)
        throw RegistryHiveError(QStringLiteral("Only the installed-font keys exist here; %1 cannot be created").arg(key));
}

bool InstalledFontsHive::DeleteKey(const QString& key)
{
    if (KindOf(key) == KeyKind::None)
        return false;
    throw RegistryHiveError(QStringLiteral("The installed-font key %1 cannot be deleted").arg(key));
}

QStringList InstalledFontsHive::ValueNames(const QString& key)
{
    const KeyKind kind = KindOf(key);
    if (kind != KeyKind::Fonts && kind != KeyKind::Type1)
        return {};
    std::lock_guard guard(FMutex);
    const InstalledFontsListing& listing = FreshListing();
    QStringList names;
    for (const InstalledFontValue& value : kind == KeyKind::Fonts ? listing.Fonts : listing.Type1)
        names.append(value.Name);
    return names;
}

std::optional<RegistryValue> InstalledFontsHive::QueryValue(const QString& key, const QString& name)
{
    const KeyKind kind = KindOf(key);
    if (kind != KeyKind::Fonts && kind != KeyKind::Type1)
        return std::nullopt;
    std::lock_guard guard(FMutex);
    const InstalledFontsListing& listing = CurrentListing();
    const InstalledFontValue* value = listing.Find(kind == KeyKind::Type1, name);
    if (!value)
        return std::nullopt;
    return kind == KeyKind::Fonts ? FontValueData(*value) : Type1ValueData(*value);
}

void InstalledFontsHive::SetValue(const QString& key, const QString& name, const RegistryValue& value)
{
    const KeyKind kind = KindOf(key);
    if (kind != KeyKind::Fonts && kind != KeyKind::Type1)
        throw RegistryHiveError(QStringLiteral("Only the installed-font keys hold values; %1 does not").arg(key));
    std::lock_guard guard(FMutex);
    // Whatever happens, the next read looks at the folders again.
    FListing.reset();
    if (kind == KeyKind::Fonts)
        SetFontValue(name, value);
    else
        SetType1Value(name, value);
}

bool InstalledFontsHive::DeleteValue(const QString& key, const QString& name)
{
    const KeyKind kind = KindOf(key);
    if (kind != KeyKind::Fonts && kind != KeyKind::Type1)
        return false;
    std::lock_guard guard(FMutex);
    const InstalledFontsListing& listing = CurrentListing();
    const InstalledFontValue* found = listing.Find(kind == KeyKind::Type1, name);
    if (!found)
        return false;
    const InstalledFontValue value = *found;
    FListing.reset();
    return DeleteListedValue(value);
}

QString InstalledFontsHive::ResolveStoredPath(const QString& stored) const
{
    // A bare file name names a file of the user font folder, the install target.
    const QString path = stored.contains(QLatin1Char('/')) ? stored : UserFontFolder() + QLatin1Char('/') + stored;
    if (stored.isEmpty() || !QDir::isAbsolutePath(path))
        throw RegistryHiveError(QStringLiteral("\"%1\" is not the full path of a font file").arg(stored));
    return QDir::cleanPath(path);
}

bool InstalledFontsHive::IsInsideFontFolder(const QString& file) const
{
    const QString folder = QFileInfo(FolderOf(file)).canonicalFilePath();
    if (folder.isEmpty())
        return false;
    for (const QString& fontFolder : FontFolders()) {
        const QString canonical = QFileInfo(fontFolder).canonicalFilePath();
        if (!canonical.isEmpty() && (folder == canonical || folder.startsWith(canonical + QLatin1Char('/'))))
            return true;
    }
    return false;
}

void InstalledFontsHive::SetFontValue(const QString& name, const RegistryValue& value)
{
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ)
        throw RegistryHiveError(QStringLiteral("The value %1 must be the path of a font file").arg(name));
    const QStringList strings = StringsOf(value);
    const QString file = ResolveStoredPath(strings.value(0));
    CheckFileExists(file);
    if (IsInsideFontFolder(file)) {
        KeepName(file, name);
        RescanFolderOf(file);
        return;
    }
    const bool folderExisted = QFileInfo(LinkedFontsFolder()).isDir();
    PlaceFontLink(LinkedFontsFolder(), name, file);
    RescanFontconfigCache(LinkedFontsFolder());
    if (!folderExisted)
        RescanFontconfigCache(UserFontFolder());
}

void InstalledFontsHive::SetType1Value(const QString& name, const RegistryValue& value)
{
    const QStringList strings = StringsOf(value);
    if (value.type != REG_MULTI_SZ || strings.size() < 3)
        throw RegistryHiveError(QStringLiteral("The value %1 must name a metrics and an outline file").arg(name));
    const QString metrics = ResolveStoredPath(strings.at(1));
    const QString outline = ResolveStoredPath(strings.at(2));
    CheckFileExists(metrics);
    CheckFileExists(outline);
    if (IsInsideFontFolder(metrics) && IsInsideFontFolder(outline)) {
        KeepName(metrics, name);
        RescanFolderOf(metrics);
        if (FolderOf(outline) != FolderOf(metrics))
            RescanFolderOf(outline);
        return;
    }
    // Both files are linked side by side, so that the outline file is found beside the metrics.
    const bool folderExisted = QFileInfo(LinkedFontsFolder()).isDir();
    const QString metricsLink = PlaceFontLink(LinkedFontsFolder(), name, metrics);
    try {
        PlaceFontLink(LinkedFontsFolder(), name, outline);
    } catch (const RegistryHiveError&) {
        RemoveFontLink(metricsLink);
        throw;
    }
    RescanFontconfigCache(LinkedFontsFolder());
    if (!folderExisted)
        RescanFontconfigCache(UserFontFolder());
}

void InstalledFontsHive::KeepName(const QString& location, const QString& name)
{
    // A name another file holds is not taken from it.
    for (auto it = FKeptNames.cbegin(); it != FKeptNames.cend(); ++it)
        if (it.key() != location && it->Name.compare(name, Qt::CaseInsensitive) == 0)
            return;
    FKeptNames.insert(location, {name, {}, true});
}

bool InstalledFontsHive::DeleteListedValue(const InstalledFontValue& value)
{
    QStringList links;
    if (value.IsLink)
        links.append(value.Location);
    if (value.OutlineIsLink)
        links.append(value.OutlineLocation);
    if (!links.isEmpty()) {
        for (const QString& link : links)
            RemoveFontLink(link);
        QStringList folders;
        for (const QString& link : links)
            folders.append(FolderOf(link));
        folders.removeDuplicates();
        for (const QString& folder : folders)
            RescanFontconfigCache(folder);
        return true;
    }
    // The file itself is what installs it: one in the install target goes when the caller
    // moves it away; anywhere else it is not this program's to remove.
    if (FolderOf(value.Location) == UserFontFolder())
        return true;
    throw RegistryHiveError(QStringLiteral("%1 is installed by its place in a font folder and cannot be uninstalled here")
                                .arg(value.Location));
}

void InstallInstalledFontsHive()
{
    SetHiveForRoot(HKEY_LOCAL_MACHINE, std::make_shared<InstalledFontsHive>());
}

} // namespace platform
