#pragma once

#include "data/game_index.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hw {

/// A list in caseless order to complete typed text from, borrowed from the
/// data that holds it: nothing is copied.
class CompletionList
{
public:
    CompletionList() = default;
    explicit CompletionList(SortedIds ids)
        : m_ids(ids)
    { }
    /// `names` must be in caseless order (caselessLess) and outlive the list.
    /// With `paths`, the names are file paths with "\" between folders, and a
    /// typed "/" stands for "\".
    explicit CompletionList(const std::vector<std::string> &names, bool paths = false)
        : m_names(&names)
        , m_paths(paths)
    { }

    std::size_t size() const { return m_names ? m_names->size() : m_ids.size(); }
    bool empty() const { return size() == 0; }
    std::string_view operator[](std::size_t at) const
    {
        return m_names ? std::string_view((*m_names)[at]) : m_ids[at];
    }
    bool paths() const { return m_paths; }

    /// The entries that begin with `prefix`, letter case ignored and every
    /// other character taken as itself: the index of the first and their
    /// number, which is 0 when none does. Binary searches.
    std::pair<std::size_t, std::size_t> startingWith(std::string_view prefix) const;

private:
    SortedIds m_ids;
    const std::vector<std::string> *m_names = nullptr;
    bool m_paths = false;
};

} // namespace hw
