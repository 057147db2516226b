#include "data/nearest_ids.hpp"

#include "model/caseless.hpp"

#include <algorithm>
#include <numeric>

namespace hw {

namespace {

// The edit distance of the lower-case `a` and `candidate` (whose ASCII
// capitals are folded as they are compared), or more than `limit` when it exceeds it:
// the rows stop as soon as no cell is within the limit.
std::size_t distance(std::string_view a, std::string_view candidate, std::size_t limit,
                     std::vector<std::size_t> &row)
{
    row.resize(candidate.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t {0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        std::size_t best = row[0];
        for (std::size_t j = 1; j <= candidate.size(); ++j) {
            const char c = candidate[j - 1];
            const bool same = a[i - 1] == (c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
            const std::size_t next = std::min({row[j] + 1, row[j - 1] + 1, diagonal + !same});
            diagonal = row[j];
            row[j] = next;
            best = std::min(best, next);
        }
        if (best > limit)
            return limit + 1;
    }
    return row.back();
}

} // namespace

std::size_t nearDistance(std::size_t length)
{
    return length <= 4 ? 1 : length <= 10 ? 2 : 3;
}

std::vector<std::string> nearestIds(const SortedIds &ids, std::string_view text, std::size_t most)
{
    const std::string lower = asciiLowerCase(text);
    const std::size_t limit = nearDistance(lower.size());
    std::vector<std::pair<std::size_t, std::size_t>> found; // distance, place in ids
    std::vector<std::size_t> row;
    for (std::size_t at = 0; at < ids.size(); ++at) {
        const auto id = ids[at];
        const std::size_t gap =
            id.size() > lower.size() ? id.size() - lower.size() : lower.size() - id.size();
        if (gap > limit)
            continue;
        const auto d = distance(lower, id, limit, row);
        if (d > 0 && d <= limit)
            found.emplace_back(d, at);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto &x, const auto &y) { return x.first < y.first; });
    std::vector<std::string> nearest;
    for (std::size_t n = 0; n < found.size() && n < most; ++n)
        nearest.emplace_back(ids[found[n].second]);
    return nearest;
}

} // namespace hw
