#include "SessionFonts.h"

#include "FileUnderOperation.h"
#include "Places.h"
#include "SessionFontsRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include "platform/FontconfigHandles.h"

#include <memory>
#include <mutex>

namespace platform {

namespace {

using TConfig = fc::TConfigOwner;

const FcChar8* Utf8(const QByteArray& text) { return reinterpret_cast<const FcChar8*>(text.constData()); }

QString RecordPath() { return places::SessionFolder() + QStringLiteral("/session-fonts.txt"); }

QString CanonicalKey(const QString& file) { return QFileInfo(file).canonicalFilePath(); }

bool IsInside(const QString& path, const QString& folder)
{
    return !folder.isEmpty() && path.startsWith(folder + QLatin1Char('/'));
}

// The session font folder as written and with its links resolved.
bool IsSessionPath(const QString& path)
{
    const QString folder = places::SessionFontFolder();
    return IsInside(path, folder) || IsInside(path, QFileInfo(folder).canonicalFilePath());
}

// The paths by which fontconfig knows an installed file: every font of a fresh configuration
// that is the file (itself or through a link) outside the session folder, and the file itself
// when it lies in a font folder.
QStringList InstalledPaths(const QString& file, const QString& key)
{
    QStringList paths;
    const TConfig config(FcInitLoadConfigAndFonts());
    if (!config)
        return paths;
    if (FcFontSet* set = FcConfigGetFonts(config.get(), FcSetSystem)) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* value = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &value) != FcResultMatch || !value)
                continue;
            const QString path = QString::fromUtf8(reinterpret_cast<const char*>(value));
            if (!IsSessionPath(path) && !paths.contains(path) && CanonicalKey(path) == key)
                paths << path;
        }
    }
    const fc::TStrListOwner dirs(FcConfigGetFontDirs(config.get()));
    const QString cleanFile = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    while (FcChar8* dir = dirs ? FcStrListNext(dirs.get()) : nullptr) {
        const QString folder = QString::fromUtf8(reinterpret_cast<const char*>(dir));
        if (IsSessionPath(folder + QLatin1Char('/')) || folder == places::SessionFontFolder())
            continue;
        const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
        if ((IsInside(cleanFile, folder) || IsInside(key, canonicalFolder)) && !paths.contains(cleanFile))
            paths << cleanFile;
    }
    return paths;
}

// A free link name for file in the session font folder: its own name, else "name (1).ext", ...
QString FreeLinkPath(const QString& file)
{
    const QFileInfo info(file);
    const QString folder = places::SessionFontFolder();
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    constexpr int kMaxNumber = 10000;
    for (int number = 0; number < kMaxNumber; ++number) {
        const QString name = number == 0 ? info.fileName() : QStringLiteral("%1 (%2)%3").arg(base).arg(number).arg(suffix);
        const QString path = folder + QLatin1Char('/') + name;
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
            return path;
    }
    return {};
}

bool EnsureFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

bool WriteInclude()
{
    const QString path = TSessionFonts::IncludeFilePath();
    const QByteArray text = QStringLiteral(
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<!-- Quillmark: the fonts loaded and unloaded for the current login session. -->\n"
        "<fontconfig>\n"
        "  <include ignore_missing=\"yes\">%1</include>\n"
        "</fontconfig>\n").arg(TSessionFonts::SessionConfigPath().toHtmlEscaped()).toUtf8();
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.read(1 << 16) == text)
        return true;
    existing.close();
    return EnsureFolder(QFileInfo(path).absolutePath()) && WriteFileAtomically(path, text);
}

// Brings fontconfig's cache of the session font folder up to date, so that a program started
// now sees the change without scanning the folder itself.
void RescanSessionFolder()
{
    const QString folder = places::SessionFontFolder();
    if (!QFileInfo(folder).isDir())
        return;
    const TConfig config(FcInitLoadConfig());
    if (!config)
        return;
    if (FcCache* cache = FcDirCacheRescan(Utf8(QFile::encodeName(folder)), config.get()))
        FcDirCacheUnload(cache);
}

