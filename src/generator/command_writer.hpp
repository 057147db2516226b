#pragma once

#include <string>
#include <string_view>

namespace hw {

/// The line written in place of the command of an unknown action.
inline constexpr std::string_view kUnknownActionLine = "       ;Some error occured here!";

/// True when `action` names one of the actions writeCommand writes a command
/// for, letter case ignored.
bool hasCommand(std::string_view action);

/// Appends the script lines of one entry's action, each ending in CR LF: the
/// game command with the NPC id as its target and the entry's options as its
/// arguments. `action` is compared with the 33 action names, letter case
/// ignored; `options` is the entry's option list ("" if none), split only at
/// "/" outside double quotes. For an unknown action the error line is written
/// instead and false is returned. With `checkVisibility`, the actions that
/// make the NPC appear, vanish or jump to a place run only while the player
/// cannot see it (GetLOS); without it they run at once.
bool writeCommand(std::string &script, std::string_view npcId, std::string_view action,
                  std::string_view options, bool checkVisibility = true);

} // namespace hw
