// Fuzz target for the plugin readers: any bytes as a plugin file. Besides
// crashes and sanitizer reports it catches wrong results, by comparing the
// NPC reader with a plain walk over the bytes held whole in memory, in place
// and copied at two buffer sizes that change with the input, so that records
// fall across block edges; the index reader with itself in place and copied,
// with the plain walk's verdict and NPC ids and with the NPC reader's
// verdict; the index built from it with its own counts and order; and the
// index built with the cells walked on a second thread with the one built
// on one.
#include "data/game_index_builder.hpp"
#include "data/record_reader.hpp"
#include "model/caseless.hpp"
#include "plugin/es_read.hpp"
#include "plugin/record_tags.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
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

// The sub-records of `data` walked plainly: the first NAME's data, or the
// fault that stops every reader at this record (for `needsName` a missing
// NAME too).
hw::ScanFault plainSubrecords(std::string_view data, bool needsName,
                              std::optional<std::string_view> &name)
{
    for (std::size_t sub = 0; sub < data.size();) {
        if (data.size() - sub < 8 || le32(data, sub + 4) > data.size() - sub - 8)
            return hw::ScanFault::SubrecordCutShort;
        const auto length = le32(data, sub + 4);
        if (!name && data.substr(sub, 4) == "NAME")
            name = data.substr(sub + 8, length);
        sub += 8 + length;
    }
    return needsName && !name ? hw::ScanFault::NoNameSubrecord : hw::ScanFault::None;
}

// The record walk in its simplest form, with the whole file at hand; the
// records the readers of ids look into are checked, and the NPC ids taken,
// only when `records` is set.
Expected plainWalk(std::string_view file, bool records = true)
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
        if (static_cast<std::uint64_t>(size) > hw::RecordWalk::kMaxDataSize) {
            out.fault = hw::ScanFault::RecordTooLarge;
            return out;
        }
        if (file.size() - at - 16 < static_cast<std::uint64_t>(size)) {
            out.fault = hw::ScanFault::DataCutShort;
            return out;
        }
        const auto data = file.substr(at + 16, static_cast<std::size_t>(size));
        const hw::RecordHeader header {le32(file, at), 0, at, static_cast<std::size_t>(size)};
        if (records && hw::readForIds(header)) {
            std::optional<std::string_view> name;
            const bool givesId = hw::kindOfTag(header.tag).has_value();
            if ((out.fault = plainSubrecords(data, givesId, name)) != hw::ScanFault::None)
                return out;
            if (file.substr(at, 4) == "NPC_")
                out.ids.push_back(
                    hw::toUtf8(name->substr(0, name->find('\0')), hw::CodePage::Windows1252));
        }
        at += 16 + static_cast<std::uint64_t>(size);
    }
    out.offset = 0;
    return out;
}

// The bytes as a file that can only be copied (a pipe, or any file on
// Windows), so that the block buffer is tried beside the reading in place.
struct CopyingSource final : hw::ByteSource
{
    explicit CopyingSource(std::string_view bytes)
        : memory(bytes)
    { }
    std::uint64_t size() const override { return memory.size(); }
    hw::ReadResult read(std::uint64_t offset, std::span<char> into) override
    {
        return memory.read(offset, into);
    }
    hw::MemorySource memory;
};

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "plugin reader fuzz: %s\n", what);
        std::abort();
    }
}

hw::ScanOutcome scanAndCompare(hw::ByteSource &source, std::size_t bufferSize,
                               const Expected &expected)
{
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
    return outcome;
}

// What the index reader hands on, written down.
struct Events final : hw::RecordSink
{
    std::string text;
    std::vector<std::string> npcIds;

