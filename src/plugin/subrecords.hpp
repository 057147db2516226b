#pragma once

#include "plugin/record_tags.hpp"
#include "plugin/record_walk.hpp"
#include "plugin/scan_outcome.hpp"

#include <cstdint>
#include <string_view>

namespace hw {

/// The sub-records of one record's data, each a 4-byte tag, a 32-bit
/// little-endian length and that many bytes, none running past the record.
class Subrecords
{
public:
    explicit Subrecords(std::string_view data)
        : m_rest(data)
    { }

    /// Moves to the next sub-record. False at the end of the data, and when
    /// the next sub-record does not fit in what is left of it (broken()).
    bool next()
    {
        if (m_rest.empty())
            return false;
        m_broken = m_rest.size() < 8 || loadLe32(m_rest.data() + 4) > m_rest.size() - 8;
        if (m_broken)
            return false;
        const std::size_t length = loadLe32(m_rest.data() + 4);
        m_tag = loadLe32(m_rest.data());
        m_data = m_rest.substr(8, length);
        m_rest.remove_prefix(8 + length);
        return true;
    }

    std::uint32_t tag() const { return m_tag; }
    std::string_view data() const { return m_data; }
    bool broken() const { return m_broken; }

private:
    std::string_view m_rest;
    std::string_view m_data;
    std::uint32_t m_tag = 0;
    bool m_broken = false;
};

/// The text at the start of a sub-record's data up to its first NUL (all of
/// it when it holds none), as the game reads a text; `ascii` tells whether it
/// is ASCII and so the same in every code page.
std::string_view untilNul(std::string_view data, bool &ascii);

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
