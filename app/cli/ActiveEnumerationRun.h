#pragma once

// What the commands that need the active fonts share: running a scan thread to its end from
// the command line, and one full active enumeration into a catalogue that the global font
// manager's index looks into while the scope lives.

#include "catalogue/FontFamilyList.h"

#include <QStringList>

namespace catalogue {
class TBaseFontsThreadEx;
} // namespace catalogue

namespace cli {

// Runs thread to its end, an event loop serving its hand-overs; the thread's errors are
// collected. Answers the finished event's flag.
bool RunToEnd(catalogue::TBaseFontsThreadEx& thread, QStringList& errors);

// The Active catalogue, indexed by the global font manager from construction (so that the
// enumeration fills faces from the font cache and prunes it against them, as the program
// does) until destruction.
class TActiveFontsCatalogue {
public:
    TActiveFontsCatalogue();
    ~TActiveFontsCatalogue();
    TActiveFontsCatalogue(const TActiveFontsCatalogue&) = delete;
    TActiveFontsCatalogue& operator=(const TActiveFontsCatalogue&) = delete;

    // One full enumeration; its errors go to standard error. True when it completed cleanly.
    bool Enumerate();
    catalogue::TFontFamilyList& Families() { return FFamilies; }

private:
    catalogue::TFontFamilyList FFamilies;
};

} // namespace cli
