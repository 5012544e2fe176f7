#include "FontFileList.h"

#include "FontEnumList.h"

#include "fontfile/FontFileFaces.h"
#include "support/LoggerUnit.h"

#include <QFile>

namespace catalogue {

namespace {

std::string LocalName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString FromLocalName(const std::string& name)
{
    return QFile::decodeName(QByteArray::fromStdString(name));
}

fontfile::TFontKindHint KindHintOf(std::uint8_t typeHint)
{
    switch (typeHint) {
    case FileTypeHint::SfntOrBitmap:
        return fontfile::TFontKindHint::SfntOrBitmap;
    case FileTypeHint::Type1Pair:
        return fontfile::TFontKindHint::Type1;
    default:
        return fontfile::TFontKindHint::Unknown;
    }
}

} // namespace

void TFontFileItem::ReadFaces()
{
    fontfile::TFontReadRequest request;
    request.FirstFile = LocalName(FFontFile);
    request.SecondFile = LocalName(FSecondFile);
    request.KindHint = KindHintOf(FTypeHint);
    const fontfile::TFontReadResult result = fontfile::ReadFontFileFaces(request);
    if (FSecondFile.isEmpty() && !request.SecondFile.empty())
        FSecondFile = FromLocalName(request.SecondFile);

    std::vector<TFontInfoItem> faces;
    faces.reserve(result.Items.Count());
    for (std::size_t i = 0; i < result.Items.Count(); ++i) {
        const fontfile::TGeneralFontInfoItem& record = result.Items[i];
        TFontInfoItem face;
        face.FullName = QString::fromStdU16String(record.FaceFullName());
        face.RegistryName = QString::fromStdU16String(record.RegistryName());
        face.FamilyName = QString::fromStdU16String(record.FamilyName());
        face.StyleName = QString::fromStdU16String(record.StyleName());
        face.Weight = record.WeightClass();
        face.Italic = record.Italic();
        face.GdiTypeBits = record.GdiTypeBits();
        face.FontKind = record.FontKind();
        faces.push_back(std::move(face));
    }
    FFaces = std::move(faces);
}

TFontFileItem* TFontFileList::Find(const QString& path) const
{
    const auto found = FItems.find(path);
    return found == FItems.end() ? nullptr : found->second.get();
}

TFontFileItem& TFontFileList::Add(const QString& fontFile, const QString& secondFile, std::uint8_t typeHint)
{
    auto& slot = FItems[fontFile];
    if (slot) {
        support::LogGeneral(QStringLiteral("IndexOf(Filename) >= 0 ") + fontFile);
        return *slot;
    }
    slot = std::make_unique<TFontFileItem>(fontFile, secondFile, typeHint);
    return *slot;
}

TFontFileItem& TFontFileList::Insert(const QString& path, std::unique_ptr<TFontFileItem> item)
{
    auto& slot = FItems[path];
    if (slot) {
        support::LogGeneral(QStringLiteral("IndexOf(Filename) >= 0 ") + path);
        return *slot;
    }
    slot = std::move(item);
    return *slot;
}

QStringList TFontFileList::Paths() const
{
    QStringList paths;
    paths.reserve(Count());
    for (const auto& entry : FItems)
        paths << entry.first;
    return paths;
}

bool TFontFileList::Rename(const QString& oldPath, const QString& newPath)
{
    auto found = FItems.find(oldPath);
    if (found == FItems.end() || (oldPath != newPath && FItems.count(newPath) != 0))
        return false;
    std::unique_ptr<TFontFileItem> item = std::move(found->second);
    FItems.erase(found);
    item->SetFontFile(newPath);
    FItems[newPath] = std::move(item);
    return true;
}

bool TFontFileList::Remove(const QString& path)
{
    return FItems.erase(path) != 0;
}

std::unique_ptr<TFontFileItem> TFontFileList::Take(const QString& path)
{
    const auto found = FItems.find(path);
    if (found == FItems.end())
        return nullptr;
    std::unique_ptr<TFontFileItem> item = std::move(found->second);
    FItems.erase(found);
    return item;
}

void TFontFileList::DeleteRemoved()
{
    std::erase_if(FItems, [](const auto& entry) { return entry.second->Status() == EnumStatus::Removed; });
}

} // namespace catalogue