    void masters(const std::vector<hw::MasterFile> &masters) override
    {
        for (const auto &master : masters)
            text += "M" + master.name + ' ' + std::to_string(master.size) + '\n';
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

hw::ScanOutcome readIndex(hw::ByteSource &source, std::size_t bufferSize, Events &sink)
{
    const auto outcome = hw::readRecords(source, sink, hw::CodePage::Windows1252, {}, bufferSize);
    check(outcome.has_value(), "a read that nobody cancelled was cancelled");
    return *outcome;
}

// The index reader gives the same copied at a small buffer size as in place,
// stops where the NPC reader and the plain walk stop, and gives the NPC ids
// that they give.
void indexAndCompare(std::string_view file, std::size_t smallBuffer, const Expected &expected,
                     const hw::ScanOutcome &npcs)
{
    CopyingSource copying(file);
    hw::MemorySource inPlace(file);
    Events small, large;
    const auto a = readIndex(copying, smallBuffer, small);
    const auto b = readIndex(inPlace, hw::RecordWalk::kDefaultBufferSize, large);
    check(small.text == large.text, "the index reader's results depend on how it reads");
    check(a.fault == b.fault && a.offset == b.offset && a.idCount == b.idCount,
          "the index reader's outcome depends on how it reads");
    check(small.npcIds == expected.ids, "the index reader's NPC ids differ from the plain walk");
    check(a.fault == expected.fault && a.offset == expected.offset,
          "the index reader stops where the plain walk does not");
    check(a.fault == npcs.fault && a.offset == npcs.offset,
          "the index reader and the NPC reader give two verdicts");
    check(hw::scanMessage("fuzz.esp", a).summary.empty() == a.complete(),
          "an index message is missing or one is given for a complete read");
}

hw::GameIndex buildIndex(std::string_view file, bool placements,
                         std::uint64_t splitFrom = std::numeric_limits<std::uint64_t>::max())
{
    hw::MemorySource source(file);
    hw::GameIndexBuilder builder;
    builder.splitFilesFrom(splitFrom);
    if (!placements)
        builder.leaveOutPlacements();
    builder.addSource(source, "fuzz.esp");
    return builder.finish();
}

// What the index answers of its ids, actors and file, written down.
std::string describe(const hw::GameIndex &index)
{
    std::string out;
    for (const auto kind : hw::kRecordKinds)
        for (const auto id : index.inOrder(kind)) {
            out.append(id) += '\n';
            if (const auto actor = index.actor(id))
                for (const auto &cell : actor->cells)
                    out += actor->id + " @ " + cell + '\n';
        }
    for (std::size_t group = 0; group < hw::kIdGroupCount; ++group) {
        const auto ids = index.sorted(static_cast<hw::IdGroup>(group));
        for (std::size_t n = 0; n < ids.size(); ++n)
            out.append(ids[n]) += '\n';
    }
    const auto &outcome = index.files().front().outcome;
    return out + std::to_string(static_cast<int>(outcome.fault)) + ' ' +
        std::to_string(outcome.offset) + ' ' + std::to_string(outcome.idCount);
}

// The index built from the bytes: its lists sorted and each id once, its
// counts those of its lists; and built without placements, which passes over
// the references another way, the same ids and the same verdict.
void buildAndCheck(std::string_view file)
{
    const auto index = buildIndex(file, true);
    const auto bare = buildIndex(file, false);
    for (const auto kind : hw::kRecordKinds) {
        const auto a = index.inOrder(kind), b = bare.inOrder(kind);
        check(std::equal(a.begin(), a.end(), b.begin(), b.end()),
              "the index without placements holds other ids");
    }
    const auto &full = index.files().front().outcome, &without = bare.files().front().outcome;
    check(full.fault == without.fault && full.offset == without.offset &&
              full.idCount == without.idCount,
          "the index without placements gives another verdict");
    for (std::size_t group = 0; group < hw::kIdGroupCount; ++group) {
        const auto ids = index.sorted(static_cast<hw::IdGroup>(group));
        for (std::size_t n = 1; n < ids.size(); ++n)
            check(hw::asciiCaselessLess(ids[n - 1], ids[n]), "a sorted list is out of order");
    }
    for (const auto kind : hw::kRecordKinds)
        check(index.inOrder(kind).size() == index.count(kind), "a count differs from its list");
    for (const auto id : index.inOrder(hw::RecordKind::Npc)) {
        const auto actor = index.actor(id);
        check(actor.has_value(), "an NPC of the list is not found");
        check(index.placementCount(id) == actor->cells.size(),
              "an NPC's count of placements differs from its cells");
    }
    check(describe(buildIndex(file, true, 0)) == describe(index),
          "the index read on two threads differs from the one read on one");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char *>(data), size);
    const auto expected = plainWalk(file);
    CopyingSource copying(file);
    scanAndCompare(copying, 16 + size % 61, expected);
    // Large enough for the walk to pass over gaps and read short blocks at
    // the next header, as it does with its default buffer on real files.
    CopyingSource copyingAgain(file);
    scanAndCompare(copyingAgain, 20000 + size % 45000, expected);
    hw::MemorySource inPlace(file);
    const auto npcs = scanAndCompare(inPlace, hw::ESRead::kDefaultBufferSize, expected);
    indexAndCompare(file, 16 + size % 61, expected, npcs);
    buildAndCheck(file);
    return 0;
}
