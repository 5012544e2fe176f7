#pragma once

// Positions of small keys in a list kept in insertion order. Real name tables hold a dozen
// keys per list, found fastest by a linear search; hostile ones may hold thousands, so past
// a few dozen the index switches to a map.

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

namespace fontfile {

template <class Key>
class TKeyIndex {
public:
    static constexpr std::size_t kLinearLimit = 32;

    std::optional<std::size_t> Find(Key key) const
    {
        if (!FMap.empty()) {
            const auto found = FMap.find(key);
            return found == FMap.end() ? std::nullopt : std::optional<std::size_t>(found->second);
        }
        for (std::size_t i = 0; i < FKeys.size(); ++i)
            if (FKeys[i] == key)
                return i;
        return std::nullopt;
    }

    // Appends a key that Find does not know; its position is the number of keys before it.
    void Append(Key key)
    {
        FKeys.push_back(key);
        if (!FMap.empty())
            FMap.emplace(key, FKeys.size() - 1);
        else if (FKeys.size() > kLinearLimit)
            for (std::size_t i = 0; i < FKeys.size(); ++i)
                FMap.emplace(FKeys[i], i);
    }

    // Room for count keys in all (only the linear part ever holds them unindexed).
    void Reserve(std::size_t count) { FKeys.reserve(count); }

    void Clear()
    {
        FKeys.clear();
        FMap.clear();
    }

private:
    std::vector<Key> FKeys;
    std::map<Key, std::size_t> FMap;
};

} // namespace fontfile
