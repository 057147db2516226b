#include "plugin/scan_outcome.hpp"

#include "plugin/byte_source.hpp"
#include "plugin/record_walk.hpp"

#include <cctype>
#include <cstdio>

namespace hw {

namespace {

// A tag may hold any bytes: four printable characters are shown as text in
// quotes, anything else as hexadecimal bytes, never as raw bytes or escapes.
std::string shownTag(const std::string &tag)
{
    bool printable = !tag.empty();
    for (const char c : tag) {
        const auto b = static_cast<unsigned char>(c);
        printable = printable && b > 0x20 && b < 0x7F && c != '"';
    }
    if (printable)
        return '"' + tag + '"';
    std::string bytes;
    for (const char c : tag) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(c));
        bytes += bytes.empty() ? "" : " ";
        bytes += byte;
    }
    return bytes + " (hex)";
}

std::string idsBefore(std::size_t count)
{
    if (count == 0)
        return " No NPC id was found before it.";
    if (count == 1)
        return " 1 NPC id was found before it.";
    return " " + std::to_string(count) + " NPC ids were found before it.";
}

std::string fileName(const std::filesystem::path &file)
{
    const auto utf8 = file.u8string();
    std::string quoted = "\"";
    quoted.append(utf8.begin(), utf8.end());
    quoted += '"';
    return quoted;
}

// The system's reason as a sentence: "No such file or directory."
std::string reason(const std::error_code &error)
{
    std::string text = error.message();
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + '.';
}

} // namespace

ScanStatus ScanOutcome::status() const
{
    switch (fault) {
    case ScanFault::None:
        return ScanStatus::Complete;
    case ScanFault::HeaderCutShort:
    case ScanFault::DataCutShort:
        return ScanStatus::Truncated;
    case ScanFault::NotAPlugin:
    case ScanFault::NegativeDataSize:
    case ScanFault::RecordTooLarge:
    case ScanFault::NoNameSubrecord:
    case ScanFault::SubrecordCutShort:
        return ScanStatus::Malformed;
    case ScanFault::CannotOpen:
    case ScanFault::CannotRead:
    case ScanFault::ChangedWhileRead:
        break;
    }
    return ScanStatus::Unreadable;
}

std::string hexOffset(std::uint64_t offset)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
    return text;
}

ScanMessage scanMessage(const std::filesystem::path &file, const ScanOutcome &outcome)
{
    const std::string name = fileName(file);
    const std::string at = hexOffset(outcome.offset);
    const std::string ids = idsBefore(outcome.idCount);
    const std::string npcAt = "The NPC record at offset " + at;
    const std::string recordAt = "The record " + shownTag(outcome.tag) + " at offset " + at;
    switch (outcome.fault) {
    case ScanFault::None:
        return {};
    case ScanFault::HeaderCutShort:
        return {"The file " + name + " ends in the middle of a record." + ids,
                "Only " + std::to_string(outcome.endOffset - outcome.offset) +
                    " of the 16 bytes of the record header at offset " + at + " are there."};
    case ScanFault::DataCutShort:
        return {"The file " + name + " ends in the middle of a record." + ids,
                "The record " + shownTag(outcome.tag) + " at offset " + at + " says it holds " +
                    std::to_string(outcome.dataSize) + " bytes of data, but the file ends " +
                    std::to_string(outcome.endOffset - outcome.offset - 16) +
                    " bytes after its header, at offset " + hexOffset(outcome.endOffset) + "."};
    case ScanFault::NotAPlugin:
        return {"The file " + name + " is not a Morrowind plugin or master file.",
                outcome.tag.empty() ? std::string("The file is empty.")
                                    : "It begins with " + shownTag(outcome.tag) +
                        ", not with the \"TES3\" record of a plugin."};
    case ScanFault::NegativeDataSize:
        return {"The file " + name + " is damaged: a record gives an impossible size." + ids,
                "The record " + shownTag(outcome.tag) + " at offset " + at +
                    " gives its data size as " + std::to_string(outcome.dataSize) + "."};
    case ScanFault::RecordTooLarge:
        return {"The file " + name + " is damaged: a record gives an impossible size." + ids,
                "The record " + shownTag(outcome.tag) + " at offset " + at +
                    " gives its data size as " + std::to_string(outcome.dataSize) +
                    " bytes, more than any record of the game's files holds (" +
                    std::to_string(RecordWalk::kMaxDataSize >> 20) + " MiB at most)."};
    case ScanFault::NoNameSubrecord:
        if (outcome.tag != "NPC_")
            return {"The file " + name + " is damaged: a record has no id." + ids,
                    recordAt + " holds no NAME sub-record."};
        return {"The file " + name + " is damaged: an NPC record has no id." + ids,
                npcAt + " holds no NAME sub-record."};
    case ScanFault::SubrecordCutShort:
        return {"The file " + name + " is damaged: a record's contents run past its end." + ids,
                recordAt + " holds a sub-record that runs past the end of the record."};
    case ScanFault::CannotOpen:
        if (outcome.error == FileError::NotRegularFile)
            return {"The file " + name + " is not a regular file.",
                    "It is a pipe, a device or another special file; only plugin files can be "
                    "read."};
        if (outcome.error == std::errc::is_a_directory)
            return {name + " is a folder, not a plugin file.", {}};
        return {"The file " + name + " cannot be opened.", reason(outcome.error)};
    case ScanFault::CannotRead:
        return {"The file " + name + " cannot be read.",
                "Reading at offset " + at + " failed: " + reason(outcome.error)};
    case ScanFault::ChangedWhileRead:
        return {"The file " + name + " changed while it was read." + ids,
                "Bytes at offset " + at +
                    " or after were gone: another program made the file shorter, or the "
                    "disk could not give them. Read it again when that program is done."};
    }
    return {};
}

} // namespace hw
