#include "platform/InstalledFontsHiveNames.h"

#include "fontfile/FontFileFaces.h"

#include <QFile>

#include <exception>

#include <sys/stat.h>

namespace platform {

namespace {

std::string NativeName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

InstalledFontNames NamesOf(const fontfile::TFontReadResult& result, const fontfile::TFontReadRequest& request)
{
    InstalledFontNames names;
    names.HasFaces = !result.Items.Empty();
    if (names.HasFaces)
        names.RegistryName = QString::fromStdU16String(result.Items[0].RegistryName());
    names.OutlineFile = QFile::decodeName(QByteArray::fromStdString(request.SecondFile));
    return names;
}

InstalledFontNames ReadFaces(const QString& path, fontfile::TFontKindHint hint)
{
    fontfile::TFontReadRequest request{NativeName(path), {}, hint};
    try {
        return NamesOf(fontfile::ReadFontFileFaces(request), request);
    } catch (const std::exception&) {
        // A collection whose reader fails is still a font file in a font folder: listed by
        // its file name, and its failure shows when the catalogue reads it.
        InstalledFontNames names;
        names.HasFaces = true;
        return names;
    }
}

} // namespace

template <typename Reader>
InstalledFontNames InstalledFontNameCache::Cached(const QString& path, Reader read)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    const Stamp stamp{info.st_dev, info.st_ino, info.st_size,
                      static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000LL + info.st_mtim.tv_nsec};
    if (const auto it = FEntries.find(path); it != FEntries.end() && it->second.FileStamp == stamp) {
        it->second.Used = true;
        return it->second.Names;
    }
    ++FFileReads;
    InstalledFontNames names = read();
    FEntries[path] = Entry{stamp, names, true};
    return names;
}

InstalledFontNames InstalledFontNameCache::ReadFontFile(const QString& path)
{
    return Cached(path, [&] { return ReadFaces(path, fontfile::TFontKindHint::SfntOrBitmap); });
}

InstalledFontNames InstalledFontNameCache::ReadType1Metrics(const QString& path)
{
    if (const auto it = FEntries.find(path);
        it != FEntries.end() && !QFile::exists(it->second.Names.OutlineFile))
        FEntries.erase(it);
    InstalledFontNames names = Cached(path, [&] { return ReadFaces(path, fontfile::TFontKindHint::Type1); });
    // An outline file may arrive after its metrics file: a metrics file without one is read
    // again next time rather than remembered as alone.
    if (names.OutlineFile.isEmpty())
        FEntries.erase(path);
    return names;
}

void InstalledFontNameCache::DropUnused()
{
    for (auto it = FEntries.begin(); it != FEntries.end();) {
        if (it->second.Used) {
            it->second.Used = false;
            ++it;
        } else {
            it = FEntries.erase(it);
        }
    }
}

} // namespace platform
