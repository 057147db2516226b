#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace hw {

/// The window has twelve option fields, numbered 0 to 11.
inline constexpr int kOptionFieldCount = 12;

/// What an option field takes. It decides how the field is filtered, what it
/// completes from, how it is described to a screen reader and which ids the
/// checks look up.
enum class FieldKind : std::uint8_t {
    Number,
    Text, ///< any text (Say's subtitles)
    Actor, ///< the id of an NPC or creature
    ActivateTarget, ///< the id of an object, item, NPC or creature
    CastTarget, ///< the id of an NPC or creature, or "player"
    Item,
    Spell,
    Place, ///< the id of a cell or region
    SoundFile, ///< a path under the Sound folder
    AnimationGroup,
};

/// One option field that an action uses: its number, its label, the text the
/// field holds right after the action has been chosen, and what it takes.
struct OptionSpec
{
    int field;
    std::string_view caption;
    std::string_view defaultText;
    FieldKind kind = FieldKind::Number;
};

/// How an entry's option list becomes the arguments of its game command.
enum class Arguments : std::uint8_t {
    None,
    AsStored, ///< the option list as the entry holds it
    CommaList, ///< the option values joined by ", "
    CellForm, ///< the numbers first, then the quoted cell id
};

/// The game command that an action's entries write.
struct GameCommand
{
    std::string_view name; ///< "AITravel"
    Arguments arguments = Arguments::None;
    /// Written only while the player cannot see the NPC (with Check
    /// Visibility), so that it does not appear, vanish or jump in plain sight.
    bool outOfSight = false;
    /// Written one indent deeper than the other commands.
    bool deeper = false;
};

/// One of the 33 things an NPC can be scheduled to do, with all that the
/// program knows of it: adding an action is one row of the catalogue.
struct Action
{
    std::string_view name;
    /// The fields the action uses, in the order the layout applies them.
    std::span<const OptionSpec> options = {};
    /// True when field 1 takes free text ("Say", "Cast") instead of a number.
    bool textFlag = false;
    GameCommand command;
    /// Its command needs the Tribunal expansion.
    bool tribunal = false;
    /// When it opens an hour group, the group tests for its own hour exactly:
    /// the NPC must not appear, vanish or move in every hour before it too.
    bool exactHour = false;
    /// Meant to happen once at its hour: run again every hour, it adds an item
    /// again, says its line again or sends the NPC back.
    bool once = false;
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
