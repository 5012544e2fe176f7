// enumerate: a full and an incremental enumeration of the active fonts beside fc-list, which
// lists the same fontconfig configuration and is the floor. Prints milliseconds and ratios.
//
//   enumerate [ROUNDS]

#include "catalogue/ActiveFontsThreadExUnit.h"
#include "support/ProgramServices.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct TRun {
    qint64 Ms = 0;
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
    run.Ms = clock.elapsed();
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
    return clock.elapsed();
}

qint64 Median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const support::TProgramServices services(QStringLiteral("enumerate"));
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    std::vector<qint64> fcList, full, incremental;
    int faces = 0;
    for (int i = 0; i < rounds; ++i) {
        fcList.push_back(FcList());
        const TRun fullRun = Enumerate(true);
        full.push_back(fullRun.Ms);
        faces = fullRun.Faces;
        incremental.push_back(Enumerate(false).Ms);
    }
    const double floor = std::max<qint64>(1, Median(fcList));
    std::printf("faces handed over by a full run: %d\n", faces);
    std::printf("fc-list      %6lld ms\n", static_cast<long long>(Median(fcList)));
    std::printf("full         %6lld ms  %.2f x fc-list\n", static_cast<long long>(Median(full)), Median(full) / floor);
    std::printf("incremental  %6lld ms  %.2f x fc-list\n", static_cast<long long>(Median(incremental)),
                Median(incremental) / floor);
    return 0;
}
