#include "PathStamps.h"

#include <QFile>

#include <sys/stat.h>

#include <ctime>

namespace platform {

namespace {

// A change this close to the moment of stamping may be followed by another with the same
// time stamp (file times advance in clock ticks of a few milliseconds).
constexpr long long kRecentNs = 1'000'000'000LL;

long long Nanoseconds(const timespec& time)
{
    return static_cast<long long>(time.tv_sec) * 1'000'000'000LL + time.tv_nsec;
}

long long Now()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now);
}

} // namespace

TPathStamps::TStamp TPathStamps::StampOf(const QByteArray& path)
{
    TStamp stamp;
    stamp.Path = path;
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return stamp;
    stamp.Exists = true;
    stamp.Device = info.st_dev;
    stamp.Inode = info.st_ino;
    stamp.Size = info.st_size;
    stamp.Modified = Nanoseconds(info.st_mtim);
    stamp.Changed = Nanoseconds(info.st_ctim);
    return stamp;
}

void TPathStamps::Add(const QByteArray& path)
{
    TStamp stamp = StampOf(path);
    if (stamp.Exists) {
        const long long now = Now();
        if (now - stamp.Modified < kRecentNs || now - stamp.Changed < kRecentNs)
            FRecentChange = true;
    }
    FStamps.push_back(std::move(stamp));
}

void TPathStamps::Add(const QString& path)
{
    Add(QFile::encodeName(path));
}

void TPathStamps::Clear()
{
    FStamps.clear();
    FRecentChange = false;
}

bool TPathStamps::Unchanged() const
{
    if (FRecentChange)
        return false;
    for (const TStamp& stamp : FStamps) {
        if (!(StampOf(stamp.Path) == stamp))
            return false;
    }
    return true;
}

} // namespace platform
