#include "plugin/scan_outcome.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using hw::ScanFault;

struct MessageCase
{
    hw::ScanOutcome outcome;
    hw::ScanStatus status;
    const char *message;
};

hw::ScanOutcome outcome(ScanFault fault, std::size_t ids, std::uint64_t offset, std::string tag,
                        std::int64_t dataSize = 0, std::uint64_t endOffset = 0)
{
    hw::ScanOutcome o;
    o.fault = fault;
    o.idCount = ids;
    o.offset = offset;
    o.tag = std::move(tag);
    o.dataSize = dataSize;
    o.endOffset = endOffset;
    return o;
}

hw::ScanOutcome failed(ScanFault fault, std::errc reason, std::uint64_t offset = 0)
{
    hw::ScanOutcome o;
    o.fault = fault;
    o.offset = offset;
    o.error = std::make_error_code(reason);
    return o;
}

class ScanMessage : public testing::TestWithParam<MessageCase>
{
};

void PrintTo(const MessageCase &c, std::ostream *out)
{
    *out << "fault " << static_cast<int>(c.outcome.fault);
}

TEST_P(ScanMessage, namesTheFileTheOffsetAndTheFault)
{
    const auto &c = GetParam();
    EXPECT_EQ(c.outcome.status(), c.status);
    EXPECT_EQ(hw::scanMessage("Data Files/Mod.esp", c.outcome), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, ScanMessage,
    testing::Values(
        MessageCase {outcome(ScanFault::None, 3, 0, ""), hw::ScanStatus::Complete, ""},
        MessageCase {outcome(ScanFault::HeaderCutShort, 0, 0x1F0, "NP", 0, 0x1F2),
                     hw::ScanStatus::Truncated,
                     "The file \"Data Files/Mod.esp\" ends early at offset 0x1F2: the record at "
                     "offset 0x1F0 has only 2 of the 16 bytes of its header. No NPC id was found "
                     "before it."},
        MessageCase {outcome(ScanFault::DataCutShort, 1, 0x10000, "CELL", 40000, 0x10020),
                     hw::ScanStatus::Truncated,
                     "The file \"Data Files/Mod.esp\" ends early at offset 0x10020: the record "
                     "\"CELL\" at offset 0x10000 says it holds 40000 bytes of data, but only 16 "
                     "follow its header. 1 NPC id was found before it."},
        MessageCase {
            outcome(ScanFault::NegativeDataSize, 2, 0xABC, std::string("C\0\x80\"", 4), -5),
            hw::ScanStatus::Malformed,
            "The file \"Data Files/Mod.esp\" is damaged at offset 0xABC: the record "
            "\"C\\x00\\x80\\x22\" at offset 0xABC has a negative data size (-5). 2 NPC ids "
            "were found before it."},
        MessageCase {outcome(ScanFault::NoNameSubrecord, 0, 0x20, "NPC_"),
                     hw::ScanStatus::Malformed,
                     "The file \"Data Files/Mod.esp\" is damaged at offset 0x20: the NPC record "
                     "there has no NAME sub-record. No NPC id was found before it."},
        MessageCase {outcome(ScanFault::ZeroNameLength, 0, 0x20, "NPC_"), hw::ScanStatus::Malformed,
                     "The file \"Data Files/Mod.esp\" is damaged at offset 0x20: the NAME "
                     "sub-record of the NPC record there has a length of 0. No NPC id was found "
                     "before it."},
        MessageCase {outcome(ScanFault::NameAtDataEnd, 0, 0x20, "NPC_"), hw::ScanStatus::Malformed,
                     "The file \"Data Files/Mod.esp\" is damaged at offset 0x20: the NAME "
                     "sub-record of the NPC record there starts too near the end of the record to "
                     "hold its length. No NPC id was found before it."},
        MessageCase {failed(ScanFault::CannotOpen, std::errc::permission_denied),
                     hw::ScanStatus::Unreadable,
                     "The file \"Data Files/Mod.esp\" cannot be opened: Permission denied."},
        MessageCase {failed(ScanFault::CannotRead, std::errc::io_error, 0x400),
                     hw::ScanStatus::Unreadable,
                     "The file \"Data Files/Mod.esp\" cannot be read at offset 0x400: "
                     "Input/output error."}));

} // namespace
