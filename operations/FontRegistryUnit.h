#pragma once

// The program's view of the system font registry: the Fonts key (one value per font file) and
// the Type 1 key (one value per Type 1 font, naming its metrics and outline files), read into
// memory once and changed when fonts are installed, uninstalled, moved or renamed. It neither
// loads fonts nor touches font files (the operation engine does).

#include "settings/WideRegistry.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace operations {

// Both paths are full paths in memory.
struct TFontRegInfo {
    QString FileName;         // the font file; the metrics file of a Type 1 font
    QString OutlineFileName;  // the outline file of a Type 1 font; else empty
};

struct TFontRegEntry {
    QString Name;  // the value name
    std::unique_ptr<TFontRegInfo> Info;
};

// What the registry needs of a font item.
struct TFontRegistryItem {
    QString RegistryName;
    std::uint8_t FontKind = 0;
    QString FontFile;    // the metrics file of a Type 1 font
    QString SecondFile;  // the outline file of a Type 1 font; else empty
};

// One key accessor; says why its last change failed.
class TFontRegistryKey : public settings::TWideRegistry {
public:
    using settings::TWideRegistry::LastError;
};

class TFontRegistry {
public:
    // With load, reads both keys at once (a failure leaves the lists empty).
    explicit TFontRegistry(bool load);
    ~TFontRegistry();
    TFontRegistry(const TFontRegistry&) = delete;
    TFontRegistry& operator=(const TFontRegistry&) = delete;

    void LoadEntries();

    // Any failure gives false.
    bool RegisterFont(const TFontRegistryItem& item);
    // Any failure gives false; true when no value pointed to the font's file.
    bool UnregisterFont(const TFontRegistryItem& item);

    // False when the file is missing, an existing value cannot be read, or every candidate
    // name is taken. A failed write raises.
    bool WriteFontValue(const QString& registryName, const QString& fileName);
    bool WriteType1Value(const QString& registryName, const QString& metricsFile, const QString& outlineFile);
    // Remove every value pointing to the file; a value that cannot be removed raises.
    void DeleteFontValues(const QString& fileName);
    void DeleteType1Values(const QString& fileName);

    const std::vector<TFontRegEntry>& FontEntries() const { return FFontEntries; }
    const std::vector<TFontRegEntry>& Type1Entries() const { return FType1Entries; }
    // The folder a bare file name of the registry lies in, with a trailing separator.
    const QString& FontsFolder() const { return FFontsFolder; }

    // The last candidate number of the free-name search: " (0)" up to " (65536)".
    static constexpr int kMaxNameNumber = 65536;

private:
    bool OpenKey(TFontRegistryKey& key, const QString& path);
    QString ExpandedFileName(const QString& text) const;
    QString StoredFileName(const QString& fileName) const;
    bool LiesInFontsFolder(const QString& fileName) const;
    static QString CandidateName(const QString& name, int number);
    static void SetEntry(std::vector<TFontRegEntry>& entries, const QString& name, TFontRegInfo info);
    static void DeleteValue(TFontRegistryKey& key, const QString& name);

    std::unique_ptr<TFontRegistryKey> FFontsRegistry;
    std::unique_ptr<TFontRegistryKey> FType1Registry;
    std::vector<TFontRegEntry> FFontEntries;
    std::vector<TFontRegEntry> FType1Entries;
    QString FFontsFolder;
};

} // namespace operations
