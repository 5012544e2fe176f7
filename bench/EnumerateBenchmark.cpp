// enumerate: a full and an incremental enumeration of the active fonts beside fc-list, which
// lists the same fontconfig configuration and is the floor. Prints milliseconds and ratios.
//
//   enumerate [ROUNDS]

#include "catalogue/ActiveFontsThreadExUnit.h"
#include "catalogue/FontFileList.h"
#include "settings/WideRegistry.h"
#include "support/FontHelper.h"
#include "support/ProgramServices.h"
#include "support/Win32ApiWide.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct TRun {
    qint64 Us = 0;
    int Faces = 0;
};

TRun Enumerate(bool full)
{
    TRun run;
    catalogue::TActiveFontsThreadEx thread;
    thread.SetFreeOnTerminate(false);
    if (full)
        thread.ForgetPreviousEnumeration();
    QEventLoop loop;
    const auto count = [&](catalogue::TFontItems& items, bool&, catalogue::TBaseFontsThreadEx&) {
        run.Faces += static_cast<int>(items.size());
    };
    thread.OnAdded = count;
    thread.OnChanged = count;
    thread.OnFinished = [&](catalogue::TBaseFontsThreadEx&, bool) { loop.quit(); };
    QElapsedTimer clock;
    clock.start();
    thread.Resume();
    loop.exec();
    thread.wait();
    run.Us = clock.nsecsElapsed() / 1000;
    return run;
}

qint64 FcList()
{
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.start(QStringLiteral("fc-list"), {QStringLiteral(":"), QStringLiteral("family"), QStringLiteral("style"),
                                              QStringLiteral("fullname"), QStringLiteral("file")});
    process.waitForFinished(-1);
    process.readAllStandardOutput();
    return clock.nsecsElapsed() / 1000;
}

// The files of the installed-font view, listed as the enumeration lists them.
struct TRegisteredFiles {
    catalogue::TFontFileList List;
    std::vector<catalogue::TFontFileItem*> Items;  // in List

    void Add(const QString& file, const QString& secondFile, std::uint8_t hint)
    {
        if (!file.isEmpty() && !List.Contains(file))
            Items.push_back(&List.Add(file, secondFile, hint));
    }
};

void ListRegisteredFiles(TRegisteredFiles& files)
{
    const QString fontsFolder = support::GetSpecialFolderWide(support::CSIDL_FONTS);
    const auto withFolder = [&](const QString& file) {
        return file.contains(QLatin1Char('/')) ? file : fontsFolder + file;
    };
    settings::TWideRegistry registry;
    registry.SetRootKey(settings::HKEY_LOCAL_MACHINE);
    if (registry.OpenKey(support::TFontHelper::FontsRegistryKeyPath(), false)) {
        QStringList names;
        registry.GetValueNamesW(names);
        for (const QString& name : names) {
            const QString data = registry.ReadStringW(name);
            if (!data.isEmpty())
                files.Add(withFolder(data), {}, catalogue::FileTypeHint::SfntOrBitmap);
        }
        registry.CloseKey();
    }
    if (registry.OpenKey(support::TFontHelper::Type1FontsRegistryKeyPath(), false)) {
        QStringList names;
        registry.GetValueNamesW(names);
        for (const QString& name : names) {
            QStringList strings;
            registry.ReadMultiStringW(name, strings);
            if (strings.size() >= 3)
                files.Add(withFolder(strings.at(1)), withFolder(strings.at(2)), catalogue::FileTypeHint::Type1Pair);
        }
        registry.CloseKey();
    }
}

struct TRegisteredRun {
    qint64 ListingUs = 0;  // the installed-font view's listing, which every run pays
    qint64 ReadingUs = 0;  // what a full run spends on reading the registered files
    int Files = 0;
};

// Lists the registered files and reads each through the read request.
TRegisteredRun ReadRegisteredFiles()
{
    TRegisteredRun run;
    QElapsedTimer clock;
    clock.start();
    TRegisteredFiles files;
    ListRegisteredFiles(files);
    run.ListingUs = clock.nsecsElapsed() / 1000;
    clock.restart();
    for (catalogue::TFontFileItem* item : files.Items)
        item->ReadFaces();
    run.ReadingUs = clock.nsecsElapsed() / 1000;
    run.Files = static_cast<int>(files.Items.size());
    return run;
}

qint64 Median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

double Ms(qint64 us)
{
    return static_cast<double>(us) / 1000.0;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const support::TProgramServices services(QStringLiteral("enumerate"));
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    // The program's first enumeration: the font folders and the installed-font view are
    // listed for the first time in this process.
    const TRun first = Enumerate(true);

    std::vector<qint64> fcList, full, incremental, reading, listing;
    int faces = 0;
    int registeredFiles = 0;
    for (int i = 0; i < rounds; ++i) {
        fcList.push_back(FcList());
        const TRegisteredRun read = ReadRegisteredFiles();
        reading.push_back(read.ReadingUs);
        listing.push_back(read.ListingUs);
        registeredFiles = read.Files;
        const TRun fullRun = Enumerate(true);
        full.push_back(fullRun.Us);
        faces = fullRun.Faces;
        incremental.push_back(Enumerate(false).Us);
    }
    const double floor = static_cast<double>(std::max<qint64>(1, Median(fcList)));
    std::printf("faces handed over by a full run: %d\n", faces);
    std::printf("fc-list        %7.1f ms\n", Ms(Median(fcList)));
    std::printf("listing the %d registered files %.1f ms, reading them %.1f ms\n", registeredFiles,
                Ms(Median(listing)), Ms(Median(reading)));
    std::printf("first full     %7.1f ms  %.2f x fc-list (the process's first listing of the folders)\n",
                Ms(first.Us), static_cast<double>(first.Us) / floor);
    std::printf("full           %7.1f ms  %.2f x fc-list; goal 3 x fc-list + reading: %.1f ms\n", Ms(Median(full)),
                static_cast<double>(Median(full)) / floor, Ms(3 * Median(fcList) + Median(reading)));
    std::printf("incremental    %7.1f ms  %.2f x fc-list\n", Ms(Median(incremental)),
                static_cast<double>(Median(incremental)) / floor);
    return 0;
}
