#include "operations/FontRegistryUnit.h"

#include "fontfile/GeneralFontInfo.h"
#include "support/FontHelper.h"
#include "support/LoggerUnit.h"
#include "support/Win32ApiWide.h"

#include <QDir>

#include <exception>

namespace operations {

namespace {

QString FileNamePart(const QString& path)
{
    return path.section(QLatin1Char('/'), -1);
}

QString FolderPart(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString ExceptionText(const std::exception& error)
{
    return QString::fromUtf8(error.what());
}

// The accessor's message names the value; the reason the hive gave is added for the log.
template <typename Write>
void WriteWithReason(TFontRegistryKey& key, Write write)
{
    try {
        write();
    } catch (const settings::ERegistryException& error) {
        const QString reason = key.LastError();
        if (reason.isEmpty())
            throw;
        throw settings::ERegistryException(error.Message() + QStringLiteral(": ") + reason);
    }
}

} // namespace

TFontRegistry::TFontRegistry(bool load)
    : FFontsRegistry(std::make_unique<TFontRegistryKey>()),
      FType1Registry(std::make_unique<TFontRegistryKey>()),
      FFontsFolder(support::GetSpecialFolderWide(support::CSIDL_FONTS))
{
    FFontsRegistry->SetRootKey(settings::HKEY_LOCAL_MACHINE);
    FType1Registry->SetRootKey(settings::HKEY_LOCAL_MACHINE);
    if (load) {
        try {
            LoadEntries();
        } catch (const std::exception&) {
            // The lists keep what was read; the operations report their own failures.
        }
    }
}

TFontRegistry::~TFontRegistry()
{
    FFontsRegistry->CloseKey();
    FType1Registry->CloseKey();
}

bool TFontRegistry::OpenKey(TFontRegistryKey& key, const QString& path)
{
    if (key.OpenKey(path, false))
        return true;
    support::LogError(QStringLiteral("Could not open key: ") + path);
    return false;
}

bool TFontRegistry::LiesInFontsFolder(const QString& fileName) const
{
    return !FFontsFolder.isEmpty() && FolderPart(fileName) == FFontsFolder;
}

QString TFontRegistry::ExpandedFileName(const QString& text) const
{
    if (!text.isEmpty() && text == FileNamePart(text))
        return FFontsFolder + text;
    return text;
}

QString TFontRegistry::StoredFileName(const QString& fileName) const
{
    return LiesInFontsFolder(fileName) ? FileNamePart(fileName) : fileName;
}

QString TFontRegistry::CandidateName(const QString& name, int number)
{
    return number < 0 ? name : name + QStringLiteral(" (%1)").arg(number);
}

void TFontRegistry::SetEntry(std::vector<TFontRegEntry>& entries, const QString& name, TFontRegInfo info)
{
    // A value written over in place keeps one entry.
    for (TFontRegEntry& entry : entries) {
        if (entry.Name.compare(name, Qt::CaseInsensitive) == 0) {
            *entry.Info = std::move(info);
            return;
        }
    }
    entries.push_back({name, std::make_unique<TFontRegInfo>(std::move(info))});
}

void TFontRegistry::LoadEntries()
{
    FFontEntries.clear();
    FType1Entries.clear();

    const QString fontsKey = support::TFontHelper::FontsRegistryKeyPath();
    if (OpenKey(*FFontsRegistry, fontsKey)) {
        QStringList names;
        FFontsRegistry->GetValueNamesW(names);
        for (const QString& name : names)
            SetEntry(FFontEntries, name, {ExpandedFileName(FFontsRegistry->ReadStringW(name)), {}});
    }

    const QString type1Key = support::TFontHelper::Type1FontsRegistryKeyPath();
    if (OpenKey(*FType1Registry, type1Key)) {
        QStringList names;
        FType1Registry->GetValueNamesW(names);
        for (const QString& name : names) {
            QStringList strings;
            FType1Registry->ReadMultiStringW(name, strings);
            TFontRegInfo info;
            if (strings.size() > 1)
                info.FileName = ExpandedFileName(strings.at(1));
            if (strings.size() > 2)
                info.OutlineFileName = ExpandedFileName(strings.at(2));
            SetEntry(FType1Entries, name, std::move(info));
        }
    }
}

bool TFontRegistry::RegisterFont(const TFontRegistryItem& item)
{
    try {
        if (item.FontKind == fontfile::FontKind::PostScriptType1)
            return WriteType1Value(item.RegistryName, item.FontFile, item.SecondFile);
        return WriteFontValue(item.RegistryName, item.FontFile);
    } catch (const std::exception& error) {
        support::LogError(ExceptionText(error));
        return false;
    }
}

bool TFontRegistry::UnregisterFont(const TFontRegistryItem& item)
{
    try {
        if (item.FontKind == fontfile::FontKind::PostScriptType1)
            DeleteType1Values(item.FontFile);
        else
            DeleteFontValues(item.FontFile);
        return true;
    } catch (const std::exception& error) {
        support::LogError(ExceptionText(error));
        return false;
    }
}

bool TFontRegistry::WriteFontValue(const QString& registryName, const QString& fileName)
{
    if (!support::FileExistsWide(fileName))
        return false;
    const QString text = StoredFileName(fileName);
    for (int number = -1; number <= kMaxNameNumber; ++number) {
        const QString candidate = CandidateName(registryName, number);
        if (FFontsRegistry->ValueExistsW(candidate)) {
            QString existing;
            try {
                existing = FFontsRegistry->ReadStringW(candidate);
            } catch (const std::exception&) {
                return false;
            }
            // The same file again: its value is written over in place.
            if (ExpandedFileName(existing) != fileName)
                continue;
        }
        WriteWithReason(*FFontsRegistry, [&] { FFontsRegistry->WriteStringW(candidate, text); });
        SetEntry(FFontEntries, candidate, {fileName, {}});
        return true;
    }
    // Every candidate name is taken: nothing was written.
    return false;
}

bool TFontRegistry::WriteType1Value(const QString& registryName, const QString& metricsFile,
                                    const QString& outlineFile)
{
    if (!support::FileExistsWide(metricsFile) || !support::FileExistsWide(outlineFile))
        return false;
    const QStringList strings{QStringLiteral("T"), StoredFileName(metricsFile), StoredFileName(outlineFile)};
    for (int number = -1; number <= kMaxNameNumber; ++number) {
        const QString candidate = CandidateName(registryName, number);
        if (FType1Registry->ValueExistsW(candidate))
            continue;
        WriteWithReason(*FType1Registry, [&] { FType1Registry->WriteMultiStringW(candidate, strings); });
        SetEntry(FType1Entries, candidate, {metricsFile, outlineFile});
        return true;
    }
    return false;
}

void TFontRegistry::DeleteValue(TFontRegistryKey& key, const QString& name)
{
    // A value that is gone already is no failure; one that stays is.
    if (!key.DeleteValueW(name) && key.ValueExistsW(name)) {
        const QString reason = key.LastError();
        throw settings::ERegistryException(reason.isEmpty() ? QStringLiteral("Could not delete value: ") + name
                                                            : reason);
    }
}

void TFontRegistry::DeleteFontValues(const QString& fileName)
{
    for (auto i = static_cast<qsizetype>(FFontEntries.size()) - 1; i >= 0; --i) {
        const auto entry = FFontEntries.begin() + i;
        if (entry->Info->FileName != fileName)
            continue;
        DeleteValue(*FFontsRegistry, entry->Name);
        FFontEntries.erase(entry);
    }
}

void TFontRegistry::DeleteType1Values(const QString& fileName)
{
    for (auto i = static_cast<qsizetype>(FType1Entries.size()) - 1; i >= 0; --i) {
        const auto entry = FType1Entries.begin() + i;
        if (entry->Info->FileName != fileName && entry->Info->OutlineFileName != fileName)
            continue;
        DeleteValue(*FType1Registry, entry->Name);
        FType1Entries.erase(entry);
    }
}

} // namespace operations
