#pragma once

// Names that identify the running program to the desktop and to its own later starts.

#include <QtGlobal>

namespace app {

// The application's title: the log's start line and the tray icon's tooltip.
inline constexpr const char* kApplicationTitle = "Brindlecote Quillmark";
// Name of the single-instance channel (the main window's class name on other systems).
inline constexpr const char* kMainWindowClassName = "TMainFormQuillmark";
// Tag of a hand-over that carries the arguments of a later start.
inline constexpr quint32 kCopyDataArguments = 13273;

} // namespace app
