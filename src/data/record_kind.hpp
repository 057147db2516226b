#pragma once

#include "plugin/record_tags.hpp"

#include <optional>
#include <string_view>

namespace hw {

/// The kind's name as the command line spells it: "npc", "creature", ...
std::string_view recordKindName(RecordKind kind);

/// The kind named `name` (as recordKindName gives it, letter case ignored).
std::optional<RecordKind> recordKindFromName(std::string_view name);

} // namespace hw
