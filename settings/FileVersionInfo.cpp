#include "settings/FileVersionInfo.h"

#include <QStringList>

#ifndef QUILLMARK_VERSION
#error "QUILLMARK_VERSION (major.minor.patch) must be defined by the build"
#endif
#ifndef QUILLMARK_BUILD_NUMBER
#error "QUILLMARK_BUILD_NUMBER must be defined by the build"
#endif
#ifndef QUILLMARK_PRODUCT_VERSION
#error "QUILLMARK_PRODUCT_VERSION (major.minor) must be defined by the build"
#endif

namespace settings {

TShortVersion SplitFileVersion(const QString& fileVersion)
{
    if (fileVersion.isEmpty())
        return {};
    QStringList parts = fileVersion.split(QLatin1Char('.'));
    while (parts.size() < 4)
        parts.append(QString());
    TShortVersion result;
    result.Version = parts[0] + QLatin1Char('.') + parts[1];
    // A version with only two numbers gets no trailing full stop.
    if (!parts[2].isEmpty() && parts[2] != QLatin1String("0"))
        result.Version += QLatin1Char('.') + parts[2];
    result.Build = parts[3];
    return result;
}

TFileVersionInfo MakeFileVersionInfo(const QString& companyName, const QString& productName,
                                     const QString& fileVersion, const QString& productVersion,
                                     const QString& legalCopyright, const QString& comments)
{
    TFileVersionInfo info;
    info.CompanyName = companyName;
    info.ProductName = productName;
    info.FileVersion = fileVersion;
    info.ProductVersion = productVersion;
    info.LegalCopyright = legalCopyright;
    info.Comments = comments;
    info.Title = productName + QLatin1Char(' ') + productVersion;
    const TShortVersion shortVersion = SplitFileVersion(fileVersion);
    info.Version = shortVersion.Version;
    info.Build = shortVersion.Build;
    return info;
}

const TFileVersionInfo& FileVersionInfo()
{
    static const TFileVersionInfo info = MakeFileVersionInfo(
        QStringLiteral("Brindlecote"), QStringLiteral("Quillmark"),
        QStringLiteral(QUILLMARK_VERSION "." QUILLMARK_BUILD_NUMBER), QStringLiteral(QUILLMARK_PRODUCT_VERSION),
        QStringLiteral("Copyright \u00A9 Brindlecote. All rights reserved."),
        QStringLiteral("A font manager for the Linux desktop."));
    return info;
}

} // namespace settings
