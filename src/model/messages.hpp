#pragma once

#include <string_view>

namespace hw {

// The texts that the window and the command-line program show alike.
inline constexpr std::string_view kNpcNameMissing = "NPC Name not specified!";
inline constexpr std::string_view kNpcNameHasQuote = "NPC Name cannot contain double quotes!";
inline constexpr std::string_view kNpcNameHasControl =
    "NPC Name cannot contain line breaks or control characters!";
inline constexpr std::string_view kNoTasks = "No tasks specified!";
inline constexpr std::string_view kOverwriteQuestion = "Overwrite existing text?";
inline constexpr std::string_view kCommandDataNotFound = "Command data not found!";

} // namespace hw
