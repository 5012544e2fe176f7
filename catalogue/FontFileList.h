#pragma once

// Font files with the faces read from them: the registered files of the active enumeration
// and the files found by the folder scans.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace catalogue {

// One face read from a file.
struct TFontInfoItem {
    QString FullName;
    QString RegistryName;
    QString FamilyName;
    QString StyleName;
    std::int32_t Weight = 0;
    bool Italic = false;
    std::int32_t GdiTypeBits = 0;
    std::uint8_t FontKind = 0;
};

// What a file looked like on disk when it was read: a scan compares it with the file as it
// is now to see whether the file must be read again.
struct TFontFileStamp {
    QString Target;  // the file a shortcut led to; empty for other entries
    std::int64_t Size = -1;  // -1: the file was missing
    std::int64_t ModifiedMs = 0;
    std::int64_t SecondSize = -1;
    std::int64_t SecondModifiedMs = 0;
    friend bool operator==(const TFontFileStamp&, const TFontFileStamp&) = default;
};

// How a file is to be read.
namespace FileTypeHint {
inline constexpr std::uint8_t Undecided = 0;  // try every reader
inline constexpr std::uint8_t SfntOrBitmap = 1;
inline constexpr std::uint8_t Type1Pair = 2;
} // namespace FileTypeHint

class TFontFileItem {
public:
    TFontFileItem(const QString& fontFile, const QString& secondFile, std::uint8_t typeHint)
        : FFontFile(fontFile), FSecondFile(secondFile), FTypeHint(typeHint) {}

    // Reads the faces of the file through the program's readers, replacing those read before;
    // unreadable files give placeholder faces. A collection that cannot be read raises
    // (fontfile::FontException and its kin). A Type 1 metrics file may get its outline file.
    void ReadFaces();

    const QString& FontFile() const { return FFontFile; }
    void SetFontFile(const QString& value) { FFontFile = value; }
    const QString& SecondFile() const { return FSecondFile; }
    void SetSecondFile(const QString& value) { FSecondFile = value; }
    std::uint8_t TypeHint() const { return FTypeHint; }
    bool ViaShortcut() const { return FViaShortcut; }
    void SetViaShortcut(bool value) { FViaShortcut = value; }
    const QString& ShortcutPath() const { return FShortcutPath; }
    void SetShortcutPath(const QString& value) { FShortcutPath = value; }
    std::uint8_t Status() const { return FStatus; }
    void SetStatus(std::uint8_t value) { FStatus = value; }
    const TFontFileStamp& Stamp() const { return FStamp; }
    void SetStamp(const TFontFileStamp& value) { FStamp = value; }

    const std::vector<TFontInfoItem>& Faces() const { return FFaces; }
    void SetFaces(std::vector<TFontInfoItem> faces) { FFaces = std::move(faces); }

private:
    QString FFontFile;
    QString FSecondFile;
    std::uint8_t FTypeHint = FileTypeHint::Undecided;
    bool FViaShortcut = false;
    QString FShortcutPath;
    std::uint8_t FStatus = 1;  // new
    TFontFileStamp FStamp;
    std::vector<TFontInfoItem> FFaces;
};

// File items by path. Paths are compared exactly: two names that differ in case are two
// files here.
class TFontFileList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    bool Contains(const QString& path) const { return FItems.count(path) != 0; }
    TFontFileItem* Find(const QString& path) const;
    // Adds a new item (status new) for fontFile; a path already present is logged and the
    // item there is answered unchanged.
    TFontFileItem& Add(const QString& fontFile, const QString& secondFile, std::uint8_t typeHint);
    // Files item under path (a shortcut's entry is filed under the shortcut, not its target);
    // a path already present is logged and keeps its item.
    TFontFileItem& Insert(const QString& path, std::unique_ptr<TFontFileItem> item);
    // Files the item under another path (after a rename); false when the old path is absent
    // or the new one is taken.
    bool Rename(const QString& oldPath, const QString& newPath);
    bool Remove(const QString& path);
    // Removes the item filed under path and hands it over; nullptr when absent.
    std::unique_ptr<TFontFileItem> Take(const QString& path);
    void Clear() { FItems.clear(); }

    // Drops every item marked removed.
    void DeleteRemoved();

    // The paths in list order.
    QStringList Paths() const;

    template <class F> void ForEach(F&& visit) const
    {
        for (const auto& [path, item] : FItems)
            visit(path, *item);
    }

private:
    std::map<QString, std::unique_ptr<TFontFileItem>> FItems;
};

} // namespace catalogue
