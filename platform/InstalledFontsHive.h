#pragma once

// HKEY_LOCAL_MACHINE as the installed-font view: the two keys in which the font registry
// records installed fonts, shown from the persistent font folders. A font is installed when
// its file lies in one of these folders, or a symbolic link to it does.
//
// Fonts key: one REG_SZ value per font file, named by its registry name, its data the full
//   path of the file (for a link, of the file it points at).
// Type 1 key: one REG_MULTI_SZ value per metrics file with an outline file: "T", the metrics
//   file, the outline file.
//
// Writing a value for a file outside every font folder places a symbolic link to it in the
// folder "Linked Fonts" of the user font folder, named by the value name and the file's
// extension; a file inside a font folder needs nothing more. Deleting a value removes its
// links; a file lying directly in the user font folder stays installed until it is moved away;
// any other file in a font folder cannot be uninstalled here, and the deletion fails. After a
// change fontconfig's cache of the changed folder is brought up to date, so that other
// programs see it.
//
// A value keeps its name while its file stays (a file that appears later and has the same
// registry name gets the next free numbered name); a write for a file inside a font folder
// gives it the written name when that is free. Listing a key reads the folders again unless
// none of the folders, files and links the last listing saw changed; other reads use the last
// listing (made on demand), which every change of this view discards. File names are read
// once per file version.
// Every other key under the root does not exist.

#include "platform/InstalledFontsHiveNames.h"
#include "platform/InstalledFontsHiveScan.h"
#include "platform/RegistryHive.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <mutex>
#include <optional>

namespace platform {

class InstalledFontsHive : public RegistryHive {
public:
    // The folders fontconfig is configured with, read again for every listing, and the user
    // font folder of the places.
    InstalledFontsHive();
    // Fixed folders; the user font folder is added when the list lacks it.
    InstalledFontsHive(QStringList fontFolders, QString userFontFolder);

    // Key paths as the hive sees them (no leading separator).
    static QString FontsKeyPath();
    static QString Type1KeyPath();
    // The folder of the links to font files that lie elsewhere.
    QString LinkedFontsFolder() const;

    bool KeyExists(const QString& key) override;
    void CreateKey(const QString& key) override;
    bool DeleteKey(const QString& key) override;
    std::optional<RegistryValue> QueryValue(const QString& key, const QString& name) override;
    void SetValue(const QString& key, const QString& name, const RegistryValue& value) override;
    bool DeleteValue(const QString& key, const QString& name) override;
    QStringList ValueNames(const QString& key) override;

    // Font files read so far (each new or changed file once).
    std::uint64_t FileReads();

private:
    enum class KeyKind { None, Ancestor, Fonts, Type1 };
    static KeyKind KindOf(const QString& key);

    QStringList FontFolders() const;
    QString UserFontFolder() const;
    // Both need FMutex held.
    const InstalledFontsListing& FreshListing();
    const InstalledFontsListing& CurrentListing();

    void SetFontValue(const QString& name, const RegistryValue& value);
    void SetType1Value(const QString& name, const RegistryValue& value);
    bool DeleteListedValue(const InstalledFontValue& value);
    QString ResolveStoredPath(const QString& stored) const;
    bool IsInsideFontFolder(const QString& file) const;
    void KeepName(const QString& location, const QString& name);

    std::optional<QStringList> FFixedFolders;
    QString FFixedUserFontFolder;
    std::mutex FMutex;
    InstalledFontNameCache FNames;
    std::optional<InstalledFontsListing> FListing;
    QStringList FListingFolders;  // the folders FListing walked
    // Location -> value name: names given by earlier listings and by writes of this view,
    // so that a value keeps its name while other files come and go.
    QHash<QString, InstalledFontKeptName> FKeptNames;
};

// Makes the installed-font view the hive of HKEY_LOCAL_MACHINE. Called once at program start.
void InstallInstalledFontsHive();

} // namespace platform
