#include "synthetic_master.hpp"

#include "plugin_writer.hpp"

#include <cstdio>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace hw::bench {

namespace {

using hw::test::le32;
using hw::test::record;
using hw::test::subrecord;
using hw::test::textSubrecord;

// Counts per group in the order the game's editor writes them; as they stand
// they make kNominalBytes, and they are scaled to the size asked for.
struct Group
{
    const char *tag;
    std::uint32_t count;
    std::uint32_t minSize; // size range of a plain record's data
    std::uint32_t maxSize;
};

constexpr Group kGroups[] = {
    {"GMST", 1400, 20, 80},    {"GLOB", 70, 30, 40},    {"CLAS", 80, 150, 400},
    {"FACT", 25, 800, 2000},   {"RACE", 10, 800, 2000}, {"SOUN", 400, 50, 80},
    {"SKIL", 27, 100, 400},    {"MGEF", 137, 200, 500}, {"SCPT", 630, 200, 6000},
    {"REGN", 9, 300, 600},     {"BSGN", 13, 100, 300},  {"LTEX", 100, 40, 80},
    {"STAT", 2800, 60, 150},   {"DOOR", 140, 80, 160},  {"MISC", 540, 100, 200},
    {"WEAP", 480, 120, 250},   {"CONT", 900, 100, 600}, {"SPEL", 980, 60, 200},
    {"CREA", 260, 400, 2000},  {"BODY", 1100, 60, 120}, {"LIGH", 570, 100, 200},
    {"ENCH", 700, 40, 200},    {"NPC_", 2700, 0, 0},    {"ARMO", 280, 150, 400},
    {"CLOT", 510, 120, 300},   {"ACTI", 700, 60, 150},  {"INGR", 95, 150, 250},
    {"BOOK", 570, 200, 12000}, {"ALCH", 260, 120, 250}, {"LEVI", 230, 100, 800},
    {"LEVC", 120, 100, 600},   {"CELL", 2000, 0, 0},    {"LAND", 1300, 0, 0},
    {"PGRD", 1100, 500, 9000}, {"SNDG", 170, 60, 100},  {"DIAL", 2200, 20, 40},
    {"INFO", 25000, 0, 0},
};

constexpr std::uint64_t kNominalBytes = 90700ull * 1000;

class Writer
{
public:
    explicit Writer(const std::filesystem::path &file)
        : m_file(std::fopen(file.string().c_str(), "wb"))
    {
        if (!m_file)
            throw std::runtime_error("cannot write " + file.string());
        m_pending.reserve(kFlushAt + 200000);
    }
    ~Writer()
    {
        if (m_file)
            std::fclose(m_file);
    }

    void add(const std::string &record)
    {
        m_pending += record;
        m_info.bytes += record.size();
        ++m_info.records;
        if (record.compare(0, 4, "NPC_") == 0)
            ++m_info.npcRecords;
        if (m_pending.size() >= kFlushAt)
            flush();
    }

    MasterInfo finish()
    {
        flush();
        const bool ok = std::fclose(m_file) == 0;
        m_file = nullptr;
        if (!ok)
            throw std::runtime_error("cannot finish the synthetic master");
        return m_info;
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 20;

    void flush()
    {
        if (std::fwrite(m_pending.data(), 1, m_pending.size(), m_file) != m_pending.size())
            throw std::runtime_error("cannot write the synthetic master");
        m_pending.clear();
    }

    std::FILE *m_file;
    std::string m_pending;
    MasterInfo m_info;
};

class Maker
{
public:
    std::uint32_t between(std::uint32_t low, std::uint32_t high)
    {
        return low + static_cast<std::uint32_t>(m_random() % (high - low + 1));
    }

    // Text that reads like scripts and dialogue: words, NPC ids, and now and
    // then the bytes a scanner looks for.
    std::string text(std::size_t size)
    {
        static constexpr std::string_view kWords[] = {
            "the ",    "Balmora ", "AddItem ", "NPC_ ",         "NAME ",  "if ( GetJournalIndex ",
            "endif ",  "set ",     "caius ",   "\"fargoth\"->", "Vivec ", "you ",
            "Dwemer ",
        };
        std::string out;
        out.reserve(size + 24);
        while (out.size() < size)
            out += kWords[m_random() % std::size(kWords)];
        out.resize(size);
        return out;
    }

