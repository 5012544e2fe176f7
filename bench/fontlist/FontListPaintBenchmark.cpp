// fontlist-paint: one screenful of preview rows painted, page after page, through a list of
// faces made from the installed font files (offscreen). Prints the median and the worst
// frame, the same for a second paint of each screen, and the peak resident set.
//
//   fontlist-paint [--faces N] [--rows-per-screen N] [--size INDEX] [FOLDER...]
//
// FOLDER defaults to /usr/share/fonts; the .ttf, .otf and .ttc files found there are used
// in turn until there are N faces (default 5000), one family per face. Each face gets a file
// name of its own (a symbolic link in a temporary folder), so that no two faces share a load
// of their file, as faces of a folder of distinct files do not; --shared-files uses the files
// themselves instead.

#include "app/FontListModel.h"
#include "app/FontListPreviewTexts.h"
#include "app/FontListView.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/FontItem.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct TOptions {
    int Faces = 5000;
    int RowsPerScreen = 30;
    int SizeIndex = 2;
    bool SharedFiles = false;
    QStringList Folders;
};

TOptions ParseOptions(const QStringList& arguments)
{
    TOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--faces") && i + 1 < arguments.size())
            options.Faces = std::max(1, arguments[++i].toInt());
        else if (argument == QLatin1String("--rows-per-screen") && i + 1 < arguments.size())
            options.RowsPerScreen = std::max(1, arguments[++i].toInt());
        else if (argument == QLatin1String("--shared-files"))
            options.SharedFiles = true;
        else if (argument == QLatin1String("--size") && i + 1 < arguments.size())
            options.SizeIndex = arguments[++i].toInt();
        else
            options.Folders << argument;
    }
    if (options.Folders.isEmpty())
        options.Folders << QStringLiteral("/usr/share/fonts");
    return options;
}

QStringList FontFiles(const QStringList& folders)
{
    QStringList files;
    for (const QString& folder : folders) {
        QDirIterator it(folder, {QStringLiteral("*.ttf"), QStringLiteral("*.otf"), QStringLiteral("*.ttc")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    files.sort();
    return files;
}

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    const TOptions options = ParseOptions(QCoreApplication::arguments());
    const QStringList files = FontFiles(options.Folders);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no font files in %s\n", qPrintable(options.Folders.join(QLatin1Char(' '))));
        return 1;
    }

    QTemporaryDir links;
    if (!options.SharedFiles && !links.isValid()) {
        std::fprintf(stderr, "no temporary folder for the links\n");
        return 1;
    }
    // Faces as a folder scan reports them: a file each, no details read yet.
    catalogue::TFontFamilyList families;
    for (int i = 0; i < options.Faces; ++i) {
        QString file = files[i % files.size()];
        if (!options.SharedFiles) {
            const QString link = links.filePath(QStringLiteral("%1-%2").arg(i).arg(QFileInfo(file).fileName()));
            QFile::link(file, link);
            file = link;
        }
        auto face = std::make_unique<catalogue::TFontItem>(
            QStringLiteral("Face %1 %2").arg(i, 5, 10, QLatin1Char('0')).arg(QFileInfo(file).completeBaseName()), false);
        face->SetFontFile(file);
        face->SetFullName(face->FamilyName());
        face->SetStyleName(QStringLiteral("Regular"));
        face->SetWeight(400);
        face->SetGdiTypeBits(4);
        face->SetFontKind(file.endsWith(QLatin1String(".otf")) ? 7 : 5);
        families.AddItem(std::move(face));
    }

    app::TFontListPreviewTexts texts;
    app::TFontListView view(QStringLiteral("vstBenchmark"), nullptr);
    view.SetPreviewTexts(&texts);
    view.SetPreviewSizeIndex(options.SizeIndex);
    QElapsedTimer fill;
    fill.start();
    view.Model().BeginUpdate();
    for (int family = 0; family < families.Count(); ++family)
        for (catalogue::TFontItem* face : families.Family(family)->Items())
            view.Model().AddRow(face);
    view.Model().EndUpdate();
    const double fillMs = fill.nsecsElapsed() / 1e6;

    const int rowHeight = view.RowHeight();
    view.resize(900, view.header()->height() + options.RowsPerScreen * rowHeight + 2 * view.frameWidth());
    // Not shown: every paint is one this program times, none happens behind its back.
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.ensurePolished();
    view.doItemsLayout();

    QImage frame(view.viewport()->size(), QImage::Format_RGB32);
    std::vector<double> frames;
    std::vector<double> repaints;
    QScrollBar* scroll = view.verticalScrollBar();
    const int pages = (view.Model().rowCount() + options.RowsPerScreen - 1) / options.RowsPerScreen;
    for (int page = 0; page < pages; ++page) {
        scroll->setValue(page * options.RowsPerScreen);
        const auto paint = [&] {
            QElapsedTimer clock;
            clock.start();
            QPainter painter(&frame);
            view.viewport()->render(&painter);
            painter.end();
            return clock.nsecsElapsed() / 1e6;
        };
        frames.push_back(paint());
        // The same screen again: its faces are loaded already.
        repaints.push_back(paint());
    }

    std::printf("faces %d from %lld font files (%s), %d rows of %d px per screen, preview size index %d\n",
                view.Model().rowCount(), static_cast<long long>(files.size()),
                options.SharedFiles ? "shared by the faces" : "a link per face", options.RowsPerScreen, rowHeight,
                options.SizeIndex);
    std::printf("rows added and sorted in %.1f ms\n", fillMs);
    std::printf("screens painted %zu: median %.2f ms, worst %.2f ms, first %.2f ms\n", frames.size(), Median(frames),
                frames.empty() ? 0.0 : *std::max_element(frames.begin(), frames.end()),
                frames.empty() ? 0.0 : frames.front());
    std::printf("the same screens again: median %.2f ms, worst %.2f ms\n", Median(repaints),
                repaints.empty() ? 0.0 : *std::max_element(repaints.begin(), repaints.end()));
    std::printf("peak RSS: %ld KB\n", PeakRssKb());
    return 0;
}
