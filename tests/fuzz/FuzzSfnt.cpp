// A single TrueType/OpenType file: the validity check (lenient under ".ttf", strict under any
// other name) and the load of its face, which also runs when the check would refuse the file.

#include "FuzzSupport.h"

#include "fontfile/OpenTypeLight.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool servicesReady = (qmfuzz::InstallTextServices(), true);
    static qmfuzz::TScratchFile file("font.ttf");
    static const std::string strictName = file.AddLink("font.dat");
    (void)servicesReady;

    file.Write({data, size});
    fontfile::TOpenTypeLight::IsValidFile(file.Path());
    fontfile::TOpenTypeLight::IsValidFile(strictName);
    qmfuzz::IgnoringFontErrors([&] {
        fontfile::TOpenTypeLight reader;
        reader.LoadFromFile(file.Path());
    });
    return 0;
}
