#include "model/name_list.hpp"

#include "model/caseless.hpp"

#include <algorithm>

namespace hw {

void sortNames(std::vector<std::string> &names)
{
    std::stable_sort(names.begin(), names.end(), caselessLess);
}

void mergeTail(std::vector<std::string> &names, std::size_t tail)
{
    const auto middle = names.begin() + static_cast<std::ptrdiff_t>(std::min(tail, names.size()));
    std::inplace_merge(names.begin(), middle, names.end(), caselessLess);
}

std::size_t firstStartingWith(const std::vector<std::string> &names, std::string_view prefix)
{
    // Every name that begins with `prefix` sorts at or after it, and any name
    // between two of them begins with it too; so the first name that does not
    // sort before `prefix` is the only candidate.
    const auto first = std::lower_bound(
        names.begin(), names.end(), prefix,
        [](const std::string &name, std::string_view text) { return caselessLess(name, text); });
    if (first == names.end() || !caselessStartsWith(*first, prefix))
        return names.size();
    return static_cast<std::size_t>(first - names.begin());
}

} // namespace hw
