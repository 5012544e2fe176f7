#include "WarningCollector.h"

namespace fontfile {

TWarningCollector& TWarningCollector::Instance()
{
    static TWarningCollector collector;
    return collector;
}

void TWarningCollector::Add(std::string warning)
{
    const std::lock_guard guard(FLock);
    FWarnings.push_back(std::move(warning));
    if (FWarnings.size() > kMaxKeptWarnings)
        FWarnings.pop_front();
    ++FTotal;
}

std::uint64_t TWarningCollector::TotalCount() const
{
    const std::lock_guard guard(FLock);
    return FTotal;
}

std::vector<std::string> TWarningCollector::Since(std::uint64_t total) const
{
    const std::lock_guard guard(FLock);
    const std::uint64_t firstKept = FTotal - FWarnings.size();
    const std::uint64_t from = total > firstKept ? total - firstKept : 0;
    std::vector<std::string> result;
    for (std::uint64_t i = from; i < FWarnings.size(); ++i)
        result.push_back(FWarnings[static_cast<std::size_t>(i)]);
    return result;
}

std::vector<std::string> TWarningCollector::Snapshot() const
{
    const std::lock_guard guard(FLock);
    return {FWarnings.begin(), FWarnings.end()};
}

void AddWarning(std::string warning)
{
    TWarningCollector::Instance().Add(std::move(warning));
}

} // namespace fontfile
