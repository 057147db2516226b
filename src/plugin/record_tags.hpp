#pragma once

#include "plugin/record_walk.hpp"

#include <array>
#include <cstdint>
#include <optional>

namespace hw {

/// The kinds of ids a schedule can name, each from its own records.
enum class RecordKind : std::uint8_t {
    Npc, ///< NPC_
    Creature, ///< CREA, LEVC
    Item, ///< ALCH APPA ARMO BOOK CLOT INGR LIGH LOCK MISC PROB REPA WEAP LEVI
    Spell, ///< SPEL
    Object, ///< ACTI CONT DOOR
    Cell, ///< the names of CELL records (interiors and named exteriors)
    Region, ///< the display names (FNAM) of REGN records
};

inline constexpr std::array<RecordKind, 7> kRecordKinds = {
    RecordKind::Npc,    RecordKind::Creature, RecordKind::Item,   RecordKind::Spell,
    RecordKind::Object, RecordKind::Cell,     RecordKind::Region,
};

/// The kind of id that a record tagged `tag` gives by its NAME; nothing for
/// the records that give none, and for CELL, whose names are read apart.
std::optional<RecordKind> kindOfTag(std::uint32_t tag);

/// True for the records whose data the readers of ids look into: the header
/// record at offset 0, CELL, and those that give an id (kindOfTag).
bool readForIds(const RecordHeader &header);

} // namespace hw
