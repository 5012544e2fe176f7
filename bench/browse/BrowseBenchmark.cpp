// browse: the folder scan of the Browse tab over one folder: the time until the first added
// batch reaches the main thread (the first rows), the whole scan, an incremental rescan of the
// unchanged folder, and the peak resident set. Prints milliseconds.
//
//   browse [--recursive] [--rounds N] FOLDER

#include "catalogue/BrowseFontsThreadUnit.h"
#include "catalogue/FontFileList.h"
#include "support/ProgramServices.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct TRun {
    qint64 FirstBatchMs = -1;
    qint64 TotalMs = 0;
    int Faces = 0;
    int Batches = 0;
};

TRun Scan(catalogue::TFontFileList& files, const QString& folder, bool recursive, bool fresh)
{
    TRun run;
    catalogue::TBrowseFontsThread thread(files, recursive, folder);
    thread.SetFreeOnTerminate(false);
    if (fresh)
        thread.Forget();
    QEventLoop loop;
    QElapsedTimer clock;
    thread.OnAdded = [&](catalogue::TFontItems& items, bool&, catalogue::TBaseFontsThreadEx&) {
        if (run.FirstBatchMs < 0)
            run.FirstBatchMs = clock.elapsed();
        run.Faces += static_cast<int>(items.size());
        ++run.Batches;
    };
    thread.OnFinished = [&](catalogue::TBaseFontsThreadEx&, bool) { loop.quit(); };
    clock.start();
    thread.Resume();
    loop.exec();
    thread.wait();
    run.TotalMs = clock.elapsed();
    return run;
}

qint64 Median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

long PeakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const support::TProgramServices services(QStringLiteral("browse"));
    bool recursive = false;
    int rounds = 3;
    QString folder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--recursive") == 0)
            recursive = true;
        else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else
            folder = QString::fromLocal8Bit(argv[i]);
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: browse [--recursive] [--rounds N] FOLDER\n");
        return 2;
    }

    std::vector<qint64> first, total, incremental;
    TRun last;
    int files = 0;
    const long startKb = PeakResidentKb();
    for (int i = 0; i < rounds; ++i) {
        catalogue::TFontFileList list;
        last = Scan(list, folder, recursive, true);
        first.push_back(last.FirstBatchMs);
        total.push_back(last.TotalMs);
        files = list.Count();
        incremental.push_back(Scan(list, folder, recursive, false).TotalMs);
    }
    std::printf("files with faces %d, faces %d, added batches %d (last round)\n", files, last.Faces, last.Batches);
    std::printf("first batch  %6lld ms (median of %d)\n", static_cast<long long>(Median(first)), rounds);
    std::printf("whole scan   %6lld ms\n", static_cast<long long>(Median(total)));
    std::printf("rescan       %6lld ms (nothing changed)\n", static_cast<long long>(Median(incremental)));
    std::printf("peak RSS     %6ld KB (at start %ld KB)\n", PeakResidentKb(), startKb);
    return 0;
}
