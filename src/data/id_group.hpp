#pragma once

#include "data/id_table.hpp"
#include "data/record_kind.hpp"
#include "model/catalogue.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace hw {

/// The ids an option field takes: the lists the window completes from and
/// the checks look ids up in.
enum class IdGroup : std::uint8_t {
    // One kind each, in the order of RecordKind.
    Npc,
    Creature,
    Item,
    Spell,
    Object,
    Cell,
    Region,
    Actor, ///< NPCs and creatures: "Target:" of Follow, Escort and Attack
    ActivateTarget, ///< objects, items, NPCs and creatures: "Target:" of Activate
    CastTarget, ///< NPCs, creatures and "player": "Target:" of Cast
    Place, ///< cells and regions: "Cell ID:"
};

inline constexpr std::size_t kIdGroupCount = 11;

/// The id every "Target:" field knows besides those of the game's files.
inline constexpr std::string_view kPlayerId = "player";

constexpr IdGroup idGroupOf(RecordKind kind)
{
    return static_cast<IdGroup>(kind);
}

/// The kinds whose ids make up `group`.
KindMask kindsOf(IdGroup group);

/// The ids an option field of `kind` takes; nothing for a field that takes no id.
std::optional<IdGroup> idGroupOfField(FieldKind kind);

/// What the ids of `group` are, in words: "an NPC or creature", "an item", ...
std::string_view idGroupWords(IdGroup group);

} // namespace hw
