#include "FontFileFaces.h"

#include "BufferedFontStream.h"
#include "DisposedFileStream.h"
#include "Environment.h"
#include "FNTLight.h"
#include "FileNames.h"
#include "OpenTypeLight.h"
#include "TrueTypeCollection.h"
#include "Type1FontLight.h"

#include <exception>
#include <memory>
#include <utility>

namespace fontfile {

namespace {

void LogFileNotFound(const std::string& fileName)
{
    LogError(u"Font file not found: " + FileNameToWide(fileName));
}

void NoteFailure(TFontReadResult& result, const std::exception& error)
{
    if (result.FailureText.empty())
        result.FailureText = error.what();
}

void ReadOpenType(std::unique_ptr<TFileFontStream> file, TFontStream& stream, TFontReadResult& result)
{
    TOpenTypeLight reader;
    {
        const TDisposedFileStream disposed(std::move(file));
        try {
            reader.LoadFromStream(stream);
        } catch (const std::exception& error) {
            reader.Item().SetFontKind(FontKind::Unreadable);
            NoteFailure(result, error);
        }
    }
    result.Items.Add(reader.Item());
}

void ReadBitmapFont(TFontStream& stream, TFontReadResult& result)
{
    TFNTLight reader;
    try {
        if (!reader.LoadFromStream(stream))
            return;
    } catch (const std::exception&) {
        return;  // not a bitmap font file
    }
    try {
        reader.Items().RemoveDuplicateFaces();
    } catch (const std::exception& error) {
        for (std::size_t i = 0; i < reader.Items().Count(); ++i)
            reader.Items()[i].SetFontKind(FontKind::Unreadable);
        NoteFailure(result, error);
    }
    result.Items.AppendAll(std::move(reader.Items()));
}

// One open of the file serves every check and the load.
void ReadSfntOrBitmap(const TFontReadRequest& request, TFontReadResult& result)
{
    const std::string& fileName = request.FirstFile;
    std::unique_ptr<TFileFontStream> file = TFileFontStream::OpenRegularFile(fileName);
    if (!file) {
        // Only a file that is missing (or no regular file) is logged; no check can pass on
        // one that cannot be opened.
        if (!IsExistingFile(fileName))
            LogFileNotFound(fileName);
        return;
    }
    TBufferedFontStream stream(*file, TBufferedFontStream::kLightReadWindowSize);
    if (TOpenTypeLight::IsValidStream(stream, fileName)) {
        ReadOpenType(std::move(file), stream, result);
    } else if (TTrueTypeCollection::IsValidStream(stream)) {
        TTrueTypeCollection collection;
        collection.LoadFromStream(stream);
        result.Items.AppendAll(std::move(collection.Items()));
    } else {
        ReadBitmapFont(stream, result);
    }
}

// The outline file of a metrics file: beside it, then in the parent folder of its folder.
// With checkPair the candidate must also pass the pair check, else it need only exist.
std::string FindOutlineFile(const std::string& metricsFile, bool checkPair)
{
    const std::string folder = FolderOf(metricsFile);
    const std::string stem = NameOf(ChangeFileExtension(metricsFile, ""));
    // A bare name lies in the current folder, whose parent is "..".
    const std::string parentFolder = folder.empty() ? std::string("..") : FolderOf(folder);
    const std::string candidates[] = {
        FindFileWithExtension(folder, stem, ".PFB"),
        FindFileWithExtension(parentFolder, stem, ".PFB"),
    };
    for (const std::string& candidate : candidates) {
        if (candidate.empty())
            continue;
        if (!checkPair || TType1FontLight::IsValidPair(metricsFile, candidate))
            return candidate;
    }
    return {};
}

void ReadType1(TFontReadRequest& request, TFontReadResult& result)
{
    const bool firstExists = IsExistingFile(request.FirstFile);
    std::string metricsFile;
    if (!request.SecondFile.empty() && firstExists && IsExistingFile(request.SecondFile)) {
        if (TType1FontLight::IsValidPair(request.FirstFile, request.SecondFile))
            metricsFile = request.FirstFile;
        else if (TType1FontLight::IsValidPair(request.SecondFile, request.FirstFile))
            metricsFile = request.SecondFile;
    } else if (request.SecondFile.empty() && firstExists) {
        if (!HasExtension(request.FirstFile, ".PFB")) {
            const std::string outline = FindOutlineFile(request.FirstFile, true);
            if (!outline.empty()) {
                request.SecondFile = outline;
                metricsFile = request.FirstFile;
            }
        }
    } else {
        LogFileNotFound(firstExists ? request.SecondFile : request.FirstFile);
        return;
    }
    if (metricsFile.empty())
        return;

    TType1FontLight reader;
    try {
        reader.LoadFromFile(metricsFile);
    } catch (const std::exception& error) {
        reader.Item().SetFontKind(FontKind::Unreadable);
        NoteFailure(result, error);
    }
    result.Items.Add(reader.Item());
}

void AddPlaceholder(TFontReadRequest& request, TFontReadResult& result)
{
    const std::string extension = UpperCased(FileExtension(request.FirstFile));
    std::int32_t typeBits = 0;
    if (extension == ".TTF" || extension == ".TTC")
        typeBits = GdiTypeBits::TrueType;
    else if (extension == ".OTF")
        typeBits = GdiTypeBits::Device;
    else if (extension == ".FON")
        typeBits = GdiTypeBits::Raster;
    else if (extension == ".PFM") {
        typeBits = GdiTypeBits::Device;
        if (request.SecondFile.empty() && IsExistingFile(request.FirstFile))
            request.SecondFile = FindOutlineFile(request.FirstFile, false);
    } else
        return;
    result.Items.Add().SetGdiTypeBits(typeBits);
}

} // namespace

TFontReadResult ReadFontFileFaces(TFontReadRequest& request)
{
    TFontReadResult result;
    switch (request.KindHint) {
    case TFontKindHint::Unknown:
        if (!HasExtension(request.FirstFile, ".PFM")) {
            ReadSfntOrBitmap(request, result);
            if (result.Items.Empty())
                ReadType1(request, result);
        } else {
            ReadType1(request, result);
            if (result.Items.Empty())
                ReadSfntOrBitmap(request, result);
        }
        break;
    case TFontKindHint::SfntOrBitmap:
        ReadSfntOrBitmap(request, result);
        break;
    case TFontKindHint::Type1:
        ReadType1(request, result);
        break;
    }
    if (result.Items.Empty())
        AddPlaceholder(request, result);
    return result;
}

} // namespace fontfile
