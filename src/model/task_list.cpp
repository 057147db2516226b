#include "model/task_list.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace hw {

std::size_t insertSorted(std::vector<std::string> &list, std::string entry)
{
    const std::size_t at = insertPosition(list, entry);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    return at;
}

namespace {

// An entry's place in the list and its caseless key, held in one buffer for
// all entries; the key's first 24 bytes are kept as three numbers as well,
// which decide most comparisons without a look into the buffer.
struct Keyed
{
    std::uint64_t head[3];
    std::size_t at, size, index;
};

// Eight bytes of `key` from `at` on as one number, zeros after its end.
std::uint64_t bigEndian(std::string_view key, std::size_t at)
{
    std::uint64_t value = 0;
    for (std::size_t i = at; i < at + 8; ++i)
        value = value << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return value;
}

} // namespace

void sortEntries(std::vector<std::string> &entries)
{
    std::string keys;
    std::vector<Keyed> keyed(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = keys.size();
        appendCaselessKey(keys, entries[i]);
        const std::string_view key = std::string_view(keys).substr(at);
        keyed[i] = {{bigEndian(key, 0), bigEndian(key, 8), bigEndian(key, 16)}, at, key.size(), i};
    }
    // Heads that differ order their keys, a zero byte past a key's end being
    // below any byte of a longer key; the index breaks ties, so equal entries
    // keep their order.
    const std::string_view all = keys;
    std::sort(keyed.begin(), keyed.end(), [all](const Keyed &a, const Keyed &b) {
        for (int i = 0; i < 3; ++i)
            if (a.head[i] != b.head[i])
                return a.head[i] < b.head[i];
        const int order = all.substr(a.at, a.size).compare(all.substr(b.at, b.size));
        return order != 0 ? order < 0 : a.index < b.index;
    });
    std::vector<std::string> sorted;
    sorted.reserve(entries.size());
    for (const Keyed &k : keyed)
        sorted.push_back(std::move(entries[k.index]));
    entries = std::move(sorted);
}

} // namespace hw
