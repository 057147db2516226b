#include "plugin/plugin_header.hpp"

#include "plugin/record_layout.hpp"
#include "plugin/subrecords.hpp"

namespace hw {

namespace {

constexpr std::size_t kHedrSize = 300;
constexpr std::size_t kAuthorAt = 8;
constexpr std::size_t kDescriptionAt = kAuthorAt + 32;
constexpr std::size_t kCountAt = kDescriptionAt + 256;
// 1.3 as a 32-bit float, the version of every plugin the game's editor writes.
constexpr std::uint32_t kVersion13 = 0x3FA66666;

std::string_view beforeNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

// `text` in a field of `size` bytes, padded with NULs, always ending in one.
void putField(std::string &hedr, std::size_t at, std::size_t size, std::string_view text)
{
    const std::string_view kept = text.substr(0, size - 1);
    hedr.replace(at, size, std::string(kept) + std::string(size - kept.size(), '\0'));
}

void putCount(std::string &hedr, std::uint32_t count)
{
    std::string bytes;
    appendLe(bytes, count, 4);
    hedr.replace(kCountAt, 4, bytes);
}

void appendMasters(std::string &data, std::span<const MasterFile> masters)
{
    for (const MasterFile &master : masters) {
        appendSubrecord(data, "MAST", master.name + '\0');
        std::string size;
        appendLe(size, master.size, 8);
        appendSubrecord(data, "DATA", size);
    }
}

} // namespace

std::string headerRecord(const PluginHeader &header)
{
    std::string hedr;
    appendLe(hedr, kVersion13, 4);
    appendLe(hedr, header.type, 4);
    hedr.resize(kHedrSize, '\0');
    putField(hedr, kAuthorAt, 32, header.author);
    putField(hedr, kDescriptionAt, 256, header.description);
    putCount(hedr, header.recordCount);
    std::string data;
    appendSubrecord(data, "HEDR", hedr);
    appendMasters(data, header.masters);
    return recordBytes("TES3", data);
}

std::optional<PluginHeader> readHeader(std::string_view data)
{
    PluginHeader header;
    bool hasHedr = false;
    Subrecords sub(data);
    while (sub.next()) {
        const std::string_view bytes = sub.data();
        if (sub.tag() == fourCC("HEDR")) {
            if (bytes.size() < kHedrSize)
                return std::nullopt;
            hasHedr = true;
            header.type = loadLe32(bytes.data() + 4);
            header.author = beforeNul(bytes.substr(kAuthorAt, 32));
            header.description = beforeNul(bytes.substr(kDescriptionAt, 256));
            header.recordCount = loadLe32(bytes.data() + kCountAt);
        } else if (sub.tag() == fourCC("MAST")) {
            header.masters.push_back({std::string(beforeNul(bytes)), 0});
        } else if (sub.tag() == fourCC("DATA") && bytes.size() >= 8 && !header.masters.empty()) {
            header.masters.back().size = loadLe64(bytes.data());
        }
    }
    if (sub.broken() || !hasHedr)
        return std::nullopt;
    return header;
}

std::optional<std::string> changedHeaderData(std::string_view data, const HeaderChange &change)
{
    if (!readHeader(data))
        return std::nullopt;
    // The new masters go after the last MAST and the DATA that follows it,
    // or after HEDR when there is none: the game reads them right after HEDR.
    std::size_t insertAt = 0;
    std::string out;
    Subrecords sub(data);
    std::uint32_t previous = 0;
    while (sub.next()) {
        const std::string_view bytes = sub.data();
        if (sub.tag() == fourCC("HEDR")) {
            std::string hedr(bytes);
            putCount(hedr, change.recordCount);
            if (change.author)
                putField(hedr, kAuthorAt, 32, *change.author);
            if (change.description)
                putField(hedr, kDescriptionAt, 256, *change.description);
            appendSubrecord(out, "HEDR", hedr);
        } else {
            out.append(bytes.data() - kSubrecordHeaderSize, kSubrecordHeaderSize + bytes.size());
        }
        if (sub.tag() == fourCC("HEDR") || sub.tag() == fourCC("MAST") ||
            (sub.tag() == fourCC("DATA") && previous == fourCC("MAST")))
            insertAt = out.size();
        previous = sub.tag();
    }
    std::string masters;
    appendMasters(masters, change.addedMasters);
    return out.insert(insertAt, masters);
}

} // namespace hw
