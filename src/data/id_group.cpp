#include "data/id_group.hpp"

namespace hw {

namespace {

constexpr KindMask kActors = kindMask(RecordKind::Npc) | kindMask(RecordKind::Creature);

} // namespace

KindMask kindsOf(IdGroup group)
{
    switch (group) {
    case IdGroup::Actor:
    case IdGroup::CastTarget:
        return kActors;
    case IdGroup::ActivateTarget:
        return kActors | kindMask(RecordKind::Object) | kindMask(RecordKind::Item);
    case IdGroup::Place:
        return kindMask(RecordKind::Cell) | kindMask(RecordKind::Region);
    default:
        break;
    }
    return kindMask(static_cast<RecordKind>(group));
}

std::optional<IdGroup> idGroupOfField(std::string_view action, std::string_view caption)
{
    if (caption == "Target:") {
        if (action == "Activate")
            return IdGroup::ActivateTarget;
        return action == "Cast" ? IdGroup::CastTarget : IdGroup::Actor;
    }
    if (caption == "Item ID:")
        return IdGroup::Item;
    if (caption == "Spell ID:" || caption == "Spell:")
        return IdGroup::Spell;
    if (caption == "Cell ID:")
        return IdGroup::Place;
    return std::nullopt;
}

std::string_view idGroupWords(IdGroup group)
{
    constexpr std::string_view kWords[] = {
        "an NPC",
        "a creature",
        "an item",
        "a spell",
        "an object",
        "a cell",
        "a region",
        "an NPC or creature",
        "an object, item, NPC or creature",
        "an NPC or creature",
        "a cell or region",
    };
    return kWords[static_cast<std::size_t>(group)];
}

} // namespace hw
