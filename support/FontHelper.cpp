#include "FontHelper.h"

#include "platform/FontconfigQuery.h"
#include "platform/Places.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

namespace support {

namespace {

// A face name holds 32 UTF-16 units with the terminating zero.
constexpr qsizetype kMaxFaceNameLength = 31;

QString TruncatedFaceName(const QString& faceName)
{
    QString name = faceName.left(kMaxFaceNameLength);
    // Never keep half of a surrogate pair.
    if (!name.isEmpty() && name.back().isHighSurrogate())
        name.chop(1);
    return name;
}

constexpr int kBoldWeight = 700;

} // namespace

bool TFontHelper::HasFontStyle(const QString& faceName, bool bold, bool italic)
{
    const QString name = TruncatedFaceName(faceName);
    if (name.isEmpty())
        return false;
    const auto faces = platform::FacesOfFamily(name);
    if (!faces)
        return false;
    for (const auto& face : *faces)
        if ((face.Weight >= kBoldWeight) == bold && face.Italic == italic)
            return true;
    return false;
}

QString TFontHelper::FontsRegistryKeyPath()
{
    return QStringLiteral("\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
}

QString TFontHelper::Type1FontsRegistryKeyPath()
{
    return QStringLiteral("\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Type 1 Installer\\Type 1 Fonts");
}

QString TFontHelper::SmallTextFontName()
{
    return HasFontStyle(QStringLiteral("Tahoma"), false, false) ? QStringLiteral("Tahoma")
                                                                 : QStringLiteral("MS Sans Serif");
}

QFont TFontHelper::DefaultInterfaceFont()
{
    if (!qGuiApp)
        return QFont();
    return QGuiApplication::font();
}

bool TFontHelper::OpenProgramDocument(const QString& relativeName)
{
    QString relative = relativeName;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    if (relative.isEmpty())
        return false;
    const QString path = platform::places::ProgramFolder(relative) + QLatin1Char('/') + relative;
    if (!QFileInfo(path).isFile() || !qGuiApp)
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace support
