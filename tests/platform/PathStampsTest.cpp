// Stamps of files and folders: every kind of change a reader of them must notice, and the
// rule that a path changed just before it was stamped never counts as unchanged.

#include "IsolatedEnvironment.h"

#include "platform/PathStamps.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

using platform::TPathStamps;

QString Root()
{
    return QString::fromStdString(qmtest::IsolatedEnvironment::Global().Scratch()) + QStringLiteral("/stamps");
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

struct TChangeCase {
    const char* Name;
    std::function<void(const QString& folder)> Prepare;  // before the paths are stamped
    QStringList Stamped;                                  // relative to the case's folder
    std::function<void(const QString& folder)> Change;   // after; none: nothing changes
};

TEST(PathStamps, EveryChangeOfAStampedPathIsSeen)
{
    const auto noChange = std::function<void(const QString&)>();
    const std::vector<TChangeCase> cases = {
        {"nothing changes", [](const QString& f) { Write(f + "/a.ttf", "font"); }, {".", "a.ttf"}, noChange},
        {"a file written in place, same size", [](const QString& f) { Write(f + "/a.ttf", "font"); }, {"a.ttf"},
         [](const QString& f) { Write(f + "/a.ttf", "FONT"); }},
        {"an entry added to a folder", [](const QString&) {}, {"."},
         [](const QString& f) { Write(f + "/new.ttf", "font"); }},
        {"an entry removed", [](const QString& f) { Write(f + "/a.ttf", "font"); }, {"."},
         [](const QString& f) { QFile::remove(f + "/a.ttf"); }},
        {"an entry renamed", [](const QString& f) { Write(f + "/a.ttf", "font"); }, {"."},
         [](const QString& f) { QFile::rename(f + "/a.ttf", f + "/b.ttf"); }},
        {"a link pointed elsewhere",
         [](const QString& f) {
             Write(f + "/one.ttf", "one");
             Write(f + "/two.ttf", "two!");
             QFile::link(f + "/one.ttf", f + "/link.ttf");
         },
         {"link.ttf"},
         [](const QString& f) {
             QFile::remove(f + "/link.ttf");
             QFile::link(f + "/two.ttf", f + "/link.ttf");
         }},
        {"the file of a link removed",
         [](const QString& f) {
             QDir().mkpath(f + "/elsewhere");
             Write(f + "/elsewhere/one.ttf", "one");
             QFile::link(f + "/elsewhere/one.ttf", f + "/link.ttf");
         },
         {"link.ttf"}, [](const QString& f) { QFile::remove(f + "/elsewhere/one.ttf"); }},
        {"a missing path created", [](const QString&) {}, {"later.conf"},
         [](const QString& f) { Write(f + "/later.conf", "<fontconfig/>"); }},
    };

    QDir(Root()).removeRecursively();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const QString folder = Root() + QStringLiteral("/%1").arg(i);
        QDir().mkpath(folder);
        cases[i].Prepare(folder);
    }
    // Stamped at once, the fresh paths are too recent to be trusted.
    TPathStamps recent;
    recent.Add(Root() + QStringLiteral("/0"));
    EXPECT_FALSE(recent.Unchanged());

    // File times advance in clock ticks; older than a second, a change is sure to show.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    std::vector<TPathStamps> stamps(cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        for (const QString& path : cases[i].Stamped)
            stamps[i].Add(QDir::cleanPath(Root() + QStringLiteral("/%1/").arg(i) + path));
        EXPECT_TRUE(stamps[i].Unchanged()) << cases[i].Name;
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        if (cases[i].Change)
            cases[i].Change(Root() + QStringLiteral("/%1").arg(i));
    }
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(stamps[i].Unchanged(), !cases[i].Change) << cases[i].Name;
}

} // namespace
