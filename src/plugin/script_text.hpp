#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

// What the writer reads in a script's text: bytes of the game's code page,
// lines ending in CR LF or LF. Keywords and names are compared as the script
// language compares them, ASCII letter case ignored.

/// The local variables a script declares, each kind in declaration order.
struct ScriptLocals
{
    std::vector<std::string> shorts, longs, floats;

    bool operator==(const ScriptLocals &) const = default;
};

/// The locals that the lines of `text` declare: a line whose first word is
/// Short, Long or Float declares the word after it. A name declared twice
/// counts once.
ScriptLocals scriptLocals(std::string_view text);

/// True when a line of `text` starts the script `name` ("StartScript NAME",
/// the name perhaps in double quotes); a line the author made a comment of
/// (";StartScript NAME") counts too, since it says the author left it out.
bool startsScript(std::string_view text, std::string_view name);

/// `text` with a "StartScript NAME" line for each of `names` after its last
/// StartScript line, or where there is none before its line "Set hrw_last to
/// hrw_hour" (the central script's hour block); each new line takes the indent
/// and line end of the line it follows or precedes. Nothing when the text has
/// neither line.
std::optional<std::string> withStartScripts(std::string_view text,
                                            std::span<const std::string> names);

} // namespace hw
