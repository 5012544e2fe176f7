// The system and the program's readers do not always name a face alike: the system may take
// another name record, another language or a name it makes up. For a face the system found in
// a registered file, the names of that file's face as the readers see them are the ones that
// count, so that the face is matched with its file instead of showing twice (once loaded
// without a file, once installed but not loaded).

#include "ActiveFontsThreadExUnit.h"

#include <QHash>


namespace catalogue {

namespace {

// The upper half of a system face index numbers the named instance of a variable font; the
// readers know only the default instance, whose names differ on purpose.
constexpr int kNamedInstanceShift = 16;

bool NamedAlike(const TFontEnumItem& face, const TFontInfoItem& read)
{
    return FoldedName(face.FamilyName) == FoldedName(read.FamilyName) &&
           FoldedName(face.FullName) == FoldedName(read.FullName) &&
           (read.GdiTypeBits & face.GdiTypeBits) == face.GdiTypeBits;
}

// The face of the registered file the system found face in, when their names differ.
const TFontInfoItem* RenamedFaceOf(const TFontEnumItem& face, const QHash<QString, const TFontFileItem*>& files)
{
    if (face.SystemFile.isEmpty() || face.SystemIndex < 0 || (face.SystemIndex >> kNamedInstanceShift) != 0)
        return nullptr;
    const auto found = files.constFind(face.SystemFile);
    if (found == files.constEnd())
        return nullptr;
    const std::vector<TFontInfoItem>& faces = found.value()->Faces();
    for (const TFontInfoItem& read : faces)
        if (NamedAlike(face, read))
            return nullptr;
    const auto index = static_cast<std::size_t>(face.SystemIndex);
    if (index >= faces.size() || faces[index].FullName.isEmpty())
        return nullptr;
    return &faces[index];
}

} // namespace

void TActiveFontsThreadEx::FileSystemFaces()
{
    QHash<QString, const TFontFileItem*> files;
    FState.Files.ForEach([&](const QString& path, const TFontFileItem& item) {
        if (item.Status() != EnumStatus::Removed)
            files.insert(path, &item);
    });
    for (auto& face : FSystemFaces) {
        if (const TFontInfoItem* read = files.isEmpty() ? nullptr : RenamedFaceOf(*face, files)) {
            face->FamilyName = read->FamilyName;
            face->FullName = read->FullName;
            face->StyleName = read->StyleName;
            face->GdiTypeBits = read->GdiTypeBits;
        }
        // Of two faces named alike the first is kept.
        FFreshFaces.Add(std::move(face));
    }
    FSystemFaces.clear();
}

} // namespace catalogue
