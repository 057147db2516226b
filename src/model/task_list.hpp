#pragma once

#include "model/caseless.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// The order of the task list (and of every list that sorts itself): whole
/// texts, caseless, ordinal. Because times are zero-padded whole hours, task
/// entries sort by hour, then by action name, then by options.
inline bool entryLess(std::string_view a, std::string_view b)
{
    return caselessLess(a, b);
}

/// The index at which `entry` is inserted into a list of `count` sorted texts
/// read through `textAt(i)`: after every text that does not sort after it, so
/// that equal texts keep the order in which they were added.
template<class TextAt>
std::size_t insertPosition(std::size_t count, TextAt &&textAt, std::string_view entry)
{
    std::size_t lo = 0, hi = count;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (entryLess(entry, textAt(mid)))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

inline std::size_t insertPosition(const std::vector<std::string> &list, std::string_view entry)
{
    return insertPosition(
        list.size(), [&](std::size_t i) -> std::string_view { return list[i]; }, entry);
}

/// Inserts `entry` into the sorted `list` at its place; returns the index.
std::size_t insertSorted(std::vector<std::string> &list, std::string entry);

/// Sorts `entries` into the task list's order (entryLess), equal entries in
/// the order given: the order that adding them one by one gives. Each entry is
/// folded once (caselessKey), so a long list sorts in a fraction of the time
/// that comparing with entryLess takes.
void sortEntries(std::vector<std::string> &entries);

} // namespace hw