bool Save(const TSessionRecord& record)
{
    if (!EnsureFolder(places::SessionFolder()) || !record.Write(RecordPath()))
        return false;
    const QByteArray conf = record.FontconfigText(places::SessionFontFolder()).toUtf8();
    if (!WriteFileAtomically(TSessionFonts::SessionConfigPath(), conf) || !WriteInclude())
        return false;
    RescanSessionFolder();
    return true;
}

// One change at a time in this process, and one process at a time.
class TSessionLock {
public:
    TSessionLock()
        : FGuard(Mutex())
        , FFile(places::SessionFolder() + QStringLiteral("/session.lock"))
    {
        constexpr int kLockTimeoutMs = 10000;
        FLocked = EnsureFolder(places::SessionFolder()) && FFile.tryLock(kLockTimeoutMs);
    }
    bool Locked() const { return FLocked; }

private:
    static std::mutex& Mutex()
    {
        static std::mutex mutex;
        return mutex;
    }
    std::lock_guard<std::mutex> FGuard;
    QLockFile FFile;
    bool FLocked = false;
};

} // namespace

QString TSessionFonts::IncludeFilePath()
{
    return places::XdgConfigHome() + QStringLiteral("/fontconfig/conf.d/90-quillmark-session.conf");
}

QString TSessionFonts::SessionConfigPath() { return places::SessionFolder() + QStringLiteral("/fonts.conf"); }

int TSessionFonts::FaceCountOf(const QString& file)
{
    const fc::TFontSetOwner set(FcFontSetCreate());
    if (!set)
        return 0;
    int count = 0;
    FcFreeTypeQueryAll(Utf8(QFile::encodeName(file)), static_cast<unsigned>(-1), nullptr, &count, set.get());
    return set->nfont;
}

int TSessionFonts::Add(const QStringList& files)
{
    if (files.isEmpty())
        return 0;
    int faces = 0;
    for (const QString& file : files) {
        if (IsFileUnderOperation(file) || !QFileInfo(file).isFile())
            return 0;
        faces += FaceCountOf(file);
    }
    if (faces == 0)
        return 0;

    const TSessionLock lock;
    if (!lock.Locked())
        return 0;
    TSessionRecord record = TSessionRecord::Read(RecordPath());
    for (const QString& file : files) {
        const QString key = CanonicalKey(file);
        if (record.RemoveRejections(key))
            continue;  // an installed file unloaded earlier is active again
        if (TSessionAddition* addition = record.FindAddition(key)) {
            ++addition->Count;
            continue;
        }
        TSessionAddition addition;
        addition.Key = key;
        addition.File = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
        addition.Count = 1;
        if (InstalledPaths(file, key).isEmpty()) {
            if (!EnsureFolder(places::SessionFontFolder()))
                return 0;
            addition.Link = FreeLinkPath(file);
            if (addition.Link.isEmpty() || !QFile::link(addition.File, addition.Link))
                return 0;
        }
        record.Additions.push_back(addition);
    }
    return Save(record) ? faces : 0;
}

bool TSessionFonts::Remove(const QStringList& files)
{
    if (files.isEmpty())
        return false;
    const TSessionLock lock;
    if (!lock.Locked())
        return false;
    TSessionRecord record = TSessionRecord::Read(RecordPath());
    bool removed = false;
    for (const QString& file : files) {
        const QString key = CanonicalKey(file);
        if (key.isEmpty())
            continue;
        if (TSessionAddition* addition = record.FindAddition(key)) {
            if (--addition->Count <= 0) {
                if (!addition->Link.isEmpty())
                    QFile::remove(addition->Link);
                record.RemoveAddition(key);
            }
            removed = true;
        } else if (!record.IsRejected(key)) {
            const QStringList paths = InstalledPaths(file, key);
            for (const QString& path : paths)
                record.Rejections.push_back({key, path});
            removed = removed || !paths.isEmpty();
        }
    }
    return removed && Save(record);
}

} // namespace platform
