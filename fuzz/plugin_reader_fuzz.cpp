// Fuzz target for the plugin reader: any bytes as a plugin file. Besides
// crashes and sanitizer reports it catches wrong results, by comparing the
// block-wise reader with a plain walk over the bytes held whole in memory,
// at two buffer sizes that change with the input, so that records fall
// across block edges.
#include "plugin/es_read.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::uint32_t le32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

struct Expected
{
    std::vector<std::string> ids;
    hw::ScanFault fault = hw::ScanFault::None;
    std::uint64_t offset = 0;
};

// The record walk in its simplest form, with the whole file at hand.
Expected plainWalk(std::string_view file)
{
    Expected out;
    if (!file.starts_with("TES3")) {
        out.fault = hw::ScanFault::NotAPlugin;
        return out;
    }
    std::uint64_t at = 0;
    while (at < file.size()) {
        out.offset = at;
        if (file.size() - at < 16) {
            out.fault = hw::ScanFault::HeaderCutShort;
            return out;
        }
        const auto size = static_cast<std::int32_t>(le32(file, at + 4));
        if (size < 0) {
            out.fault = hw::ScanFault::NegativeDataSize;
            return out;
        }
        if (file.size() - at - 16 < static_cast<std::uint64_t>(size)) {
            out.fault = hw::ScanFault::DataCutShort;
            return out;
        }
        const auto data = file.substr(at + 16, static_cast<std::size_t>(size));
        if (file.substr(at, 4) == "NPC_") {
            const auto name = data.find("NAME");
            if (name == std::string_view::npos) {
                out.fault = hw::ScanFault::NoNameSubrecord;
                return out;
            }
            if (name + 8 > data.size()) {
                out.fault = hw::ScanFault::NameAtDataEnd;
                return out;
            }
            const auto length = le32(data, name + 4);
            if (length == 0) {
                out.fault = hw::ScanFault::ZeroNameLength;
                return out;
            }
            out.ids.push_back(
                hw::toUtf8(data.substr(name + 8, length - 1), hw::CodePage::Windows1252));
        }
        at += 16 + static_cast<std::uint64_t>(size);
    }
    out.offset = 0;
    return out;
}

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "plugin reader fuzz: %s\n", what);
        std::abort();
    }
}

void scanAndCompare(std::string_view file, std::size_t bufferSize, const Expected &expected)
{
    hw::MemorySource source(file);
    hw::ESRead reader(bufferSize);
    const auto outcome = reader.ReadNPCNames(source);
    check(!reader.NPCNames.empty(), "the list is empty after a scan");
    check(outcome.fault == expected.fault, "the outcome differs from the plain walk");
    check(outcome.offset == expected.offset, "the offset differs from the plain walk");
    check(outcome.idCount == expected.ids.size(), "the id count differs from the plain walk");
    if (expected.ids.empty()) {
        check(reader.NPCNames.size() == 1 && reader.NPCNames[0].empty(),
              "a scan without ids does not leave one empty string");
    } else {
        check(reader.NPCNames == expected.ids, "the ids differ from the plain walk");
    }
    check(hw::scanMessage("fuzz.esp", outcome).summary.empty() == outcome.complete(),
          "a message is missing or one is given for a complete scan");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char *>(data), size);
    const auto expected = plainWalk(file);
    scanAndCompare(file, 16 + size % 61, expected);
    // Large enough for the walk to pass over gaps and read short blocks at
    // the next header, as it does with its default buffer on real files.
    scanAndCompare(file, 20000 + size % 45000, expected);
    return 0;
}
