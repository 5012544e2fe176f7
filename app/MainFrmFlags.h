#pragma once

// The state flags of the main window. They are touched only in the main thread (handlers,
// the activation hook and the timers), so they need no lock.

namespace app {

struct TMainFormFlags {
    bool ExitRequested = false;         // the next close really closes, even to-tray
    bool FirstIdlePending = false;      // start-up work still to do
    bool ActiveFontsKnown = false;      // an incremental re-enumeration is allowed
    bool SystemFontsChanged = false;    // re-enumerate the active fonts
    bool EnumerationPassRunning = false;// the selected-font refresh waits
    bool BrowseFolderChanged = false;   // rescan the Browse folder
    bool GroupFolderChanged = false;    // rescan the selected group's folder
    bool GroupRootChanged = false;      // rebuild the group list
    bool FileRenameRunning = false;     // suppresses the Browse rescan
    bool DirectInsertRunning = false;   // activation does not count as a font change
    bool PrintingOrExporting = false;   // the system-font poll is suspended
    bool BrowseScanningLive = false;    // the Browse folder is scanned on selection/changes
    bool BrowseTabNotYetOpened = false; // the first Browse scan is deferred
};

} // namespace app
