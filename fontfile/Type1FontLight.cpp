#include "Type1FontLight.h"

#include "BufferedFontStream.h"
#include "ByteText.h"
#include "FileNames.h"
#include "PrinterFontMetrics.h"

#include <algorithm>
#include <exception>

namespace fontfile {

bool TType1FontLight::IsValidPair(const std::string& metricsFile, const std::string& outlineFile)
{
    try {
        TFileFontStream stream(metricsFile);
        if (stream.Size() < kPfmHeaderSize + kPfmExtensionSize)
            return false;
        const TPfmHeader header = ReadPfmHeader(stream);
        // Only a file that says it is metrics gets past a foreign extension.
        if (!HasExtension(metricsFile, ".PFM")
            && ((header.Version & 0x100) == 0 || header.Size != stream.Size()))
            return false;
        if (header.Type != kPfmPostScriptType)
            return false;
        return IsExistingFile(outlineFile);
    } catch (const std::exception&) {
        return false;
    }
}

void TType1FontLight::LoadFromFile(const std::string& metricsFile)
{
    TFileFontStream file(metricsFile);
    TBufferedFontStream stream(file, TBufferedFontStream::kLightReadWindowSize);
    const TPfmHeader header = ReadPfmHeader(stream);

    FItem.SetGdiTypeBits(GdiTypeBits::Device);
    FItem.SetFontKind(FontKind::PostScriptType1);
    if (header.FaceOffset > kPfmHeaderSize) {
        stream.Seek(header.FaceOffset);
        const std::u16string faceName = AnsiToWide(ReadZeroTerminated(stream, kPfmMaxNameLength));
        stream.Seek(header.DriverInfoOffset);
        const std::u16string postScriptName = AnsiToWide(ReadZeroTerminated(stream, kPfmMaxNameLength));

        std::u16string registryName = postScriptName;
        std::replace(registryName.begin(), registryName.end(), u'-', u' ');
        FItem.SetFamilyName(faceName);
        FItem.SetRegistryName(registryName);
        FItem.SetFaceFullName(postScriptName);
    }
    FItem.SetWeightClass(header.Weight);
    FItem.SetItalic(header.Italic != 0);
    FItem.ApplyDerivedStyle();
}

void TType1FontLight::ReadExtendedInfo(const std::string& metricsFile, TExtendedFontInfoRecord& record)
{
    TFileFontStream stream(metricsFile);
    const TPfmHeader header = ReadPfmHeader(stream);
    if (header.FaceOffset <= kPfmHeaderSize)
        return;
    record.KerningPairs = ReadPfmKernPairs(stream, header.ExtMetricsOffset);
    record.CopyrightNotice = AnsiToWide(header.Copyright);
}

} // namespace fontfile
