#include "plugin/scan_outcome.hpp"

#include <cstdio>

namespace hw {

namespace {

std::string hex(std::uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

// A tag may hold any bytes; show the printable ones as they are.
std::string quotedTag(const std::string &tag)
{
    std::string out = "\"";
    for (const char c : tag) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && c != '"' && c != '\\') {
            out += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            out += escaped;
        }
    }
    return out + "\"";
}

std::string idsBefore(std::size_t count)
{
    if (count == 0)
        return " No NPC id was found before it.";
    if (count == 1)
        return " 1 NPC id was found before it.";
    std::string sentence = " ";
    sentence += std::to_string(count);
    sentence += " NPC ids were found before it.";
    return sentence;
}

std::string fileName(const std::filesystem::path &file)
{
    const auto utf8 = file.u8string();
    std::string quoted = "\"";
    quoted.append(utf8.begin(), utf8.end());
    quoted += '"';
    return quoted;
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
    case ScanFault::NegativeDataSize:
    case ScanFault::NoNameSubrecord:
    case ScanFault::ZeroNameLength:
    case ScanFault::NameAtDataEnd:
        return ScanStatus::Malformed;
    case ScanFault::CannotOpen:
    case ScanFault::CannotRead:
        break;
    }
    return ScanStatus::Unreadable;
}

std::string scanMessage(const std::filesystem::path &file, const ScanOutcome &outcome)
{
    const std::string name = fileName(file);
    const std::string at = hex(outcome.offset);
    const std::string record = "the record " + quotedTag(outcome.tag) + " at offset " + at;
    const std::string damaged = "The file " + name + " is damaged at offset " + at + ": ";
    switch (outcome.fault) {
    case ScanFault::None:
        return {};
    case ScanFault::HeaderCutShort:
        return "The file " + name + " ends early at offset " + hex(outcome.endOffset) + ": " +
            "the record at offset " + at + " has only " +
            std::to_string(outcome.endOffset - outcome.offset) + " of the 16 bytes of its header." +
            idsBefore(outcome.idCount);
    case ScanFault::DataCutShort:
        return "The file " + name + " ends early at offset " + hex(outcome.endOffset) + ": " +
            record + " says it holds " + std::to_string(outcome.dataSize) +
            " bytes of data, but only " + std::to_string(outcome.endOffset - outcome.offset - 16) +
            " follow its header." + idsBefore(outcome.idCount);
    case ScanFault::NegativeDataSize:
        return damaged + record + " has a negative data size (" + std::to_string(outcome.dataSize) +
            ")." + idsBefore(outcome.idCount);
    case ScanFault::NoNameSubrecord:
        return damaged + "the NPC record there has no NAME sub-record." +
            idsBefore(outcome.idCount);
    case ScanFault::ZeroNameLength:
        return damaged + "the NAME sub-record of the NPC record there has a length of 0." +
            idsBefore(outcome.idCount);
    case ScanFault::NameAtDataEnd:
        return damaged +
            "the NAME sub-record of the NPC record there starts too near the end of the "
            "record to hold its length." +
            idsBefore(outcome.idCount);
    case ScanFault::CannotOpen:
        return "The file " + name + " cannot be opened: " + outcome.error.message() + ".";
    case ScanFault::CannotRead:
        return "The file " + name + " cannot be read at offset " + at + ": " +
            outcome.error.message() + ".";
    }
    return {};
}

} // namespace hw
