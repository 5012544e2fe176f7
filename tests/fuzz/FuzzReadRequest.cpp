// The read request as the catalogue makes it: a file of a chosen extension and a kind hint,
// with an outline file beside it so that the Type 1 branch can pair a metrics file.

#include "FuzzInputLayout.h"
#include "FuzzSupport.h"

#include "fontfile/FontFileFaces.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool servicesReady = (qmfuzz::InstallTextServices(), true);
    static std::unique_ptr<qmfuzz::TScratchFile> files[qmfuzz::kRequestExtensions.size()];
    static qmfuzz::TScratchFile outline("font.pfb");
    static const bool outlineWritten = (outline.Write({}), true);
    (void)servicesReady;
    (void)outlineWritten;

    const qmfuzz::TRequestInput input = qmfuzz::SplitRequestInput({data, size});
    auto& file = files[input.ExtensionIndex];
    if (!file)
        file = std::make_unique<qmfuzz::TScratchFile>("font" + std::string(qmfuzz::kRequestExtensions[input.ExtensionIndex]));
    file->Write(input.File);

    fontfile::TFontReadRequest request;
    request.FirstFile = file->Path();
    request.KindHint = static_cast<fontfile::TFontKindHint>(input.KindHint);
    qmfuzz::IgnoringFontErrors([&] { fontfile::ReadFontFileFaces(request); });
    return 0;
}
