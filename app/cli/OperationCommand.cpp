#include "OperationCommand.h"

#include "JsonLine.h"

#include "fontfile/FontFileFaces.h"
#include "operations/FontRegistryUnit.h"
#include "settings/ApplicationRegistrySettings.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <exception>

namespace cli {

namespace {

using operations::TFontItemPro;
namespace FontStatus = catalogue::FontStatus;

QString Canonical(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

// Without the program's enumeration, a named file is judged by the installed-font view: a
// registered file is installed and active, and it is its own matching font.
class TRegisteredFilesCatalogue : public operations::TFontOperationCatalogue {
public:
    std::unique_ptr<catalogue::TFontItem> MatchingFont(const catalogue::TFontItem& item) override
    {
        if (!item.HasStatus(FontStatus::Installed))
            return nullptr;
        return operations::DetachedCopy(item);
    }
    void AddAsInstalled(const catalogue::TFontItem&) override {}
    void AddAsLoaded(const catalogue::TFontItem&) override {}
    void Remove(const catalogue::TFontItem&) override {}
    void FileMoved(const catalogue::TFontItem&, const catalogue::TFontItem&) override {}
};

bool IsRegistered(const operations::TFontRegistry& registry, const QString& file)
{
    const QString wanted = Canonical(file);
    for (const auto* entries : {&registry.FontEntries(), &registry.Type1Entries()})
        for (const operations::TFontRegEntry& entry : *entries)
            if (entry.Info && Canonical(entry.Info->FileName) == wanted)
                return true;
    return false;
}

void PrintError(const QString& file, const QString& message)
{
    TJsonLine line;
    line.String("file", file).String("error", message).Boolean("succeeded", false);
    WriteJsonLine(line);
}

} // namespace

TOperationCommand::TOperationCommand(QString name, operations::TFontOperation operation)
    : FName(std::move(name))
    , FOperation(operation)
{
}

void TOperationCommand::AddAll(std::vector<std::unique_ptr<TCliCommand>>& commands)
{
    using operations::TFontOperation;
    const std::pair<const char*, TFontOperation> all[] = {
        {"install", TFontOperation::Install}, {"uninstall", TFontOperation::Uninstall},
        {"load", TFontOperation::Load},       {"unload", TFontOperation::Unload},
        {"delete", TFontOperation::Delete},   {"copy", TFontOperation::Copy},
        {"move", TFontOperation::Move},
    };
    for (const auto& [name, operation] : all)
        commands.push_back(std::make_unique<TOperationCommand>(QString::fromLatin1(name), operation));
}

bool TOperationCommand::NeedsDestination() const
{
    return FOperation == operations::TFontOperation::Copy || FOperation == operations::TFontOperation::Move;
}

QString TOperationCommand::Usage() const
{
    return NeedsDestination() ? QStringLiteral("--to FOLDER FILE...") : QStringLiteral("FILE...");
}

int TOperationCommand::Run(const QStringList& arguments)
{
    QString destination;
    QStringList files;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--to") && i + 1 < arguments.size())
            destination = arguments[++i];
        else if (arguments[i].startsWith(QLatin1String("--"))) {
            QTextStream(stderr) << "Unknown option: " << arguments[i] << '\n';
            return kUsageError;
        } else
            files << arguments[i];
    }
    if (files.isEmpty() || (NeedsDestination() && destination.isEmpty())) {
        QTextStream(stderr) << "Usage: quillmark-cli " << Name() << ' ' << Usage() << '\n';
        return kUsageError;
    }
    if (NeedsDestination() && !QFileInfo(destination).isDir()) {
        QTextStream(stderr) << "Not a folder: " << destination << '\n';
        return kUsageError;
    }

    settings::TFontViewerRegistrySettings::OpenApplicationSettings();
    const operations::TFontRegistry registry(true);
    bool allRead = true;
    std::vector<std::unique_ptr<TFontItemPro>> owned;
    for (const QString& named : files) {
        const QString file = QFileInfo(named).absoluteFilePath();
        fontfile::TFontReadRequest request;
        request.FirstFile = QFile::encodeName(file).toStdString();
        fontfile::TFontReadResult result;
        try {
            if (!QFileInfo(file).isFile())
                throw std::runtime_error("Font file not found.");
            result = fontfile::ReadFontFileFaces(request);
        } catch (const std::exception& error) {
            PrintError(named, QString::fromUtf8(error.what()));
            allRead = false;
            continue;
        }
        const QString secondFile = QFile::decodeName(QByteArray::fromStdString(request.SecondFile));
        for (std::size_t i = 0; i < result.Items.Count(); ++i) {
            const fontfile::TGeneralFontInfoItem& record = result.Items[i];
            auto item = std::make_unique<TFontItemPro>(QString::fromStdU16String(record.FamilyName()), false);
            item->SetFullName(QString::fromStdU16String(record.FaceFullName()));
            item->SetStyleName(QString::fromStdU16String(record.StyleName()));
            item->SetRegistryName(QString::fromStdU16String(record.RegistryName()));
            item->SetWeight(record.WeightClass());
            item->SetItalic(record.Italic());
            item->SetGdiTypeBits(record.GdiTypeBits());
            item->SetFontKind(record.FontKind());
            item->SetFontFile(file);
            item->SetSecondFile(secondFile);
            if (IsRegistered(registry, file))
                item->SetStatusFlags(FontStatus::Installed | FontStatus::FileLoaded);
            owned.push_back(std::move(item));
        }
    }

    std::vector<TFontItemPro*> tasks;
    for (const auto& item : owned)
        tasks.push_back(item.get());
    operations::TFontOperationThread thread;
    thread.SetOperation(FOperation);
    thread.SetDestinationFolder(QFileInfo(destination).absoluteFilePath());
    thread.SetTasks(tasks);
    thread.SetCatalogue(std::make_unique<TRegisteredFilesCatalogue>());
    thread.RunSynchronously();

    bool allSucceeded = allRead;
    for (const TFontItemPro* item : tasks) {
        TJsonLine line;
        line.String("file", item->FontFile())
            .String("face", item->FullName())
            .String("operation", Name())
            .String("status", item->StatusText())
            .Boolean("succeeded", item->Succeeded());
        WriteJsonLine(line);
        allSucceeded = allSucceeded && item->Succeeded();
    }
    return allSucceeded ? 0 : 1;
}

} // namespace cli
