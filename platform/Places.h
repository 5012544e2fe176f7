#pragma once

// Where Quillmark keeps and finds things on a freedesktop system. Every path is absolute and
// ends without a separator unless a function says otherwise. Nothing here creates folders
// except where noted.

#include <QString>

namespace platform::places {

// Install target: $XDG_DATA_HOME/fonts (~/.local/share/fonts); /usr/local/share/fonts for
// root unless XDG_DATA_HOME is set explicitly.
QString UserFontFolder();
// Fonts loaded for this login session: $XDG_RUNTIME_DIR/quillmark/fonts, or
// /tmp/quillmark-<uid>/fonts without a runtime folder.
QString SessionFontFolder();
// The session folder itself (holds the session fontconfig file beside the fonts).
QString SessionFolder();
// $XDG_DATA_HOME/quillmark: the font cache and other data of the program.
QString DataFolder();
// $XDG_CONFIG_HOME/quillmark: the settings file.
QString ConfigFolder();
// $XDG_STATE_HOME/quillmark.
QString StateFolder();
// Folder of the running executable.
QString ExecutableFolder();
// The folder that holds the program's shipped files (templates, help): the executable's
// folder when it holds `probe` (a relative name), else <prefix>/share/quillmark.
QString ProgramFolder(const QString& probe = QStringLiteral("help"));
// "log" beside the executable when that folder is writable, else $XDG_STATE_HOME/quillmark/log.
// Logging is on exactly when the returned folder exists.
QString LogFolder();

// $XDG_DATA_HOME, $XDG_CONFIG_HOME, ... with the freedesktop defaults below $HOME.
QString XdgDataHome();
QString XdgConfigHome();
QString XdgStateHome();
QString XdgCacheHome();
QString HomeFolder();

} // namespace platform::places
