#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

namespace hw {

/// How a scan of a plugin file ended.
enum class ScanStatus {
    Complete, ///< every record was read, up to the last byte of the file
    Truncated, ///< the file ends inside a record; the ids before it were kept
    Malformed, ///< a record cannot be what it says; the scan stopped at it
    Unreadable, ///< the system could not open or read the file
};

/// What stopped a scan. Each fault belongs to exactly one status.
enum class ScanFault {
    None, ///< Complete
    HeaderCutShort, ///< Truncated: fewer than the 16 bytes of a record header are left
    DataCutShort, ///< Truncated: the data size runs past the end of the file
    NotAPlugin, ///< Malformed: the file does not begin with a "TES3" record (an empty file neither)
    NegativeDataSize, ///< Malformed: a data size below 0
    RecordTooLarge, ///< Malformed: a data size beyond any record of the game
                    ///< (RecordWalk::kMaxDataSize)
    NoNameSubrecord, ///< Malformed: an "NPC_" record (or another record that gives an id) without
                     ///< "NAME"
    SubrecordCutShort, ///< Malformed: a sub-record runs past the end of its record
    CannotOpen, ///< Unreadable: opening failed, or the path names a folder, pipe or device
    CannotRead, ///< Unreadable: a read failed
    ChangedWhileRead, ///< Unreadable: bytes seen in place vanished (the file was cut shorter)
};

/// The outcome of one scan. The ids themselves are in `ESRead::NPCNames` (or
/// the record index); the fields below say how far they go and, for any
/// status but Complete, where and why the scan stopped.
struct ScanOutcome
{
    ScanFault fault = ScanFault::None;

    /// The number of NPC ids found. It tells "no NPC record" apart from "one NPC
    /// record with an empty id", which leave the same list behind.
    std::size_t idCount = 0;

    /// Where the record at fault starts (Truncated, Malformed, CannotRead).
    std::uint64_t offset = 0;

    /// Where the file ended early (Truncated).
    std::uint64_t endOffset = 0;

    /// The bytes of the record's tag as they stand in the file (Truncated,
    /// Malformed); fewer than four when the file ends inside the tag.
    std::string tag;

    /// The record's data size as stored (DataCutShort, NegativeDataSize,
    /// RecordTooLarge).
    std::int64_t dataSize = 0;

    /// The system's reason (Unreadable).
    std::error_code error;

    ScanStatus status() const;
    bool complete() const { return fault == ScanFault::None; }
};

/// What the author is told about a scan that did not complete.
struct ScanMessage
{
    /// What is wrong, in words an author knows, naming the file, and how many
    /// ids were found before the fault.
    std::string summary;
    /// The technical detail: offset (hexadecimal), record tag, sizes, the
    /// system's reason. May be empty.
    std::string detail;

    /// The summary, then the detail on a line of its own.
    std::string text() const { return detail.empty() ? summary : summary + '\n' + detail; }
};

/// A byte offset in a file as messages give it: "0x1A2B".
std::string hexOffset(std::uint64_t offset);

/// The message about `outcome` for `file`; empty for a complete scan. The
/// window shows it in a message box, the command line on standard error.
ScanMessage scanMessage(const std::filesystem::path &file, const ScanOutcome &outcome);

} // namespace hw
