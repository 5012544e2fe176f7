#pragma once

// The process-wide services that the program and quillmark-cli both set up before any font is
// read, and take down in reverse order: the text and locale services of the font library, its
// log lines, the background freeing thread for file streams, the two logs and the installed-font view.

#include "platform/IcuTextServices.h"
#include "support/FreeThread.h"

#include <QString>

namespace support {

class TProgramServices {
public:
    // Starts logging into the program's log folder with "<applicationTitle> started.".
    explicit TProgramServices(const QString& applicationTitle);
    ~TProgramServices();
    TProgramServices(const TProgramServices&) = delete;
    TProgramServices& operator=(const TProgramServices&) = delete;

private:
    platform::TIcuTextServices FTextServices;
    TFreeThreadScope FFreeThread;
};

} // namespace support
