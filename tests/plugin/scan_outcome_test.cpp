#include "plugin/scan_outcome.hpp"

#include <gtest/gtest.h>

namespace {

using hw::ScanStatus;

TEST(ScanMessage, namesTheFileTheOffsetAndTheFault)
{
    struct Case
    {
        hw::ScanOutcome outcome;
        ScanStatus status;
        const char *message; // after the file's name
    };
    using enum hw::ScanFault;
    using enum ScanStatus;
    const auto o = [](hw::ScanFault fault, std::size_t ids, std::uint64_t offset,
                      std::uint64_t endOffset, std::string tag, std::int64_t dataSize,
                      std::errc reason) {
        const auto error = reason == std::errc {} ? std::error_code {} : make_error_code(reason);
        return hw::ScanOutcome {fault, ids, offset, endOffset, tag, dataSize, error};
    };
    const Case cases[] = {
        {o(None, 3, 0, 0, "", 0, {}), Complete, ""},
        {o(HeaderCutShort, 0, 0x1F0, 0x1F2, "NP", 0, {}), Truncated,
         "ends early at offset 0x1F2: the record at offset 0x1F0 has only 2 of the 16 bytes of its "
         "header. No NPC id was found before it."},
        {o(NegativeDataSize, 2, 0xABC, 0, std::string("C\0\x80\"", 4), -5, {}), Malformed,
         "is damaged at offset 0xABC: the record \"C\\x00\\x80\\x22\" at offset 0xABC has a "
         "negative data size (-5). 2 NPC ids were found before it."},
        {o(NoNameSubrecord, 0, 0x20, 0, "NPC_", 0, {}), Malformed,
         "is damaged at offset 0x20: the NPC record there has no NAME sub-record. No NPC id was "
         "found before it."},
        {o(ZeroNameLength, 0, 0x20, 0, "NPC_", 0, {}), Malformed,
         "is damaged at offset 0x20: the NAME sub-record of the NPC record there has a length of "
         "0. No NPC id was found before it."},
        {o(NameAtDataEnd, 0, 0x20, 0, "NPC_", 0, {}), Malformed,
         "is damaged at offset 0x20: the NAME sub-record of the NPC record there starts too near "
         "the end of the record to hold its length. No NPC id was found before it."},
        {o(CannotRead, 0, 0x400, 0, "", 0, std::errc::io_error), Unreadable,
         "cannot be read at offset 0x400: Input/output error."},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.outcome.status(), c.status) << c.message;
        const std::string expected =
            *c.message ? "The file \"Data Files/Mod.esp\" " + std::string(c.message) : "";
        EXPECT_EQ(hw::scanMessage("Data Files/Mod.esp", c.outcome), expected);
    }
}

} // namespace
