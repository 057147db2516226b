#include "data/bsa_names.hpp"

#include "plugin/scan_outcome.hpp"

#include <string_view>

namespace hw {
namespace {

constexpr std::uint32_t kVersion = 0x100;
constexpr std::uint64_t kHeaderSize = 12;

// Each file takes at least 21 bytes: 8 for its size and offset, 4 for its
// name's offset, a NUL for the shortest name and 8 for its hash.
constexpr std::uint64_t kLeastBytesPerFile = 21;

std::uint32_t le32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

BsaNames fault(BsaNames out, BsaFault why, std::uint64_t offset)
{
    out.fault = why;
    out.offset = offset;
    return out;
}

// Reads `size` bytes at `offset`, which the caller knows to lie inside the
// source; a shorter read means the file shrank or failed.
bool readExactly(ByteSource &source, std::uint64_t offset, std::string &into, std::size_t size,
                 std::error_code &error)
{
    into.assign(size, '\0');
    const auto result = source.read(offset, into);
    error = result.error ? result.error : std::make_error_code(std::errc::io_error);
    return !result.error && result.count == size;
}

BsaNames readTable(ByteSource &source, BsaNames out, std::uint32_t tableSize, CodePage page)
{
    std::string table;
    if (!readExactly(source, kHeaderSize, table, tableSize, out.error))
        return fault(std::move(out), BsaFault::CannotRead, kHeaderSize);
    const std::uint64_t count = out.fileCount;
    const std::uint64_t dataStart = kHeaderSize + tableSize + 8 * count;
    const std::string_view names = std::string_view(table).substr(12 * count);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t record = 8 * i, nameField = 8 * count + 4 * i;
        const std::uint32_t nameAt = le32(table, nameField);
        if (nameAt >= names.size())
            return fault(std::move(out), BsaFault::NameOutside, kHeaderSize + nameField);
        const auto end = names.find('\0', nameAt);
        if (end == std::string_view::npos)
            return fault(std::move(out), BsaFault::NameUnterminated, kHeaderSize + nameField);
        const std::uint64_t size = le32(table, record), offset = le32(table, record + 4);
        if (dataStart + offset + size > source.size())
            return fault(std::move(out), BsaFault::DataOutside, kHeaderSize + record);
        out.names.push_back(toUtf8(names.substr(nameAt, end - nameAt), page));
    }
    return out;
}

} // namespace

BsaNames readBsaNames(ByteSource &source, CodePage page)
{
    BsaNames out;
    const std::uint64_t size = source.size();
    if (size < kHeaderSize)
        return fault(std::move(out), BsaFault::TooSmall, 0);
    std::string header;
    if (!readExactly(source, 0, header, kHeaderSize, out.error))
        return fault(std::move(out), BsaFault::CannotRead, 0);
    if (le32(header, 0) != kVersion)
        return fault(std::move(out), BsaFault::NotMorrowind, 0);
    const std::uint32_t tableSize = le32(header, 4);
    out.fileCount = le32(header, 8);
    const std::uint64_t count = out.fileCount, room = size - kHeaderSize;
    if (count * kLeastBytesPerFile > room || tableSize + 8 * count > room ||
        tableSize < 12 * count || tableSize > kLargestBsaTable)
        return fault(std::move(out), BsaFault::TableTooLarge, 4);
    return readTable(source, std::move(out), tableSize, page);
}

BsaNames readBsaNames(const std::filesystem::path &file, CodePage page)
{
    BsaNames out;
    const auto source = FileSource::open(file, out.error);
    if (!source)
        return fault(std::move(out), BsaFault::CannotOpen, 0);
    return readBsaNames(*source, page);
}

std::string bsaMessage(const BsaNames &names)
{
    const std::string at = " (at offset " + hexOffset(names.offset) + ")";
    switch (names.fault) {
    case BsaFault::None:
        return {};
    case BsaFault::TooSmall:
        return "is too small to be an archive: it has no 12-byte header";
    case BsaFault::NotMorrowind:
        return "is not a Morrowind archive: its header does not begin with version 0x100";
    case BsaFault::TableTooLarge:
        return "is damaged: its file table is larger than the file" + at;
    case BsaFault::NameOutside:
        return "is damaged: a file's name lies outside its name table" + at;
    case BsaFault::NameUnterminated:
        return "is damaged: a file's name runs past the end of its name table" + at;
    case BsaFault::DataOutside:
        return "is damaged: a file's data lies past the end of the archive" + at;
    case BsaFault::CannotOpen:
        return "cannot be opened: " + names.error.message();
    case BsaFault::CannotRead:
        return "cannot be read: " + names.error.message();
    }
    return {};
}

} // namespace hw
