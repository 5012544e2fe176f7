// Windows font resource files (NE executables with a font directory): check and load.

#include "FuzzSupport.h"

#include "fontfile/FNTLight.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool servicesReady = (qmfuzz::InstallTextServices(), true);
    static qmfuzz::TScratchFile file("font.fon");
    (void)servicesReady;

    file.Write({data, size});
    fontfile::TFNTLight::IsValidFile(file.Path());
    qmfuzz::IgnoringFontErrors([&] {
        fontfile::TFNTLight reader;
        reader.LoadFromFile(file.Path());
        reader.Items().RemoveDuplicateFaces();
    });
    return 0;
}
