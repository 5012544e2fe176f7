#include "FontEngine.h"

#include "FontconfigFontEngine.h"

namespace platform {

TFontEngine& FontEngine()
{
    static TFontconfigFontEngine engine;
    return engine;
}

QStringList ResourceFiles(const QString& resource)
{
    QStringList files = resource.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    constexpr qsizetype kMaxFiles = 2;
    if (files.size() > kMaxFiles)
        files.resize(kMaxFiles);
    return files;
}

} // namespace platform
