// The table-list pass of the information panel over a single TrueType/OpenType file.

#include "FuzzSupport.h"

#include "fontfile/ExtendedFontInfo.h"
#include "fontfile/OpenTypeLight.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool servicesReady = (qmfuzz::InstallTextServices(), true);
    static qmfuzz::TScratchFile file("font.otf");
    (void)servicesReady;

    file.Write({data, size});
    qmfuzz::IgnoringFontErrors([&] {
        fontfile::TOpenTypeLight reader;
        fontfile::TExtendedFontInfoRecord record;
        reader.ReadTableList(file.Path(), record);
    });
    return 0;
}
