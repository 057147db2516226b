#include "plugin/scan_outcome.hpp"

#include <gtest/gtest.h>

namespace {

using hw::ScanStatus;

TEST(ScanMessage, namesTheFileTheOffsetAndTheFault)
{
    using enum hw::ScanFault;
    using enum ScanStatus;
    // outcome, status, message after the file's name
    // clang-format off
    const std::tuple<hw::ScanOutcome, ScanStatus, const char *> cases[] = {
        {{None, 3, 0, 0, "", 0, {}}, Complete, ""},
        {{HeaderCutShort, 0, 0x1F0, 0x1F2, "NP", 0, {}}, Truncated,
         "ends in the middle of a record. No NPC id was found before it.\nOnly 2 of the 16 bytes "
         "of the record header at offset 0x1F0 are there."},
        {{NotAPlugin, 0, 0, 0, "PK\x03\x04", 0, {}}, Malformed,
         "is not a Morrowind plugin or master file.\nIt begins with 50 4B 03 04 (hex), "
         "not with the \"TES3\" record of a plugin."},
        {{NegativeDataSize, 2, 0xABC, 0, std::string("C\0\x80\"", 4), -5, {}}, Malformed,
         "is damaged: a record gives an impossible size. 2 NPC ids were found before it.\nThe "
         "record 43 00 80 22 (hex) at offset 0xABC gives its data size as -5."},
        {{NoNameSubrecord, 1, 0x20, 0, "NPC_", 0, {}}, Malformed,
         "is damaged: an NPC record has no id. 1 NPC id was found before it.\nThe NPC record at "
         "offset 0x20 holds no NAME sub-record."},
        {{RecordTooLarge, 0, 0x10, 0, "CELL", 0x7FFFFFFF, {}}, Malformed,
         "is damaged: a record gives an impossible size. No NPC id was found before it.\nThe "
         "record \"CELL\" at offset 0x10 gives its data size as 2147483647 bytes, more than any "
         "record of the game's files holds (64 MiB at most)."},
        {{ChangedWhileRead, 7, 0x2000, 0, "NPC_", 0, {}}, Unreadable,
         "changed while it was read. 7 NPC ids were found before it.\nBytes at offset 0x2000 or "
         "after were gone: another program made the file shorter, or the disk could not give "
         "them. Read it again when that program is done."},
        {{CannotOpen, 0, 0, 0, "", 0, make_error_code(std::errc::no_such_file_or_directory)},
         Unreadable, "cannot be opened.\nNo such file or directory."},
        {{CannotRead, 0, 0x400, 0, "", 0, make_error_code(std::errc::io_error)},
         Unreadable, "cannot be read.\nReading at offset 0x400 failed: Input/output error."},
    };
    // clang-format on
    for (const auto &[outcome, status, message] : cases) {
        EXPECT_EQ(outcome.status(), status) << message;
        const std::string expected =
            *message ? "The file \"Data Files/Mod.esp\" " + std::string(message) : "";
        EXPECT_EQ(hw::scanMessage("Data Files/Mod.esp", outcome).text(), expected);
    }
}

} // namespace
