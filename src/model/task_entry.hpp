#pragma once

#include "model/catalogue.hpp"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// The separator between time, action and option list.
inline constexpr std::string_view kEntrySeparator = " > ";

/// The state of one option field as Add Task reads it.
struct OptionField
{
    bool enabled = false;
    std::string text;
};
using OptionFields = std::array<OptionField, kOptionFieldCount>;

/// Why Add Task refuses the author's choices.
enum class EntryRefusal {
    RequiredFieldEmpty, ///< a text option is empty
    TextHasQuote, ///< a text option holds a double quote
    TextHasControl, ///< a text option holds a line break, a tab or another control character
    NumberOutOfRange, ///< a number option does not fit a double
};

/// True when `text` holds a control character (bytes 0x00 to 0x1F and 0x7F, the
/// tab included): a line end inside an id or a text option would split a line
/// of the script, and the game's script compiler reads a tab as a separator.
bool hasControlCharacter(std::string_view text);

/// `text` with each control character (as hasControlCharacter sees them)
/// written as "\x" and two upper-case hexadecimal digits, so that it shows on
/// one line of a terminal; every other byte stays as it is.
std::string showControlCharacters(std::string_view text);

/// The message the author sees for a refusal.
std::string_view refusalMessage(EntryRefusal refusal);

/// A built task entry, or the reason it was refused and the field at fault.
struct EntryResult
{
    std::string entry;
    std::optional<EntryRefusal> refusal;
    int field = -1;

    bool ok() const { return !refusal.has_value(); }
};

/// Builds the task entry for `time`, `action` and the enabled fields: time,
/// " > ", action, then " > " and the enabled fields' values joined by "/"
/// (text options between double quotes, numbers normalised); an action that
/// stores no option ends right after its name. Fields are checked in
/// ascending order and the first fault is returned.
EntryResult buildTaskEntry(std::string_view time, std::string_view action,
                           const OptionFields &fields, bool option1Text);

/// The pieces of a task entry. `action` is empty when the entry has no
/// separator; `hasOptions` is false for actions without options.
struct EntryParts
{
    std::string_view time;
    std::string_view action;
    std::string_view options;
    bool hasOptions = false;
};

/// Splits an entry at its first two " > " only, so that a text option may
/// itself hold " > ".
EntryParts splitEntry(std::string_view entry);

/// Splits an option list at each "/" that stands outside double quotes, so
/// that a text option may itself hold "/". Quotes stay part of the values.
std::vector<std::string_view> splitOptions(std::string_view options);

/// Where the value of `options` that begins at `from` ends: at the next "/"
/// outside double quotes, or at the end (options.size()). Inline: the script
/// writer asks it for every value of every entry.
inline std::size_t optionEnd(std::string_view options, std::size_t from)
{
    bool quoted = false;
    for (std::size_t i = from; i < options.size(); ++i) {
        if (options[i] == '"')
            quoted = !quoted;
        else if (options[i] == '/' && !quoted)
            return i;
    }
    return options.size();
}

/// The Tribunal question for `action`, one line; its answers are Yes, Yes to
/// All and No.
std::string tribunalQuestion(std::string_view action);

} // namespace hw
