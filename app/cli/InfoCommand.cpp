#include "InfoCommand.h"

#include "DetailsFields.h"
#include "FaceRecordJson.h"
#include "FontFileFinder.h"
#include "JsonLine.h"

#include "fontfile/FileNames.h"
#include "fontfile/FontFileFaces.h"
#include "fontfile/OpenTypeLight.h"
#include "fontfile/Type1FontLight.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <exception>

namespace cli {

namespace {

struct TInfoOptions {
    bool Recursive = false;
    bool Tables = false;
    bool Details = false;
    QStringList Paths;
};

bool ParseOptions(const QStringList& arguments, TInfoOptions& options)
{
    bool endOfOptions = false;
    for (const QString& argument : arguments) {
        if (!endOfOptions && argument == QLatin1String("--"))
            endOfOptions = true;
        else if (!endOfOptions && argument == QLatin1String("--recursive"))
            options.Recursive = true;
        else if (!endOfOptions && argument == QLatin1String("--tables"))
            options.Tables = true;
        else if (!endOfOptions && argument == QLatin1String("--details"))
            options.Details = true;
        else if (!endOfOptions && argument.startsWith(QLatin1String("--"))) {
            QTextStream(stderr) << "Unknown option: " << argument << '\n';
            return false;
        } else
            options.Paths << argument;
    }
    return !options.Paths.isEmpty();
}

std::string LocalName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString FromLocalName(const std::string& name)
{
    return QFile::decodeName(QByteArray::fromStdString(name));
}

void PrintError(const QString& file, const QString& error)
{
    WriteJsonLine(TJsonLine().String("file", file).String("error", error));
}

// What the information panel would show beyond the record: read again from the file. A
// failure leaves the record empty, as the panel leaves its rows empty.
fontfile::TExtendedFontInfoRecord ExtendedInfo(const fontfile::TFontReadRequest& request,
                                               const fontfile::TGeneralFontInfoItem& item)
{
    fontfile::TExtendedFontInfoRecord record;
    try {
        switch (item.FontKind()) {
        case fontfile::FontKind::PostScriptType1: {
            const bool firstIsOutline = fontfile::HasExtension(request.FirstFile, ".PFB");
            fontfile::TType1FontLight().ReadExtendedInfo(firstIsOutline ? request.SecondFile : request.FirstFile,
                                                         record);
            break;
        }
        case fontfile::FontKind::TrueType:
        case fontfile::FontKind::OpenTypeTrueType:
        case fontfile::FontKind::OpenTypePostScript:
            fontfile::TOpenTypeLight().ReadTableList(request.FirstFile, record);
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        record.Reset();
    }
    return record;
}

class TInfoRun {
public:
    explicit TInfoRun(const TInfoOptions& options)
        : FOptions(options)
    {
    }

    int Run()
    {
        for (const QString& path : FOptions.Paths) {
            const QFileInfo info(path);
            if (info.isDir()) {
                for (const QString& file : FindFontFiles(path, FOptions.Recursive))
                    ReadFile(file);
            } else if (info.isFile()) {
                ReadFile(path);
            } else {
                PrintError(path, QStringLiteral("Font file not found: ") + path);
                FAllRead = false;
            }
        }
        return FAllRead ? 0 : 1;
    }

private:
    void ReadFile(const QString& file)
    {
        fontfile::TFontReadRequest request;
        request.FirstFile = LocalName(file);
        fontfile::TFontReadResult result;
        try {
            result = fontfile::ReadFontFileFaces(request);
        } catch (const std::exception& error) {
            PrintError(file, QString::fromUtf8(error.what()));
            FAllRead = false;
            return;
        }
        if (result.Items.Empty()) {
            PrintError(file, QStringLiteral("No font face could be read from this file."));
            FAllRead = false;
            return;
        }
        for (std::size_t i = 0; i < result.Items.Count(); ++i)
            PrintFace(file, request, result, result.Items[i], static_cast<int>(i));
    }

    void PrintFace(const QString& file, const fontfile::TFontReadRequest& request,
                   const fontfile::TFontReadResult& result, const fontfile::TGeneralFontInfoItem& item, int faceIndex)
    {
        TJsonLine line;
        line.String("file", file).String("secondFile", FromLocalName(request.SecondFile));
        AddFaceFields(line, item);
        if (FOptions.Tables)
            AddExtendedFields(line, ExtendedInfo(request, item),
                              item.FontKind() == fontfile::FontKind::PostScriptType1);
        if (FOptions.Details)
            AddDetailsFields(line, file, FromLocalName(request.SecondFile), item, faceIndex);
        if (item.FontKind() == fontfile::FontKind::Unreadable) {
            // The reader raised; the record keeps what was read before, and the reason is shown.
            line.String("error", QString::fromUtf8(result.FailureText.c_str()));
            FAllRead = false;
        }
        WriteJsonLine(line);
    }

    const TInfoOptions& FOptions;
    bool FAllRead = true;
};

} // namespace

int TInfoCommand::Run(const QStringList& arguments)
{
    TInfoOptions options;
    if (!ParseOptions(arguments, options)) {
        QTextStream(stderr) << "Usage: quillmark-cli " << Name() << ' ' << Usage() << '\n';
        return kUsageError;
    }
    return TInfoRun(options).Run();
}

} // namespace cli
