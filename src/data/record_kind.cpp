#include "data/record_kind.hpp"

#include "model/caseless.hpp"

namespace hw {

std::string_view recordKindName(RecordKind kind)
{
    constexpr std::string_view kNames[] = {"npc",    "creature", "item",  "spell",
                                           "object", "cell",     "region"};
    return kNames[static_cast<std::size_t>(kind)];
}

std::optional<RecordKind> recordKindFromName(std::string_view name)
{
    for (const auto kind : kRecordKinds)
        if (caselessEqual(name, recordKindName(kind)))
            return kind;
    return std::nullopt;
}

} // namespace hw
