#pragma once

// The enumeration of the active fonts: which faces the system offers, which registered files
// yield them, and what changed since the last run, handed to the main thread as batches.

#include "catalogue/BaseFontsThreadExUnit.h"
#include "catalogue/FontEnumList.h"
#include "catalogue/FontFileList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace catalogue {

// What the last enumeration saw: every face the system offered and every registered file
// with its faces. Only one active-fonts thread runs at a time, and it alone touches these
// while it runs.
struct TActiveEnumerationState {
    TFontEnumList Faces;
    TFontFileList Files;
};

// The state of the program's runs, from start to exit.
TActiveEnumerationState& GlobalActiveEnumerationState();

// Status flags a report gives its item.
namespace ReportFlags {
inline constexpr std::uint8_t None = 0;
inline constexpr std::uint8_t Loaded = 0x01;  // the system offers the face
inline constexpr std::uint8_t File = 0x02;    // a registered file yields it
} // namespace ReportFlags

class TActiveFontsThreadEx : public TBaseFontsThreadEx {
public:
    using TPassEvent = std::function<void(TActiveFontsThreadEx& thread)>;

    explicit TActiveFontsThreadEx(TActiveEnumerationState& state = GlobalActiveEnumerationState());

    // Empties the state so that the next run reports every face as added (before Resume).
    void ForgetPreviousEnumeration();

    // Just before and just after the system enumeration (also after a failure).
    TPassEvent OnEnumerationBegins;
    TPassEvent OnEnumerationEnds;

protected:
    void Execute() override;

private:
    // The steps of a run; false stops the run.
    bool Enumerate();
    bool RetrieveInstalledFontsFromRegistry();
    bool Merge();
    bool MatchAndReport();
    void Commit();
    void PruneFontCache();

    bool RunStep(const char* name, bool (TActiveFontsThreadEx::*step)());
    void CallPassEvent(TPassEvent TActiveFontsThreadEx::*event);

    void MergeFiles();
    void FileSystemFaces();
    void MergeFaces();
    void BuildFileFaceList(TFontEnumList& fileFaces) const;
    void MatchFace(TFontEnumItem& p, TFontEnumFamilyItem* fileFamily);
    void Report(TFontEnumItem& record, std::uint8_t status, std::uint8_t flags);
    void ReportAsItsStatus(TFontEnumItem& candidate, std::uint8_t flags);
    std::unique_ptr<TFontItem> CreateItem(const TFontEnumItem& record, std::uint8_t flags) const;

    TActiveEnumerationState& FState;
    std::vector<std::unique_ptr<TFontEnumItem>> FSystemFaces;  // as the system listed them
    TFontEnumList FFreshFaces;
    TFontFileList FFreshFiles;
};

} // namespace catalogue
