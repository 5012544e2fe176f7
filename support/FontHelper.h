#pragma once

// Font services of the shell: which styles of a face the desktop offers, the font registry
// key paths, the interface font, and opening the program's own documents.

#include <QFont>
#include <QString>

namespace support {

class TFontHelper {
public:
    TFontHelper() = delete;

    // True when the desktop has a face of that family (cut to the 31 characters a face name
    // can hold) whose weight is at least 700 exactly when bold is asked for and that is
    // italic (or oblique) exactly when italic is asked for. Asks fontconfig afresh each time,
    // so fonts installed since the start are seen. Errors answer false.
    static bool HasFontStyle(const QString& faceName, bool bold, bool italic);

    static QString FontsRegistryKeyPath();
    static QString Type1FontsRegistryKeyPath();

    // The name of the font for small interface texts: "Tahoma" when a regular face of it is
    // installed, else "MS Sans Serif".
    static QString SmallTextFontName();
    // The font every dialog takes. A fixed family at 8 points is a Windows habit; here it is
    // the desktop's own interface font, the one the Qt platform theme reports. Needs a
    // QGuiApplication; without one a default-constructed font.
    static QFont DefaultInterfaceFont();

    // Opens the program folder's file `relativeName` ("help/manual.html"; "\" is taken as a
    // folder separator too) with the desktop's handler for it. False when the file does not
    // exist, when there is no GUI application, or when the desktop refused it.
    static bool OpenProgramDocument(const QString& relativeName);
};

} // namespace support
