#pragma once

#include <span>
#include <string_view>

namespace hw {

/// The window has twelve option fields, numbered 0 to 11.
inline constexpr int kOptionFieldCount = 12;

/// One option field that an action uses: its number, its label and the text
/// the field holds right after the action has been chosen.
struct OptionSpec
{
    int field;
    std::string_view caption;
    std::string_view defaultText;
};

/// One of the 33 things an NPC can be scheduled to do.
struct Action
{
    std::string_view name;
    /// The fields the action uses, in the order the layout applies them.
    std::span<const OptionSpec> options;
    /// True when field 1 takes free text ("Say", "Cast") instead of a number.
    bool textFlag;
};

/// All 33 actions in catalogue order (the order the action list is filled in).
std::span<const Action> actionCatalogue();

/// The action whose name equals `name` as a whole text, letter case ignored
/// (no trimming, no prefix match); nullptr when there is none.
const Action *findAction(std::string_view name);

/// True for the actions whose commands need the Tribunal expansion.
bool isTribunalAction(std::string_view name);

/// Whether field `field` takes free text while an action with `textFlag` is chosen:
/// field 0 always, field 1 for "Say" and "Cast".
constexpr bool isTextField(int field, bool textFlag)
{
    return field == 0 || (field == 1 && textFlag);
}

} // namespace hw
