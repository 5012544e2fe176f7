#include "CatalogueTestFonts.h"

#include "IsolatedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace cataloguetest {

QString DejaVuSans() { return QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"); }
QString DejaVuSansBold() { return QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"); }
QString DejaVuSansMono() { return QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"); }
QString Collection() { return QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"); }
QString CffOpenType() { return QStringLiteral("/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf"); }

QString ScratchCopy(const QString& file, const QString& subfolder)
{
    const QString folder = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + QLatin1Char('/') + subfolder;
    QDir().mkpath(folder);
    const QString copy = folder + QLatin1Char('/') + QFileInfo(file).fileName();
    QFile::remove(copy);
    return QFile::copy(file, copy) ? copy : QString();
}

QString DamagedFont(const QString& name)
{
    const QString folder = QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + QStringLiteral("/damaged");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    // An SFNT header that promises tables the file does not have.
    QByteArray bytes = QByteArray::fromHex("00010000000A008000030020");
    bytes.append(QByteArray(600, '\x5A'));
    file.write(bytes);
    return path;
}

int OpenDescriptorCount()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

std::unique_ptr<catalogue::TFontItem> BrowseItem(const QString& family, const QString& file, int gdiTypeBits,
                                                 int kind, int weight)
{
    auto item = std::make_unique<catalogue::TFontItem>(family, false);
    item->SetFontFile(file);
    item->SetGdiTypeBits(gdiTypeBits);
    item->SetFontKind(static_cast<std::uint8_t>(kind));
    item->SetWeight(weight);
    item->SetStyleName(QStringLiteral("Regular"));
    return item;
}

} // namespace cataloguetest
