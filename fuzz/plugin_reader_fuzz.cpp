// Fuzz target for the plugin readers: any bytes as a plugin file. Besides
// crashes and sanitizer reports it catches wrong results, by comparing the
// block-wise NPC reader with a plain walk over the bytes held whole in memory,
// at two buffer sizes that change with the input, so that records fall
// across block edges; and the index reader with itself at those sizes, with
// the plain walk's record headers and with its NPC ids, and the index built
// from it with its own counts and order.
#include "data/game_index_builder.hpp"
#include "data/record_reader.hpp"
#include "model/caseless.hpp"
#include "plugin/es_read.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
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

// The record walk in its simplest form, with the whole file at hand; the
// NPC ids are taken (and their faults found) only when `npcIds` is set.
Expected plainWalk(std::string_view file, bool npcIds = true)
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
        if (npcIds && file.substr(at, 4) == "NPC_") {
            // The first NAME sub-record's data up to its first NUL.
            std::optional<std::string_view> name;
            for (std::size_t sub = 0; sub < data.size();) {
                if (data.size() - sub < 8 || le32(data, sub + 4) > data.size() - sub - 8) {
                    out.fault = hw::ScanFault::SubrecordCutShort;
                    return out;
                }
                const auto length = le32(data, sub + 4);
                if (!name && data.substr(sub, 4) == "NAME")
                    name = data.substr(sub + 8, length);
                sub += 8 + length;
            }
            if (!name) {
                out.fault = hw::ScanFault::NoNameSubrecord;
                return out;
            }
            out.ids.push_back(
                hw::toUtf8(name->substr(0, name->find('\0')), hw::CodePage::Windows1252));
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

// What the index reader hands on, written down.
struct Events final : hw::RecordSink
{
    std::string text;
    std::vector<std::string> npcIds;

    void masters(const std::vector<std::string> &names) override
    {
        for (const auto &name : names)
            text += "M" + name + '\n';
    }
    void record(const hw::IdRecord &r) override
    {
        text += "R" + std::to_string(static_cast<int>(r.kind)) + std::string(r.id) + '|' +
            std::string(r.shown) + std::to_string(r.flags) + (r.deleted ? "D\n" : "\n");
        if (r.kind == hw::RecordKind::Npc)
            npcIds.emplace_back(r.id);
    }
    void cell(const hw::CellRecord &c) override
    {
        text += "C" + place(c.place) + std::string(c.region) + (c.deleted ? "D\n" : "\n");
    }
    void reference(const hw::CellReference &r) override
    {
        text += "F" + std::to_string(r.refNum) + std::string(r.object) +
            (r.movedTo ? place(*r.movedTo) : "") + (r.deleted ? "D\n" : "\n");
    }
    static std::string place(const hw::CellPlace &p)
    {
        return std::string(p.name) + std::to_string(p.x) + ',' + std::to_string(p.y) +
            (p.interior ? "I" : "E");
    }
};

hw::ScanOutcome readIndex(std::string_view file, std::size_t bufferSize, Events &sink)
{
    hw::MemorySource source(file);
    const auto outcome = hw::readRecords(source, sink, hw::CodePage::Windows1252, {}, bufferSize);
    check(outcome.has_value(), "a read that nobody cancelled was cancelled");
    return *outcome;
}

bool insideRecords(hw::ScanFault fault)
{
    return fault == hw::ScanFault::SubrecordCutShort || fault == hw::ScanFault::NoNameSubrecord;
}

// The index reader gives the same at both buffer sizes, stops either where
// the record headers end or earlier, inside a record, and gives the NPC ids
// that the NPC reader gives, up to where it stops.
void indexAndCompare(std::string_view file, std::size_t smallBuffer, const Expected &npcs)
{
    Events small, large;
    const auto a = readIndex(file, smallBuffer, small);
    const auto b = readIndex(file, hw::RecordWalk::kDefaultBufferSize, large);
    check(small.text == large.text, "the index reader's results depend on its buffer size");
    check(small.npcIds.size() <= npcs.ids.size() &&
              std::equal(small.npcIds.begin(), small.npcIds.end(), npcs.ids.begin()),
          "the index reader's NPC ids differ from the NPC reader's");
    check(!a.complete() || small.npcIds.size() == npcs.ids.size(),
          "the index reader reads fewer NPC ids than the NPC reader");
    check(a.fault == b.fault && a.offset == b.offset && a.idCount == b.idCount,
          "the index reader's outcome depends on its buffer size");
    const auto headers = plainWalk(file, false);
    const bool sameAsHeaders = a.fault == headers.fault && a.offset == headers.offset;
    const bool earlier = insideRecords(a.fault) &&
        (headers.fault == hw::ScanFault::None || a.offset < headers.offset);
    check(sameAsHeaders || earlier, "the index reader stops where the record headers do not");
    check(hw::scanMessage("fuzz.esp", a).summary.empty() == a.complete(),
          "an index message is missing or one is given for a complete read");
}

// The index built from the bytes: its lists sorted and each id once, its
// counts those of its lists.
void buildAndCheck(std::string_view file)
{
    hw::MemorySource source(file);
    hw::GameIndexBuilder builder;
    builder.addSource(source, "fuzz.esp");
    const auto index = builder.finish();
    for (std::size_t group = 0; group < hw::kIdGroupCount; ++group) {
        const auto ids = index.sorted(static_cast<hw::IdGroup>(group));
        for (std::size_t n = 1; n < ids.size(); ++n)
            check(hw::caselessLess(ids[n - 1], ids[n]), "a sorted list is out of order");
    }
    for (const auto kind : hw::kRecordKinds)
        check(index.inOrder(kind).size() == index.count(kind), "a count differs from its list");
    for (const auto id : index.inOrder(hw::RecordKind::Npc))
        check(index.actor(id).has_value(), "an NPC of the list is not found");
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
    indexAndCompare(file, 16 + size % 61, expected);
    buildAndCheck(file);
    return 0;
}
