#include "platform/InstalledFontsHiveScan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <vector>

namespace platform {

namespace {

// Deeper trees than this are not font folders; the limit also ends any cycle the visited set
// might miss.
constexpr int kMaxFolderDepth = 32;

// Parts of Type 1 fonts that are listed with their metrics file, or not at all.
bool IsType1Companion(const QString& suffix)
{
    static const QStringList companions{QStringLiteral("pfb"), QStringLiteral("pfa"), QStringLiteral("afm"),
                                        QStringLiteral("t1")};
    return companions.contains(suffix, Qt::CaseInsensitive);
}

struct FoundFile {
    QString Location;
    bool InLinkedFolder = false;
};

class FolderWalk {
public:
    FolderWalk(QString linkedFontsFolder, TPathStamps& stamps)
        : FLinkedFolder(std::move(linkedFontsFolder)), FStamps(stamps)
    {
    }

    void Walk(const QString& folder, int depth)
    {
        // Stamped before it is listed: a change while it is listed shows next time.
        FStamps.Add(folder);
        const QFileInfo info(folder);
        const QString canonical = info.canonicalFilePath();
        if (depth > kMaxFolderDepth || canonical.isEmpty() || !info.isDir() || FVisited.contains(canonical))
            return;
        FVisited.insert(canonical);
        const bool linkedFolder = QDir::cleanPath(folder) == FLinkedFolder;
        const QFileInfoList entries = QDir(folder).entryInfoList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
        for (const QFileInfo& entry : entries) {
            // A link may come to point elsewhere, or its file may go, without a change of
            // this folder; a file may be written in place.
            if (entry.isSymLink() || entry.isFile())
                FStamps.Add(entry.filePath());
            if (entry.isDir())
                Walk(entry.filePath(), depth + 1);
            else if (entry.isFile())
                (linkedFolder ? FLinked : FOthers).push_back({QDir::cleanPath(entry.filePath()), linkedFolder});
        }
    }

    // Links the program placed come first, so that they keep the names they were given.
    std::vector<FoundFile> Files() const
    {
        std::vector<FoundFile> files = FLinked;
        files.insert(files.end(), FOthers.begin(), FOthers.end());
        return files;
    }

private:
    QString FLinkedFolder;
    TPathStamps& FStamps;
    QSet<QString> FVisited;
    std::vector<FoundFile> FLinked;
    std::vector<FoundFile> FOthers;
};

class UniqueNames {
public:
    QString Take(const QString& name)
    {
        QString candidate = name;
        for (int number = 0; FTaken.contains(candidate.toCaseFolded()); ++number)
            candidate = name + QStringLiteral(" (%1)").arg(number);
        FTaken.insert(candidate.toCaseFolded());
        return candidate;
    }

private:
    QSet<QString> FTaken;
};

void Resolve(const QString& location, bool& isLink, QString& file)
{
    const QString target = SymbolicLinkTarget(location);
    isLink = !target.isEmpty();
    file = isLink ? target : location;
}

} // namespace

const InstalledFontValue* InstalledFontsListing::Find(bool type1, const QString& name) const
{
    const QHash<QString, std::size_t>& index = type1 ? Type1Index : FontIndex;
    const auto it = index.constFind(name.toCaseFolded());
    if (it == index.cend())
        return nullptr;
    return &(type1 ? Type1 : Fonts).at(it.value());
}

QString SymbolicLinkTarget(const QString& linkPath)
{
    const QFileInfo info(linkPath);
    if (!info.isSymLink())
        return {};
    const QString target = info.symLinkTarget();
    return target.isEmpty() ? QString() : QDir::cleanPath(target);
}

InstalledFontsListing ScanInstalledFonts(const QStringList& folders, const QString& linkedFontsFolder,
                                         InstalledFontNameCache& names,
                                         const QHash<QString, InstalledFontKeptName>& keptNames)
{
    InstalledFontsListing listing;
    FolderWalk walk(QDir::cleanPath(linkedFontsFolder), listing.Sources);
    for (const QString& folder : folders)
        walk.Walk(folder, 0);

    struct Candidate {
        InstalledFontValue Value;
        bool Type1 = false;
        bool InLinkedFolder = false;
    };
    std::vector<Candidate> candidates;
    for (const FoundFile& found : walk.Files()) {
        const QFileInfo info(found.Location);
        const QString suffix = info.suffix();
        if (IsType1Companion(suffix))
            continue;
        const bool type1 = suffix.compare(QStringLiteral("pfm"), Qt::CaseInsensitive) == 0;
        const InstalledFontNames read = type1 ? names.ReadType1Metrics(found.Location)
                                              : names.ReadFontFile(found.Location);
        if (!read.HasFaces || (type1 && read.OutlineFile.isEmpty()))
            continue;

        Candidate candidate;
        candidate.Type1 = type1;
        candidate.InLinkedFolder = found.InLinkedFolder;
        InstalledFontValue& value = candidate.Value;
        value.Location = found.Location;
        Resolve(value.Location, value.IsLink, value.File);
        if (type1) {
            value.OutlineLocation = QDir::cleanPath(read.OutlineFile);
            Resolve(value.OutlineLocation, value.OutlineIsLink, value.OutlineFile);
        }
        value.OwnName = found.InLinkedFolder ? info.completeBaseName() : read.RegistryName;
        if (value.OwnName.isEmpty())
            value.OwnName = info.fileName();
        candidates.push_back(std::move(candidate));
    }

    // Names are handed out in three rounds, so that a file that appears later never takes
    // the name of one that was there before: links named by the program, then names this
    // view gave before, then the rest.
    UniqueNames fontNames;
    UniqueNames type1Names;
    const auto assign = [&](Candidate& candidate, const QString& name) {
        candidate.Value.Name = (candidate.Type1 ? type1Names : fontNames).Take(name);
    };
    for (Candidate& candidate : candidates)
        if (candidate.InLinkedFolder)
            assign(candidate, candidate.Value.OwnName);
    for (Candidate& candidate : candidates) {
        const auto kept = keptNames.constFind(candidate.Value.Location);
        if (!candidate.InLinkedFolder && kept != keptNames.cend() &&
            (kept->AnyOwnName || kept->OwnName == candidate.Value.OwnName))
            assign(candidate, kept->Name);
    }
    for (Candidate& candidate : candidates)
        if (candidate.Value.Name.isEmpty())
            assign(candidate, candidate.Value.OwnName);

    for (Candidate& candidate : candidates) {
        std::vector<InstalledFontValue>& values = candidate.Type1 ? listing.Type1 : listing.Fonts;
        (candidate.Type1 ? listing.Type1Index : listing.FontIndex).insert(candidate.Value.Name.toCaseFolded(), values.size());
        values.push_back(std::move(candidate.Value));
    }
    return listing;
}

} // namespace platform
