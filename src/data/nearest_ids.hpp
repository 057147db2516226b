#pragma once

#include "data/game_index.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// The edit distance up to which an id counts as near to a text of
/// `length` bytes: 1 up to 4, 2 up to 10, 3 beyond.
std::size_t nearDistance(std::size_t length);

/// Up to `most` of `ids` nearest to `text` by edit distance (insertions,
/// deletions and substitutions of bytes, ASCII letter case ignored as the
/// game ignores it), nearest first, ties in the order of `ids`; only ids within
/// nearDistance() of it, and never `text` itself. Ids whose length alone
/// puts them too far are passed over unread, so that 200,000 ids are
/// searched in milliseconds.
std::vector<std::string> nearestIds(const SortedIds &ids, std::string_view text,
                                    std::size_t most = 3);

} // namespace hw
