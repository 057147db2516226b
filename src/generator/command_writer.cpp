#include "generator/command_writer.hpp"

#include "model/catalogue.hpp"
#include "model/task_entry.hpp"

#include <algorithm>
#include <iterator>
#include <span>
#include <vector>

namespace hw {
namespace {

enum class Arguments {
    None,
    AsStored, ///< the option list as the entry holds it
    CommaList, ///< the option values joined by ", "
    CellForm, ///< the numbers first, then the quoted cell id
};

struct CommandSpec
{
    std::string_view action;
    std::string_view command;
    Arguments arguments;
    /// Written only while the player cannot see the NPC, so that it does not
    /// appear, vanish or jump in plain sight.
    bool hidden = false;
};

constexpr CommandSpec kCommands[] = {
    {"Appear", "Enable", Arguments::None, true},
    {"Disappear", "Disable", Arguments::None, true},
    {"Start Sneaking", "ForceSneak", Arguments::None},
    {"Stop Sneaking", "ClearForceSneak", Arguments::None},
    {"Start Running", "ForceRun", Arguments::None},
    {"Stop Running", "ClearForceRun", Arguments::None},
    {"Start Jumping", "ForceJump", Arguments::None},
    {"Stop Jumping", "ClearForceJump", Arguments::None},
    {"Start Jumping While Moving", "ForceMoveJump", Arguments::None},
    {"Stop Jumping While Moving", "ClearForceMoveJump", Arguments::None},
    {"Face", "Face", Arguments::CommaList},
    // "Activate" takes no target: the engine's compiler drops it as an extra
    // argument, and the NPC activates nothing. AIActivate walks to the object
    // and activates it.
    {"Activate", "AIActivate", Arguments::AsStored},
    {"Play Animation", "PlayGroup", Arguments::AsStored},
    {"Add Item", "AddItem", Arguments::CommaList},
    {"Remove Item", "RemoveItem", Arguments::CommaList},
    {"Set Attack Chance", "SetFight", Arguments::AsStored},
    {"Set Flee Chance", "SetFlee", Arguments::AsStored},
    {"Set Alarm Chance", "SetAlarm", Arguments::AsStored},
    {"Set Greeting Chance", "SetHello", Arguments::AsStored},
    {"Travel", "AITravel", Arguments::CommaList},
    // The script language has no Follow or Escort command; its compiler
    // stops at them and the whole script is lost.
    {"Follow", "AIFollow", Arguments::CommaList},
    {"Escort", "AIEscort", Arguments::CommaList},
    {"Wander", "AIWander", Arguments::CommaList},
    {"Attack", "StartCombat", Arguments::AsStored},
    {"Stop Attacking", "StopCombat", Arguments::None},
    {"Position", "Position", Arguments::CommaList, true},
    {"Position in Cell", "PositionCell", Arguments::CellForm, true},
    {"Say", "Say", Arguments::CommaList},
    {"Equip", "Equip", Arguments::AsStored},
    {"Add Spell", "AddSpell", Arguments::AsStored},
    {"Remove Spell", "RemoveSpell", Arguments::AsStored},
    {"Cast", "Cast", Arguments::CommaList},
    {"Return to Original Location", "SetAtStart", Arguments::None},
};

constexpr std::string_view kIndent = "       ";
constexpr std::string_view kLineEnd = "\r\n";

void appendJoined(std::string &out, std::span<const std::string_view> values)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out.append(", ");
        out.append(values[i]);
    }
}

void appendArguments(std::string &out, Arguments kind, std::string_view options)
{
    if (kind == Arguments::AsStored) {
        out.append(options);
        return;
    }
    const std::vector<std::string_view> values = splitOptions(options);
    if (kind == Arguments::CommaList || values.size() < 2) {
        appendJoined(out, values);
        return;
    }
    // The entry holds the cell id first; the command takes it last.
    appendJoined(out, std::span(values).subspan(1));
    out.append(", ").append(values.front());
}

void appendTarget(std::string &out, std::string_view npcId)
{
    out.append(1, '"').append(npcId).append("\"-> ");
}

const CommandSpec *commandOf(std::string_view action)
{
    const Action *known = findAction(action);
    const auto spec =
        std::find_if(std::begin(kCommands), std::end(kCommands),
                     [&](const CommandSpec &c) { return known && c.action == known->name; });
    return spec == std::end(kCommands) ? nullptr : spec;
}

} // namespace

bool hasCommand(std::string_view action)
{
    return commandOf(action) != nullptr;
}

bool writeCommand(std::string &script, std::string_view npcId, std::string_view action,
                  std::string_view options, bool checkVisibility)
{
    const CommandSpec *spec = commandOf(action);
    if (!spec) {
        script.append(kUnknownActionLine).append(kLineEnd);
        return false;
    }
    const bool hidden = spec->hidden && checkVisibility;
    if (hidden) {
        script.append(kIndent).append("If ( ");
        appendTarget(script, npcId);
        script.append("GetLOS Player != 1 )").append(kLineEnd);
    }
    // Enable sits one level deeper than the other commands, wrapped or not.
    script.append(kIndent);
    if (spec->action == "Appear")
        script.append(kIndent);
    appendTarget(script, npcId);
    script.append(spec->command);
    if (spec->arguments != Arguments::None) {
        script.append(1, ' ');
        appendArguments(script, spec->arguments, options);
    }
    script.append(kLineEnd);
    if (hidden)
        script.append(kIndent).append("EndIf").append(kLineEnd);
    return true;
}

} // namespace hw
