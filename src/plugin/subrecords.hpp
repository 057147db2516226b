#pragma once

#include "plugin/record_tags.hpp"
#include "plugin/record_walk.hpp"
#include "plugin/scan_outcome.hpp"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace hw {

/// The sub-records of one record's data, each a 4-byte tag, a 32-bit
/// little-endian length and that many bytes, none running past the record.
class Subrecords
{
public:
    explicit Subrecords(std::string_view data)
        : m_at(data.data())
        , m_end(data.data() + data.size())
    { }

    /// Moves to the next sub-record. False at the end of the data, and when
    /// the next sub-record does not fit in what is left of it (broken()).
    bool next()
    {
        const auto left = static_cast<std::size_t>(m_end - m_at);
        if (left == 0)
            return false;
        // The length is read once: a mapped file may change under the reader.
        const std::size_t length = left < 8 ? 0 : loadLe32(m_at + 4);
        m_broken = left < 8 || length > left - 8;
        if (m_broken)
            return false;
        m_tag = loadLe32(m_at);
        m_data = {m_at + 8, length};
        m_at += 8 + length;
        return true;
    }

    /// Passes over the sub-records left without taking them, as next() would
    /// to the end; false when one does not fit (broken()).
    ///
    /// Each step waits for the length read at the step before. A reference
    /// begins with a 4-byte FRMR, whose next header's place is known at
    /// once: both lengths are read together and the pair passed over in one
    /// step, which spares a third of the wait in a cell full of references.
    bool passOverRest()
    {
        const char *at = m_at;
        for (;;) {
            const auto left = static_cast<std::size_t>(m_end - at);
            if (left >= 20) {
                const std::size_t first = loadLe32(at + 4);
                const std::size_t second = loadLe32(at + 16);
                if (first == 4 && second <= left - 20) {
                    at += 20 + second;
                    continue;
                }
            }
            const std::size_t length = left < 8 ? 0 : loadLe32(at + 4);
            if (left == 0 || left < 8 || length > left - 8) {
                m_broken = left != 0;
                break;
            }
            at += 8 + length;
        }
        m_at = at;
        return !m_broken;
    }

    std::uint32_t tag() const { return m_tag; }
    std::string_view data() const { return m_data; }
    bool broken() const { return m_broken; }

private:
    const char *m_at;
    const char *m_end;
    std::string_view m_data;
    std::uint32_t m_tag = 0;
    bool m_broken = false;
};

namespace detail {

inline constexpr std::uint64_t kLowBits = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

inline std::uint64_t wordAt(const char *bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, 8);
    return word;
}

} // namespace detail

/// The text at the start of a sub-record's data up to its first NUL (all of
/// it when it holds none), as the game reads a text; `ascii` tells whether it
/// is ASCII and so the same in every code page.
///
/// Nearly always the text is ASCII and its NUL is the last byte, which is
/// checked eight bytes at a time (the last eight overlapping those before);
/// anything else is looked at byte by byte.
inline std::string_view untilNul(std::string_view data, bool &ascii)
{
    const std::size_t size = data.size();
    if (size > 8 && data[size - 1] == '\0') {
        const std::size_t length = size - 1;
        // A byte of 0 or beyond ASCII sets its top bit in word | (word - 1s);
        // one of 1 to 127 never does, nor borrows from the byte above.
        std::uint64_t flags = 0;
        for (std::size_t at = 0; at + 8 < length; at += 8) {
            const auto word = detail::wordAt(data.data() + at);
            flags |= word | (word - detail::kLowBits);
        }
        const auto last = detail::wordAt(data.data() + length - 8);
        flags |= last | (last - detail::kLowBits);
        if ((flags & detail::kHighBits) == 0) {
            ascii = true;
            return data.substr(0, length);
        }
    }
    unsigned char high = 0;
    std::size_t length = 0;
    for (; length < size && data[length] != '\0'; ++length)
        high |= static_cast<unsigned char>(data[length]);
    ascii = high < 0x80;
    return data.substr(0, length);
}

/// What a record that gives an id (NPC_, CREA, the items, REGN, ...) holds,
/// read in one walk over its sub-records. Every reader of ids takes them from
/// here, so that a record gives the same id wherever it is read.
struct IdFields
{
    /// The data of the first NAME sub-record; the id is its text (untilNul).
    std::string_view name;
    /// The data of the last FNAM sub-record: a region's name for the author.
    std::string_view fullName;
    bool deleted = false; ///< the record holds a DELE sub-record
    /// SubrecordCutShort when a sub-record runs past the record, else
    /// NoNameSubrecord when there is no NAME; the fields are then not to be used.
    ScanFault fault = ScanFault::None;
};

IdFields readIdFields(std::string_view data);

/// Why a record that readForIds takes cannot be read, or None: a sub-record
/// that runs past the record (SubrecordCutShort), or no NAME in a record that
/// gives an id (NoNameSubrecord). Every reader of the game's data stops at
/// such a record with this fault, so that all of them give one verdict on a
/// file, whatever they take from it.
ScanFault checkRecord(const RecordHeader &header, std::string_view data);

} // namespace hw
