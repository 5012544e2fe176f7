// TrueType collections: the header check, the load by file name, and the load through the
// read window that the read request uses.

#include "FuzzSupport.h"

#include "fontfile/BufferedFontStream.h"
#include "fontfile/TrueTypeCollection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool servicesReady = (qmfuzz::InstallTextServices(), true);
    static qmfuzz::TScratchFile file("fonts.ttc");
    (void)servicesReady;

    file.Write({data, size});
    fontfile::TTrueTypeCollection::IsValidFile(file.Path());
    qmfuzz::IgnoringFontErrors([&] {
        fontfile::TTrueTypeCollection collection;
        collection.LoadFromFile(file.Path());
    });
    qmfuzz::IgnoringFontErrors([&] {
        fontfile::TFileFontStream source(file.Path());
        fontfile::TBufferedFontStream stream(source);
        fontfile::TTrueTypeCollection collection;
        collection.LoadFromStream(stream);
    });
    return 0;
}
