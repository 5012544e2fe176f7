#pragma once

// What this program loaded into and unloaded from the running login session, kept in the
// session folder (emptied at logout): the additions with their links in the session font
// folder and their counts, and the installed files rejected until the next login. The same
// record gives the fontconfig file that makes it real.

#include <QString>
#include <QStringList>

#include <vector>

namespace platform {

struct TSessionAddition {
    QString Key;   // canonical path of the font file
    QString File;  // the path the font was added by
    QString Link;  // the link in the session font folder; empty for an installed file
    int Count = 0; // additions not yet removed
};

struct TSessionRejection {
    QString Key;   // canonical path of the font file
    QString Glob;  // a path fontconfig knows the file by
};

class TSessionRecord {
public:
    // A missing or unreadable record is empty. Additions whose link has gone are dropped.
    static TSessionRecord Read(const QString& path);
    // Atomic: a new file, then a rename.
    bool Write(const QString& path) const;

    // The fontconfig file: the session font folder and the reject rules.
    QString FontconfigText(const QString& sessionFontFolder) const;

    TSessionAddition* FindAddition(const QString& key);
    void RemoveAddition(const QString& key);
    bool IsRejected(const QString& key) const;
    // Removes every rejection of the file; true when there was one.
    bool RemoveRejections(const QString& key);

    std::vector<TSessionAddition> Additions;
    std::vector<TSessionRejection> Rejections;
};

// Writes text to path atomically; false when it cannot.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace platform
