// Type 1 fonts: the pair check of a metrics file and its outline file (under ".pfm" and,
// strict, under another name), the load and the extended read of the metrics file, and the
// clear-text header of the outline file.

#include "FuzzInputLayout.h"
#include "FuzzSupport.h"

#include "fontfile/ExtendedFontInfo.h"
#include "fontfile/Type1FontLight.h"
#include "fontfile/Type1OutlineHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool servicesReady = (qmfuzz::InstallTextServices(), true);
    static qmfuzz::TScratchFile metrics("font.pfm");
    static qmfuzz::TScratchFile outline("font.pfb");
    static const std::string strictName = metrics.AddLink("font.met");
    (void)servicesReady;

    const qmfuzz::TType1Parts parts = qmfuzz::SplitType1Input({data, size});
    metrics.Write(parts.Metrics);
    if (parts.Outline.empty())
        outline.Remove();
    else
        outline.Write(parts.Outline);

    const auto* outlineBytes = reinterpret_cast<const std::byte*>(parts.Outline.data());
    (void)fontfile::ReadType1OutlineHeader(std::span<const std::byte>(outlineBytes, parts.Outline.size()));
    fontfile::TType1FontLight::IsValidPair(metrics.Path(), outline.Path());
    fontfile::TType1FontLight::IsValidPair(strictName, outline.Path());
    qmfuzz::IgnoringFontErrors([&] {
        fontfile::TType1FontLight reader;
        reader.LoadFromFile(metrics.Path());
    });
    qmfuzz::IgnoringFontErrors([&] {
        fontfile::TType1FontLight reader;
        fontfile::TExtendedFontInfoRecord record;
        reader.ReadExtendedInfo(metrics.Path(), record);
    });
    return 0;
}