    std::string npcId() { return "npc_" + std::to_string(m_random() % 100000) + " id"; }

    std::string filler(std::size_t size)
    {
        std::string out(size, '\0');
        for (std::size_t i = 0; i < size; i += 8)
            out[i] = static_cast<char>(m_random());
        return out;
    }

    std::string plain(const Group &group)
    {
        const auto size = between(group.minSize, group.maxSize);
        const std::string id = npcId().substr(0, 12);
        // A script record is known by its header (SCHD), whose name field has 32 bytes.
        if (group.tag == std::string_view("SCPT"))
            return record(group.tag,
                          subrecord("SCHD", id + std::string(52 - id.size(), '\0')) +
                              subrecord("SCTX", text(size)));
        std::string data = textSubrecord("NAME", id);
        if (group.tag == std::string_view("BOOK"))
            data += subrecord("TEXT", text(size));
        else
            data += subrecord("DATA", filler(size));
        return record(group.tag, data);
    }

    std::string npc()
    {
        m_npcs.push_back(npcId());
        std::string data = textSubrecord("NAME", m_npcs.back()) +
            textSubrecord("FNAM", text(between(5, 24))) + textSubrecord("RNAM", "Dark Elf") +
            textSubrecord("CNAM", "Commoner") + textSubrecord("ANAM", "Hlaalu") +
            textSubrecord("BNAM", "b_n_dark elf_m_head_01") +
            textSubrecord("KNAM", "b_n_dark elf_m_hair_01") + subrecord("NPDT", filler(52)) +
            subrecord("FLAG", le32(0x18));
        for (auto items = between(0, 12); items > 0; --items)
            data += subrecord("NPCO", le32(1) + text(32));
        for (auto spells = between(0, 8); spells > 0; --spells)
            data += subrecord("NPCS", text(32));
        data += subrecord("AIDT", filler(12));
        return record("NPC_", data, std::nullopt, 0x400);
    }

    // What a reference places: as in a real master, mostly statics and other
    // things, and one in fifty an NPC, so that each NPC stands a few times.
    std::string placedObject()
    {
        if (between(0, 49) == 0 && !m_npcs.empty())
            return m_npcs[m_random() % m_npcs.size()];
        return "static_" + std::to_string(m_random() % 3000);
    }

    // Exteriors hold a few references, interiors up to several hundred. As in
    // a real master, interiors go by name and exteriors by their grid
    // position, a few of them named too, and every reference has a number of
    // its own within the file.
    std::string cell()
    {
        const bool interior = between(0, 9) < 4;
        const auto grid = m_cells++;
        const std::uint32_t flags = interior ? 1 : 0;
        std::string name = interior ? text(between(5, 30)) + ' ' + std::to_string(grid)
            : between(0, 7) == 0    ? text(between(5, 20))
                                    : std::string();
        std::string data = textSubrecord("NAME", name) +
            subrecord("DATA", le32(flags) + le32(grid % 128 - 64) + le32(grid / 128 - 64));
        if (!interior)
            data += textSubrecord("RGNN", "Ascadian Isles Region");
        const auto references = between(0, 9) < 6 ? between(3, 50) : between(60, 800);
        for (std::uint32_t i = 0; i < references; ++i)
            data += subrecord("FRMR", le32(++m_references)) +
                textSubrecord("NAME", placedObject()) + subrecord("DATA", filler(24));
        return record("CELL", data);
    }

    std::string land()
    {
        return record("LAND",
                      subrecord("INTV", filler(8)) + subrecord("DATA", le32(9)) +
                          subrecord("VNML", filler(12675)) + subrecord("VHGT", filler(4232)) +
                          subrecord("WNAM", filler(81)) + subrecord("VCLR", filler(12675)) +
                          subrecord("VTEX", filler(512)));
    }

    std::string info()
    {
        return record("INFO",
                      textSubrecord("INAM", "1234567890123456789") +
                          textSubrecord("PNAM", "98765432109876543") + textSubrecord("NNAM", "") +
                          subrecord("DATA", filler(12)) + textSubrecord("ONAM", npcId()) +
                          subrecord("NAME", text(between(60, 600))) +
                          subrecord("SCVR", text(between(0, 40))));
    }

