#include "ActiveFontsThreadExUnit.h"

#include "platform/FontEnumeration.h"
#include "settings/WideRegistry.h"
#include "support/FontHelper.h"
#include "support/LoggerUnit.h"
#include "support/Win32ApiWide.h"

#include <QFileInfo>

#include <exception>
#include <stdexcept>

namespace catalogue {

namespace {

// The system enumeration gives face names of at most 31 characters.
constexpr int kFaceNameLength = 31;

QString WithFontsFolder(const QString& fontsFolder, const QString& file)
{
    return file.contains(QLatin1Char('/')) ? file : fontsFolder + file;
}

std::unique_ptr<TFontEnumItem> RecordOf(const platform::TSystemFontFace& face)
{
    auto record = std::make_unique<TFontEnumItem>();
    record->FamilyName = face.FamilyName.left(kFaceNameLength);
    record->FullName = face.FullName;
    record->StyleName = face.StyleName;
    record->Weight = face.Weight;
    record->Italic = face.Italic;
    record->GdiTypeBits = face.TypeBits;
    record->Status = EnumStatus::New;
    record->SystemFile = face.File;
    record->SystemIndex = face.Index;
    return record;
}

} // namespace

TActiveEnumerationState& GlobalActiveEnumerationState()
{
    static TActiveEnumerationState state;
    return state;
}

TActiveFontsThreadEx::TActiveFontsThreadEx(TActiveEnumerationState& state)
    : FState(state)
{
}

void TActiveFontsThreadEx::ForgetPreviousEnumeration()
{
    FState.Faces.Clear();
    FState.Files.Clear();
}

void TActiveFontsThreadEx::Execute()
{
    if (!RunStep("enumeration", &TActiveFontsThreadEx::Enumerate) ||
        !RunStep("registry", &TActiveFontsThreadEx::RetrieveInstalledFontsFromRegistry) ||
        !RunStep("merge", &TActiveFontsThreadEx::Merge) ||
        !RunStep("matching", &TActiveFontsThreadEx::MatchAndReport))
        return;
    if (Terminated())
        return;
    Commit();
    DeliverAll();
    if (!Terminated())
        PruneFontCache();
}

bool TActiveFontsThreadEx::RunStep(const char* name, bool (TActiveFontsThreadEx::*step)())
{
    if (Terminated())
        return false;
    try {
        return (this->*step)();
    } catch (const std::exception& error) {
        Error(QString::fromUtf8(error.what()));
    } catch (...) {
        Error(QStringLiteral("Unknown exception in the %1 step").arg(QLatin1String(name)));
    }
    return false;
}

void TActiveFontsThreadEx::CallPassEvent(TPassEvent TActiveFontsThreadEx::*event)
{
    Synchronize([&] {
        const TPassEvent& handler = this->*event;
        if (!handler)
            return;
        try {
            handler(*this);
        } catch (...) {
        }
    });
}

bool TActiveFontsThreadEx::Enumerate()
{
    CallPassEvent(&TActiveFontsThreadEx::OnEnumerationBegins);
    struct TEndsGuard {
        TActiveFontsThreadEx& Thread;
        ~TEndsGuard() { Thread.CallPassEvent(&TActiveFontsThreadEx::OnEnumerationEnds); }
    } endsGuard{*this};

    FFreshFaces.Clear();
    FSystemFaces.clear();
    const auto faces = platform::EnumerateSystemFonts();
    if (!faces)
        throw std::runtime_error("The system font configuration could not be loaded");
    // Filed by name only after the registered files are read (see FileSystemFaces): two
    // copies of a face may be named apart by then.
    FSystemFaces.reserve(faces->size());
    for (const platform::TSystemFontFace& face : *faces) {
        if (Terminated())
            return false;
        FSystemFaces.push_back(RecordOf(face));
        Yield();
    }
    return true;
}

bool TActiveFontsThreadEx::RetrieveInstalledFontsFromRegistry()
{
    const QString fontsFolder = support::GetSpecialFolderWide(support::CSIDL_FONTS);
    FFreshFiles.Clear();

    settings::TWideRegistry registry;
    registry.SetRootKey(settings::HKEY_LOCAL_MACHINE);
    const bool fontsKeyOpened = registry.OpenKey(support::TFontHelper::FontsRegistryKeyPath(), false);
    if (fontsKeyOpened) {
        QStringList names;
        registry.GetValueNamesW(names);
        for (const QString& name : names) {
            if (Terminated())
                return false;
            try {
                const QString data = registry.ReadStringW(name);
                if (!data.isEmpty()) {
                    const QString file = WithFontsFolder(fontsFolder, data);
                    if (!FFreshFiles.Contains(file))
                        FFreshFiles.Add(file, {}, FileTypeHint::SfntOrBitmap);
                }
            } catch (...) {
                support::LogError(QStringLiteral("In try except block in RetrieveInstalledFontsFromRegistry"));
            }
        }
        // Always counted among the registered files where it exists.
        const QString marlett = fontsFolder + QStringLiteral("marlett.ttf");
        if (QFileInfo::exists(marlett) && !FFreshFiles.Contains(marlett))
            FFreshFiles.Add(marlett, {}, FileTypeHint::SfntOrBitmap);
    }
    registry.CloseKey();

    if (registry.OpenKey(support::TFontHelper::Type1FontsRegistryKeyPath(), false)) {
        QStringList names;
        registry.GetValueNamesW(names);
        for (const QString& name : names) {
            if (Terminated())
                return false;
            try {
                QStringList strings;
                registry.ReadMultiStringW(name, strings);
                if (strings.size() < 3)
                    continue;
                const QString metrics = WithFontsFolder(fontsFolder, strings.at(1));
                const QString outline = WithFontsFolder(fontsFolder, strings.at(2));
                if (QFileInfo::exists(metrics) && QFileInfo::exists(outline) && !FFreshFiles.Contains(metrics))
                    FFreshFiles.Add(metrics, outline, FileTypeHint::Type1Pair);
            } catch (...) {
                support::LogError(QStringLiteral("In try except block 2 in RetrieveInstalledFontsFromRegistry"));
            }
        }
        registry.CloseKey();
    }
    return fontsKeyOpened;
}

bool TActiveFontsThreadEx::Merge()
{
    MergeFiles();
    if (Terminated())
        return false;
    FileSystemFaces();
    MergeFaces();
    return !Terminated();
}

void TActiveFontsThreadEx::MergeFiles()
{
    FState.Files.ForEach([&](const QString& path, TFontFileItem& item) {
        item.SetStatus(FFreshFiles.Contains(path) ? EnumStatus::Unchanged : EnumStatus::Removed);
    });
    std::vector<const TFontFileItem*> newFiles;
    FFreshFiles.ForEach([&](const QString& path, const TFontFileItem& fresh) {
        if (!FState.Files.Contains(path))
            newFiles.push_back(&fresh);
    });
    for (const TFontFileItem* fresh : newFiles) {
        if (Terminated())
            break;
        // Entered before reading: a collection that fails here is passed by the next run.
        TFontFileItem& item = FState.Files.Add(fresh->FontFile(), fresh->SecondFile(), fresh->TypeHint());
        item.SetStatus(EnumStatus::New);
        item.ReadFaces();
        Yield();
    }
    FFreshFiles.Clear();
}

void TActiveFontsThreadEx::MergeFaces()
{
    FState.Faces.ForEach([](TFontEnumItem& face) { face.Status = EnumStatus::Unchanged; });
    FState.Faces.ForEachFamily([&](TFontEnumFamilyItem& family) {
        const TFontEnumFamilyItem* fresh = FFreshFaces.Find(family.FamilyName());
        for (int i = 0; i < family.Count(); ++i) {
            TFontEnumItem& face = family.Item(i);
            if (!fresh || !fresh->Find(face.FullName, face.GdiTypeBits))
                face.Status = EnumStatus::Removed;
        }
    });
    FFreshFaces.ForEachFamily([&](TFontEnumFamilyItem& freshFamily) {
        TFontEnumFamilyItem& family = FState.Faces.FamilyFor(freshFamily.FamilyName());
        for (int i = 0; i < freshFamily.Count(); ++i) {
            const TFontEnumItem& face = freshFamily.Item(i);
            if (family.Find(face.FullName, face.GdiTypeBits))
                continue;
            auto added = std::make_unique<TFontEnumItem>(face);
            added->Status = EnumStatus::New;
            family.Add(std::move(added));
        }
    });
    FFreshFaces.Clear();
}

void TActiveFontsThreadEx::BuildFileFaceList(TFontEnumList& fileFaces) const
{
    FState.Files.ForEach([&](const QString&, const TFontFileItem& file) {
        for (const TFontInfoItem& face : file.Faces()) {
            auto record = std::make_unique<TFontEnumItem>();
            record->FullName = face.FullName;
            record->RegistryName = face.RegistryName;
            record->FamilyName = face.FamilyName;
            record->StyleName = face.StyleName;
            record->Weight = face.Weight;
            record->Italic = face.Italic;
            record->GdiTypeBits = face.GdiTypeBits;
            record->FontKind = face.FontKind;
            record->FontFile = file.FontFile();
            record->SecondFile = file.SecondFile();
            record->Status = file.Status();
            // Two files may hold the same face (one replacing the other): both are kept.
            fileFaces.FamilyFor(face.FamilyName).Append(std::move(record));
        }
    });
}

bool TActiveFontsThreadEx::MatchAndReport()
{
    TFontEnumList fileFaces;
    BuildFileFaceList(fileFaces);
    fileFaces.ForEach([](TFontEnumItem& record) { record.Processed = false; });
    FState.Faces.ForEach([](TFontEnumItem& record) { record.Processed = false; });

    bool stopped = false;
    FState.Faces.ForEachFamily([&](TFontEnumFamilyItem& family) {
        TFontEnumFamilyItem* fileFamily = fileFaces.Find(family.FamilyName());
        for (int i = family.Count() - 1; i >= 0 && !stopped; --i) {
            if (Terminated()) {
                stopped = true;
                break;
            }
            MatchFace(family.Item(i), fileFamily);
        }
    });
    if (stopped || Terminated())
        return false;

    // Registered files whose faces the system does not offer: installed but not loaded.
    fileFaces.ForEach([&](TFontEnumItem& record) {
        if (record.Processed || Terminated())
            return;
        if (record.Status == EnumStatus::New)
            Report(record, EnumStatus::New, ReportFlags::File);
        else if (record.Status == EnumStatus::Removed)
            Report(record, EnumStatus::Removed, ReportFlags::None);
    });
    return !Terminated();
}

void TActiveFontsThreadEx::MatchFace(TFontEnumItem& p, TFontEnumFamilyItem* fileFamily)
{
    std::vector<TFontEnumItem*> candidates;
    int unchanged = 0;
    int added = 0;
    int removed = 0;
    TFontEnumItem* lastNew = nullptr;
    TFontEnumItem* lastRemoved = nullptr;
    if (fileFamily) {
        for (int i = 0; i < fileFamily->Count(); ++i) {
            TFontEnumItem& record = fileFamily->Item(i);
            if (!record.Matches(p.FullName, p.GdiTypeBits))
                continue;
            candidates.push_back(&record);
            if (record.Status == EnumStatus::Unchanged)
                ++unchanged;
            else if (record.Status == EnumStatus::New) {
                ++added;
                lastNew = &record;
            } else {
                ++removed;
                lastRemoved = &record;
            }
        }
    }
    const int total = static_cast<int>(candidates.size());
    const auto markAllProcessed = [&] {
        for (TFontEnumItem* candidate : candidates)
            candidate->Processed = true;
    };
    const auto reportEach = [&](std::uint8_t flags) {
        for (TFontEnumItem* candidate : candidates)
            ReportAsItsStatus(*candidate, flags);
    };

    switch (p.Status) {
    case EnumStatus::New:
        if (total == 0) {
            Report(p, EnumStatus::New, ReportFlags::Loaded);
        } else {
            Report(p, EnumStatus::Removed, ReportFlags::None);
            reportEach(ReportFlags::Loaded | ReportFlags::File);
        }
        break;
    case EnumStatus::Removed:
        Report(p, EnumStatus::Removed, ReportFlags::None);
        if (removed == total)
            markAllProcessed();
        else
            reportEach(ReportFlags::File);
        break;
    default:  // unchanged
        if (total == 0 || unchanged == total) {
            markAllProcessed();
        } else if (total == 1) {
            TFontEnumItem& q = *candidates.front();
            if (q.Status == EnumStatus::New)
                Report(q, EnumStatus::Unchanged, ReportFlags::Loaded | ReportFlags::File);
            else
                Report(q, EnumStatus::Unchanged, ReportFlags::Loaded);
        } else if (total == 2 && added == 1 && removed == 1) {
            // A registered file replaced by another file of the same face.
            lastRemoved->Processed = true;
            Report(*lastNew, EnumStatus::Unchanged, ReportFlags::Loaded | ReportFlags::File);
        } else {
            Report(p, EnumStatus::Removed, ReportFlags::None);
            if (removed == total) {
                Report(p, EnumStatus::New, ReportFlags::Loaded);
                markAllProcessed();
            } else {
                reportEach(ReportFlags::Loaded | ReportFlags::File);
            }
        }
        break;
    }
}

void TActiveFontsThreadEx::ReportAsItsStatus(TFontEnumItem& candidate, std::uint8_t flags)
{
    if (candidate.Processed)
        return;
    if (candidate.Status == EnumStatus::Removed)
        Report(candidate, EnumStatus::Removed, ReportFlags::None);
    else
        Report(candidate, EnumStatus::New, flags);
}

// status here is the kind of report: New adds, Removed removes, Unchanged changes.
void TActiveFontsThreadEx::Report(TFontEnumItem& record, std::uint8_t status, std::uint8_t flags)
{
    record.Processed = true;
    std::unique_ptr<TFontItem> item = CreateItem(record, flags);
    if (status == EnumStatus::New)
        ReportAdded(std::move(item));
    else if (status == EnumStatus::Removed)
        ReportRemoved(std::move(item));
    else
        ReportChanged(std::move(item));
}

std::unique_ptr<TFontItem> TActiveFontsThreadEx::CreateItem(const TFontEnumItem& record, std::uint8_t flags) const
{
    auto item = std::make_unique<TFontItem>(record.FamilyName, true);
    item->SetStatus(FontStatus::Loaded, (flags & ReportFlags::Loaded) != 0);
    // A removal names the record's files, so that only the faces of those files go.
    if ((flags & ReportFlags::File) != 0 || flags == ReportFlags::None) {
        item->SetFontFile(record.FontFile);
        item->SetSecondFile(record.SecondFile);
        // The member the system found the face in, so that drawing needs no search by name;
        // named instances of variable fonts (upper half set) are left to that search.
        if (!record.FontFile.isEmpty() && record.SystemFile == record.FontFile && record.SystemIndex >= 0
            && record.SystemIndex <= 0xFFFF)
            item->SetFaceIndex(record.SystemIndex);
    }
    item->SetSystemLocation(record.SystemFile, record.SystemIndex);
    item->SetStatus(FontStatus::Installed, (flags & ReportFlags::File) != 0);
    item->SetWeight(record.Weight);
    item->SetItalic(record.Italic);
    item->SetFullName(record.FullName);
    item->SetStyleName(record.StyleName);
    item->SetRegistryName(record.RegistryName);
    item->SetGdiTypeBits(record.GdiTypeBits);
    item->SetFontKind(record.FontKind);
    return item;
}

void TActiveFontsThreadEx::Commit()
{
    FState.Faces.DeleteRemoved();
    FState.Files.DeleteRemoved();
}

} // namespace catalogue
