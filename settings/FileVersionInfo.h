#pragma once

// The program's version information, filled once from the version of the build.

#include <QString>

namespace settings {

struct TFileVersionInfo {
    QString Title;          // ProductName + " " + ProductVersion
    QString CompanyName;
    QString ProductName;
    QString FileVersion;    // four numbers separated by full stops
    QString ProductVersion;
    QString LegalCopyright;
    QString Comments;
    QString Version;        // short version, see SplitFileVersion
    QString Build;          // the fourth number of FileVersion
};

struct TShortVersion {
    QString Version;
    QString Build;
};

// "2.0.0.0" gives 2.0 and 0, "3.5.1.7" gives 3.5.1 and 7: the first two numbers, the third
// only when it is not 0, and the fourth as the build. Text after a fourth full stop is ignored.
TShortVersion SplitFileVersion(const QString& fileVersion);

// Fills every field from the given strings the way the build's own version is filled.
TFileVersionInfo MakeFileVersionInfo(const QString& companyName, const QString& productName,
                                     const QString& fileVersion, const QString& productVersion,
                                     const QString& legalCopyright, const QString& comments);

// The running program's version information (the same object for the whole run).
const TFileVersionInfo& FileVersionInfo();

} // namespace settings
