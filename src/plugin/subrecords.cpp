#include "plugin/subrecords.hpp"

namespace hw {

namespace {

constexpr std::uint32_t kName = fourCC("NAME");
constexpr std::uint32_t kFnam = fourCC("FNAM");
constexpr std::uint32_t kDele = fourCC("DELE");

} // namespace

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
