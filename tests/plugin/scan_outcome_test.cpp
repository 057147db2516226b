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
         "ends in the middle of a record. No NPC id was found before it.\nOnly 2 of the 16 bytes "
         "of the record header at offset 0x1F0 are there."},
        {o(NotAPlugin, 0, 0, 0, "PK\x03\x04", 0, {}), Malformed,
         "is not a Morrowind plugin or master file.\nIt begins with 50 4B 03 04 (hex), "
         "not with the \"TES3\" record of a plugin."},
        {o(NegativeDataSize, 2, 0xABC, 0, std::string("C\0\x80\"", 4), -5, {}), Malformed,
         "is damaged: a record gives an impossible size. 2 NPC ids were found before it.\nThe "
         "record 43 00 80 22 (hex) at offset 0xABC gives its data size as -5."},
        {o(ZeroNameLength, 1, 0x20, 0, "NPC_", 0, {}), Malformed,
         "is damaged: an NPC record has no id. 1 NPC id was found before it.\nThe NPC record at "
         "offset 0x20 has a NAME sub-record of length 0."},
        {o(CannotOpen, 0, 0, 0, "", 0, std::errc::no_such_file_or_directory), Unreadable,
         "cannot be opened.\nNo such file or directory."},
        {o(CannotRead, 0, 0x400, 0, "", 0, std::errc::io_error), Unreadable,
         "cannot be read.\nReading at offset 0x400 failed: Input/output error."},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.outcome.status(), c.status) << c.message;
        const std::string expected =
            *c.message ? "The file \"Data Files/Mod.esp\" " + std::string(c.message) : "";
        EXPECT_EQ(hw::scanMessage("Data Files/Mod.esp", c.outcome).text(), expected);
    }
}

} // namespace
