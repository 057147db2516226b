#include "plugin/subrecords.hpp"

#include <cstring>

namespace hw {

namespace {

constexpr std::uint32_t kName = fourCC("NAME");
constexpr std::uint32_t kFnam = fourCC("FNAM");
constexpr std::uint32_t kDele = fourCC("DELE");

constexpr std::uint64_t kLowBits = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

std::uint64_t wordAt(const char *bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, 8);
    return word;
}

} // namespace

// Eight bytes at a time, as ids are short and many.
std::string_view untilNul(std::string_view data, bool &ascii)
{
    std::uint64_t high = 0;
    std::size_t length = 0;
    for (; length + 8 <= data.size(); length += 8) {
        const auto word = wordAt(data.data() + length);
        if (((word - kLowBits) & ~word & kHighBits) != 0)
            break;
        high |= word;
    }
    for (; length < data.size() && data[length] != '\0'; ++length)
        high |= static_cast<unsigned char>(data[length]);
    ascii = (high & kHighBits) == 0;
    return data.substr(0, length);
}

IdFields readIdFields(std::string_view data)
{
    IdFields fields;
    bool named = false;
    Subrecords sub(data);
    while (sub.next()) {
        if (sub.tag() == kName && !named) {
            fields.name = sub.data();
            named = true;
        } else if (sub.tag() == kFnam) {
            fields.fullName = sub.data();
        } else if (sub.tag() == kDele) {
            fields.deleted = true;
        }
    }
    if (sub.broken())
        fields.fault = ScanFault::SubrecordCutShort;
    else if (!named)
        fields.fault = ScanFault::NoNameSubrecord;
    return fields;
}

ScanFault checkRecord(const RecordHeader &header, std::string_view data)
{
    if (kindOfTag(header.tag))
        return readIdFields(data).fault;
    Subrecords sub(data);
    while (sub.next()) { }
    return sub.broken() ? ScanFault::SubrecordCutShort : ScanFault::None;
}

} // namespace hw
