#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

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

/// The kind's name as the command line spells it: "npc", "creature", ...
std::string_view recordKindName(RecordKind kind);

/// The kind named `name` (as recordKindName gives it, letter case ignored).
std::optional<RecordKind> recordKindFromName(std::string_view name);

} // namespace hw
