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

std::optional<IdGroup> idGroupOfField(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Actor:
        return IdGroup::Actor;
    case FieldKind::ActivateTarget:
        return IdGroup::ActivateTarget;
    case FieldKind::CastTarget:
        return IdGroup::CastTarget;
    case FieldKind::Item:
        return IdGroup::Item;
    case FieldKind::Spell:
        return IdGroup::Spell;
    case FieldKind::Place:
        return IdGroup::Place;
    default:
        return std::nullopt;
    }
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
