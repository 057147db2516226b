#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace hw::bench {

/// What was written.
struct MasterInfo
{
    std::uint64_t bytes = 0;
    std::uint64_t records = 0;
    std::uint64_t npcRecords = 0;
};

/// Writes a synthetic master file of about `targetBytes` with the mix of a
/// real one, scaled to size: groups of small records (settings, items,
/// spells, scripts, books, a few thousand NPCs), cells of up to tens of
/// kilobytes whose references place NPCs and other things, landscape records
/// of about 30 KB, path grids, and tens of thousands of dialogue records.
/// NPC ids and the bytes "NPC_" and "NAME" also stand in the text of other
/// records. The same size gives the same bytes. Throws std::runtime_error
/// when the file cannot be written.
MasterInfo writeSyntheticMaster(const std::filesystem::path &file, std::uint64_t targetBytes);

/// Writes a plugin whose one NPC, "crowd", stands in `cells` interior cells,
/// once in each. Throws std::runtime_error when it cannot be written.
void writeCrowdPlugin(const std::filesystem::path &file, std::uint32_t cells);

/// Writes a sparse file of a little over 2 GiB: a header record, then an NPC
/// record whose data size claims all the rest, which holds only zeros.
/// Throws std::runtime_error when it cannot be written.
void writeHugeRecordFile(const std::filesystem::path &file);

/// The bytes of a plugin of 200,000 ids of every kind, in the shares of a
/// large load order, with a few references in each cell. The same every time.
std::string pluginOf200kIds();

} // namespace hw::bench
