#pragma once

// The process-wide list of tolerable irregularities met while reading font files. Table
// readers append to it instead of failing; any thread may append at once.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace fontfile {

class TWarningCollector {
public:
    // A long session reads many damaged files; only the newest warnings are kept so that the
    // list cannot grow without bound.
    static constexpr std::size_t kMaxKeptWarnings = 10000;

    static TWarningCollector& Instance();

    void Add(std::string warning);

    // Number of warnings ever added (also those no longer kept).
    std::uint64_t TotalCount() const;
    // The kept warnings added after the first `total` ones, oldest first.
    std::vector<std::string> Since(std::uint64_t total) const;
    std::vector<std::string> Snapshot() const;

    TWarningCollector(const TWarningCollector&) = delete;
    TWarningCollector& operator=(const TWarningCollector&) = delete;

private:
    TWarningCollector() = default;

    mutable std::mutex FLock;
    std::deque<std::string> FWarnings;
    std::uint64_t FTotal = 0;
};

// Shorthand for the table readers.
void AddWarning(std::string warning);

} // namespace fontfile
