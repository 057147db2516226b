#include "model/task_list.hpp"

#include "model/caseless.hpp"
#include "model/utf8.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
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
// all entries; the key's first 32 bytes are kept as four numbers as well,
// which decide most comparisons without a look into the buffer: time,
// action and the start of the options.
struct Keyed
{
    std::uint64_t head[4];
    std::size_t at;
    std::uint32_t size, index; // entries are short and fewer than 2^32
};

// Eight bytes of `key` from `at` on as one number, zeros after its end.
std::uint64_t bigEndian(std::string_view key, std::size_t at)
{
    unsigned char bytes[8] = {};
    if (at < key.size())
        std::memcpy(bytes, key.data() + at, std::min<std::size_t>(8, key.size() - at));
    std::uint64_t value = 0;
    for (const unsigned char byte : bytes)
        value = value << 8 | byte;
    return value;
}

// Whether `entries`, all in ASCII, already stand in their caseless order: a
// list read from its file usually does, and then needs no keys. For ASCII a
// key is the entry with A to Z folded, so the ASCII caseless order is the
// order of the keys.
bool sortedAscii(const std::vector<std::string> &entries)
{
    return std::all_of(entries.begin(), entries.end(),
                       [](const std::string &entry) { return isAscii(entry); }) &&
        std::is_sorted(
               entries.begin(), entries.end(),
               [](const std::string &a, const std::string &b) { return asciiCaselessLess(a, b); });
}

} // namespace

void sortEntries(std::vector<std::string> &entries)
{
    if (sortedAscii(entries))
        return;
    std::string keys;
    std::size_t total = 0;
    for (const std::string &entry : entries)
        total += entry.size();
    keys.reserve(total);
    std::vector<Keyed> keyed(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = keys.size();
        appendCaselessKey(keys, entries[i]);
        const std::string_view key = std::string_view(keys).substr(at);
        keyed[i] = {{bigEndian(key, 0), bigEndian(key, 8), bigEndian(key, 16), bigEndian(key, 24)},
                    at,
                    static_cast<std::uint32_t>(key.size()),
                    static_cast<std::uint32_t>(i)};
    }
    // Heads that differ order their keys, a zero byte past a key's end being
    // below any byte of a longer key; alike heads leave the bytes after them
    // to compare. The index breaks ties, so equal entries keep their order.
    const std::string_view all = keys;
    std::sort(keyed.begin(), keyed.end(), [all](const Keyed &a, const Keyed &b) {
        for (int i = 0; i < 4; ++i)
            if (a.head[i] != b.head[i])
                return a.head[i] < b.head[i];
        const auto rest = [&](const Keyed &k) {
            return k.size > 32 ? all.substr(k.at + 32, k.size - 32) : std::string_view();
        };
        if (const int order = rest(a).compare(rest(b)); order != 0)
            return order < 0;
        // Alike but for zero bytes where one head is padded: that key is shorter.
        return a.size != b.size ? a.size < b.size : a.index < b.index;
    });
    std::vector<std::string> sorted;
    sorted.reserve(entries.size());
    for (const Keyed &k : keyed)
        sorted.push_back(std::move(entries[k.index]));
    entries = std::move(sorted);
}

} // namespace hw