    std::string make(const Group &group)
    {
        const std::string_view tag = group.tag;
        if (tag == "NPC_")
            return npc();
        if (tag == "CELL")
            return cell();
        if (tag == "LAND")
            return land();
        if (tag == "INFO")
            return info();
        return plain(group);
    }

private:
    std::mt19937_64 m_random {80};
    std::uint32_t m_cells = 0;
    std::uint32_t m_references = 0;
    std::vector<std::string> m_npcs;
};

} // namespace

MasterInfo writeSyntheticMaster(const std::filesystem::path &file, std::uint64_t targetBytes)
{
    Writer writer(file);
    Maker maker;
    writer.add(hw::test::headerRecord());
    const double scale = static_cast<double>(targetBytes) / static_cast<double>(kNominalBytes);
    for (const auto &group : kGroups) {
        const auto count = static_cast<std::uint64_t>(group.count * scale + 0.5);
        for (std::uint64_t i = 0; i < count; ++i)
            writer.add(maker.make(group));
    }
    return writer.finish();
}

void writeCrowdPlugin(const std::filesystem::path &file, std::uint32_t cells)
{
    Writer writer(file);
    writer.add(hw::test::headerRecord());
    writer.add(record("NPC_", textSubrecord("NAME", "crowd"), std::nullopt, 0x400));
    for (std::uint32_t cell = 0; cell < cells; ++cell)
        writer.add(record("CELL",
                          textSubrecord("NAME", "Crowded Hall " + std::to_string(cell)) +
                              subrecord("DATA", le32(1) + le32(0) + le32(0)) +
                              subrecord("FRMR", le32(cell + 1)) + textSubrecord("NAME", "crowd") +
                              subrecord("DATA", std::string(24, '\0'))));
    writer.finish();
}

void writeHugeRecordFile(const std::filesystem::path &file)
{
    constexpr std::int32_t kClaimed = 0x7FFFFFF0;
    {
        Writer writer(file);
        writer.add(hw::test::headerRecord());
        writer.add(record("NPC_", {}, kClaimed));
        writer.finish();
    }
    // The claimed bytes are there, as a hole that takes no disk space.
    std::filesystem::resize_file(file, std::filesystem::file_size(file) + kClaimed);
}

namespace {

// Ids in the manner of real ones: words, blanks and underscores, numbers.
std::string randomId(std::mt19937 &random, std::size_t serial)
{
    static const char *const words[] = {"dark elf", "Guard", "hlaalu", "Redoran", "ord",     "m",
                                        "f",        "Arena", "_",      "TR",      "wanderer"};
    std::string id;
    for (auto n = 1 + random() % 3; n > 0; --n)
        id += std::string(words[random() % std::size(words)]) + '_';
    return id + std::to_string(serial);
}

} // namespace

std::string pluginOf200kIds()
{
    struct Share
    {
        const char *tag;
        int count;
    };
    constexpr Share kShares[] = {{"NPC_", 30000}, {"CREA", 10000}, {"MISC", 50000}, {"WEAP", 30000},
                                 {"BOOK", 30000}, {"SPEL", 20000}, {"CONT", 10000}, {"DOOR", 10000},
                                 {"REGN", 1000},  {"CELL", 9000}};
    std::mt19937 random(13);
    std::string plugin = hw::test::headerRecord();
    std::size_t serial = 0;
    for (const auto &share : kShares) {
        for (int n = 0; n < share.count; ++n) {
            const std::string id = randomId(random, ++serial);
            std::string data = textSubrecord("NAME", id);
            if (share.tag == std::string_view("REGN"))
                data += textSubrecord("FNAM", id + " Region");
            if (share.tag == std::string_view("CELL")) {
                data += subrecord("DATA", le32(1) + le32(0) + le32(0));
                for (int r = 0; r < 5; ++r)
                    data += subrecord("FRMR", le32(static_cast<std::uint32_t>(serial * 8 + r))) +
                        textSubrecord("NAME", "guard_" + std::to_string(random() % 30000));
            }
            plugin += record(share.tag, data, std::nullopt, 0x400);
        }
    }
    return plugin;
}

} // namespace hw::bench
