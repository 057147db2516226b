#pragma once

#include <string>
#include <string_view>

namespace hw {

/// The most characters a script's name may have: the script record keeps it
/// in 32 bytes of the game's single-byte code page, the last a NUL.
inline constexpr std::size_t kScriptNameLimit = 31;

/// A schedule script's name, and whether it had to differ from the NPC id.
struct ScriptName
{
    std::string name;
    /// Characters that a script name cannot hold were replaced by "_".
    bool replaced = false;
    /// The id was too long for the name and was cut short.
    bool shortened = false;

    bool changed() const { return replaced || shortened; }
};

/// The name of the NPC's schedule script, the same in its Begin line, its
/// StopScript, the central script and a plugin. As a rule the NPC id in lower
/// case, each blank turned into "_", followed by "_sched_sc_01". When that is
/// no name the game can hold, each character it refuses becomes "_", the id
/// is cut to fit 31 characters, and a hash of the whole id goes before
/// "_sched_sc_01", so that two NPCs do not share a name.
ScriptName scriptNameOf(std::string_view npcId);

/// scriptNameOf's name.
std::string scheduleScriptName(std::string_view npcId);

} // namespace hw
