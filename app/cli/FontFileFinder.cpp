#include "FontFileFinder.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace cli {

bool IsListedFontFile(const QString& fileName)
{
    static const QStringList extensions = {"ttf", "otf", "ttc", "fon", "fnt", "pfm"};
    const QString suffix = QFileInfo(fileName).suffix();
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](const QString& e) { return suffix.compare(e, Qt::CaseInsensitive) == 0; });
}

QStringList FindFontFiles(const QString& folder, bool recursive)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext()) {
        const QString file = it.next();
        if (IsListedFontFile(file))
            files << file;
    }
    // Code-unit order: stable whatever the user's locale.
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace cli
