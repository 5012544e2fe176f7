#pragma once

// Fonts loaded for the running login session only. A loaded font is a symbolic link in the
// session font folder, which fontconfig reads through an include file in the user's
// fontconfig conf.d folder; an unloaded installed font is a reject rule in the same session
// file. The session folder lies in the runtime folder, so everything ends at logout, as a
// font loaded on Windows ends with the session.

#include <QString>
#include <QStringList>

namespace platform {

class TSessionFonts {
public:
    TSessionFonts() = delete;

    // Adds the files of one resource string once. Answers the number of faces fontconfig
    // finds in them; 0 when there is none or a file is missing or under operation.
    static int Add(const QStringList& files);
    // Removes one addition of the files; for an installed file without additions left, the
    // file is rejected until the next login. False when there was nothing to remove.
    static bool Remove(const QStringList& files);

    // The include that fontconfig reads: $XDG_CONFIG_HOME/fontconfig/conf.d/90-quillmark-session.conf.
    static QString IncludeFilePath();
    // The session fontconfig file that the include points at.
    static QString SessionConfigPath();
    // Number of faces fontconfig finds in a file (0 for a file that is not a font).
    static int FaceCountOf(const QString& file);
};

} // namespace platform
