#include "plugin/record_tags.hpp"

namespace hw {

// A switch over the tags as numbers: the compiler makes it a search that
// costs little for each of the hundreds of thousands of records.
std::optional<RecordKind> kindOfTag(std::uint32_t tag)
{
    switch (tag) {
    case fourCC("NPC_"):
        return RecordKind::Npc;
    case fourCC("CREA"):
    case fourCC("LEVC"):
        return RecordKind::Creature;
    case fourCC("ALCH"):
    case fourCC("APPA"):
    case fourCC("ARMO"):
    case fourCC("BOOK"):
    case fourCC("CLOT"):
    case fourCC("INGR"):
    case fourCC("LIGH"):
    case fourCC("LOCK"):
    case fourCC("MISC"):
    case fourCC("PROB"):
    case fourCC("REPA"):
    case fourCC("WEAP"):
    case fourCC("LEVI"):
        return RecordKind::Item;
    case fourCC("SPEL"):
        return RecordKind::Spell;
    case fourCC("ACTI"):
    case fourCC("CONT"):
    case fourCC("DOOR"):
        return RecordKind::Object;
    case fourCC("REGN"):
        return RecordKind::Region;
    default:
        return std::nullopt;
    }
}

bool readForIds(const RecordHeader &header)
{
    return header.offset == 0 || header.tag == fourCC("CELL") || kindOfTag(header.tag).has_value();
}

} // namespace hw
