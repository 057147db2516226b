#pragma once

#include "model/caseless.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

// The NPC ids of the name box, kept in the caseless order of every list that
// sorts itself (`caselessLess`), so that the ids beginning with a typed text
// stand together and can be found by binary search.

/// Sorts `names` in caseless order; equal names keep their order.
void sortNames(std::vector<std::string> &names);

/// Merges the names from index `tail` on into the names before it, both parts
/// sorted in caseless order, in one pass. Of equal names, those of the front
/// part come first, so a batch appended and merged keeps the order of adding.
void mergeTail(std::vector<std::string> &names, std::size_t tail);

/// The index of the first of the sorted `names` that begins with `prefix`,
/// letter case ignored and every other character taken as itself
/// (`caselessStartsWith`), or names.size() when none does. O(log n).
std::size_t firstStartingWith(const std::vector<std::string> &names, std::string_view prefix);

/// How many of the sorted `names` from index `first` on begin with `prefix`,
/// where `first` is the first one that does (firstStartingWith): such names
/// stand together. O(log n). `Names` is any sorted list of texts with size()
/// and [].
template<class Names>
std::size_t countStartingWith(const Names &names, std::size_t first, std::string_view prefix)
{
    std::size_t low = first, high = names.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (caselessStartsWith(names[middle], prefix))
            low = middle + 1;
        else
            high = middle;
    }
    return low - first;
}

} // namespace hw
