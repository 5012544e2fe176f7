#include "BrowseTestFolders.h"

#include "IsolatedEnvironment.h"
#include "LegacyFontBuilder.h"
#include "ReaderFixtures.h"

#include "platform/IcuTextServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace browsetest {

namespace {

std::u16string Wide(const std::string& text)
{
    return QString::fromStdString(text).toStdU16String();
}

sfnttest::TSfntBuilder Face(const std::string& family, const std::string& style)
{
    qmtest::TFaceNames names;
    names.Family = Wide(family);
    names.Style = Wide(style);
    names.Full = Wide(family + " " + style);
    QString postScript = QString::fromStdString(family + "-" + style);
    postScript.remove(QLatin1Char(' '));
    names.PostScript = postScript.toStdU16String();
    // The tables of qmtest::StandardFont with these names.
    sfnttest::TSfntBuilder font;
    font.Table("head", sfnttest::THeadFields{}.Build());
    font.Table("hhea", sfnttest::TByteVector(36, 0));
    font.Table("maxp", sfnttest::TByteVector(6, 0));
    font.Table("name", qmtest::NameTable(names));
    font.Table("OS/2", sfnttest::TOS2Fields{}.Build());
    font.Table("post", sfnttest::TByteVector(32, 0));
    return font;
}

void Write(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    WriteBytes(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

QStringList NamesOf(const std::vector<TReportedFace>& faces)
{
    QStringList names;
    for (const TReportedFace& face : faces)
        names << face.FullName;
    return names;
}

} // namespace

void UseProgramTextServices()
{
    static const platform::TIcuTextServices services("C");
    fontfile::SetTextServices(&services);
}

QString FreshFolder(const QString& name)
{
    const QString folder =
        QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + QStringLiteral("/") + name;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void WriteTrueType(const QString& path, const std::string& family, const std::string& style)
{
    Write(path, Face(family, style).Build());
}

void WriteCollection(const QString& path, const std::string& family)
{
    sfnttest::TCollectionBuilder collection;
    collection.Member(Face(family, "Regular")).Member(Face(family, "Bold")).MinimumSize(200);
    Write(path, collection.Build());
}

void WritePfm(const QString& path, const std::string& face)
{
    qmtest::TPfmFields fields;
    fields.FaceName = face;
    QString postScript = QString::fromStdString(face);
    postScript.remove(QLatin1Char(' '));
    fields.PostScriptName = postScript.toStdString();
    Write(path, qmtest::BuildPfm(fields));
}

void WritePfb(const QString& path)
{
    Write(path, {0x80, 0x01, 0x00, 0x00, 0x00, 0x00});
}

QStringList TScanResult::AddedNames() const
{
    return NamesOf(Added);
}

QStringList TScanResult::RemovedNames() const
{
    return NamesOf(Removed);
}

TScanResult RunScan(catalogue::TFontFileList& fileList, const QString& folder, bool includeSubFolders, bool forget,
                    bool terminateOnFirstBatch)
{
    using namespace catalogue;
    UseProgramTextServices();
    TScanResult result;
    auto thread = std::make_unique<TBrowseFontsThread>(fileList, includeSubFolders, folder);
    thread->SetFreeOnTerminate(false);
    if (forget)
        thread->Forget();
    const auto recorder = [&](std::vector<TReportedFace> TScanResult::*list) {
        return [&, list](TFontItems& items, bool&, TBaseFontsThreadEx& sender) {
            ++result.Batches;
            for (const auto& item : items)
                (result.*list).push_back({result.Batches, item->FullName(), item->FontFile(), item->SecondFile(),
                                          item->ViaShortcut(), item->ShortcutPath()});
            if (terminateOnFirstBatch)
                sender.Terminate();
        };
    };
    thread->OnAdded = recorder(&TScanResult::Added);
    thread->OnRemoved = recorder(&TScanResult::Removed);
    thread->OnChanged = [&](TFontItems&, bool&, TBaseFontsThreadEx&) { ++result.Batches; };
    thread->OnFinished = [&](TBaseFontsThreadEx&, bool completed) {
        result.Finished = true;
        result.Completed = completed;
    };
    thread->Resume();
    while (!thread->isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    thread->wait();
    return result;
}

} // namespace browsetest
