#include "model/catalogue.hpp"

#include "model/caseless.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace hw {
namespace {

using enum FieldKind;

// clang-format off
constexpr OptionSpec kWander[] = {
    {1, "Range:", "512"},
    {2, "Duration(Hours):", "4"},
    {3, "Idle 1 Chance:", "10"},
    {4, "Idle 2 Chance:", "10"},
    {5, "Idle 3 Chance:", "10"},
    {6, "Idle 4 Chance:", "10"},
    {7, "Idle 5 Chance:", "10"},
    {8, "Idle 6 Chance:", "10"},
    {9, "Idle 7 Chance:", "10"},
    {10, "Idle 8 Chance:", "10"},
    {11, "Idle 9 Chance:", "10"},
};
constexpr OptionSpec kXyz[] = {{2, "X:", "0"}, {3, "Y:", "0"}, {4, "Z:", "0"}};
constexpr OptionSpec kFollow[] = {
    {0, "Target:", "", Actor},
    {2, "Duration(Hours):", "4"},
    {3, "Destination X:", "0"},
    {4, "Destination Y:", "0"},
    {5, "Destination Z:", "0"},
};
constexpr OptionSpec kSay[] = {{0, "File:", "", SoundFile}, {1, "Subtitles:", "", Text}};
constexpr OptionSpec kPercentage[] = {{2, "Percentage:", "30"}};
constexpr OptionSpec kAttack[] = {{0, "Target:", "", Actor}};
constexpr OptionSpec kActivate[] = {{0, "Target:", "", ActivateTarget}};
constexpr OptionSpec kItem[] = {{0, "Item ID:", "", Item}, {2, "Quantity:", "1"}};
constexpr OptionSpec kItemId[] = {{0, "Item ID:", "", Item}};
constexpr OptionSpec kSpellId[] = {{0, "Spell ID:", "", Spell}};
constexpr OptionSpec kCast[] = {{0, "Spell:", "", Spell}, {1, "Target:", "", CastTarget}};
constexpr OptionSpec kFace[] = {{2, "X:", "0"}, {3, "Y:", "0"}};
constexpr OptionSpec kPosition[] = {
    {2, "X:", "0"}, {3, "Y:", "0"}, {4, "Z:", "0"}, {5, "Z Rotation:", "0"}};
constexpr OptionSpec kPositionCell[] = {
    {2, "X:", "0"}, {3, "Y:", "0"}, {4, "Z:", "0"}, {5, "Z Rotation:", "0"},
    {0, "Cell ID:", "", Place}};
constexpr OptionSpec kGroup[] = {{0, "Group:", "", AnimationGroup}};

using enum Arguments;
constexpr bool kOutOfSight = true;
constexpr bool kDeeper = true;

// Each action: its name, fields and text flag, its game command, and the rules
// that single it out (see Action).
constexpr std::array<Action, 33> kCatalogue {{
    {.name = "Wander", .options = kWander, .command = {"AIWander", CommaList}},
    {.name = "Travel", .options = kXyz, .command = {"AITravel", CommaList}},
    // The script language has no Follow or Escort command; its compiler stops
    // at them and the whole script is lost.
    {.name = "Follow", .options = kFollow, .command = {"AIFollow", CommaList}},
    {.name = "Escort", .options = kFollow, .command = {"AIEscort", CommaList}},
    {.name = "Appear", .command = {"Enable", None, kOutOfSight, kDeeper},
     .exactHour = true, .once = true},
    {.name = "Disappear", .command = {"Disable", None, kOutOfSight},
     .exactHour = true, .once = true},
    {.name = "Say", .options = kSay, .textFlag = true, .command = {"Say", CommaList}, .once = true},
    {.name = "Set Attack Chance", .options = kPercentage, .command = {"SetFight", AsStored}},
    {.name = "Set Flee Chance", .options = kPercentage, .command = {"SetFlee", AsStored}},
    {.name = "Set Alarm Chance", .options = kPercentage, .command = {"SetAlarm", AsStored}},
    {.name = "Set Greeting Chance", .options = kPercentage, .command = {"SetHello", AsStored}},
    {.name = "Attack", .options = kAttack, .command = {"StartCombat", AsStored}},
    {.name = "Stop Attacking", .command = {"StopCombat"}},
    {.name = "Add Item", .options = kItem, .command = {"AddItem", CommaList}, .once = true},
    {.name = "Remove Item", .options = kItem, .command = {"RemoveItem", CommaList}, .once = true},
    {.name = "Equip", .options = kItemId, .command = {"Equip", AsStored}, .tribunal = true,
     .once = true},
    // "Activate" takes no target: the engine's compiler drops it as an extra
    // argument, and the NPC activates nothing. AIActivate walks to the object
    // and activates it.
    {.name = "Activate", .options = kActivate, .command = {"AIActivate", AsStored}, .once = true},
    {.name = "Add Spell", .options = kSpellId, .command = {"AddSpell", AsStored}, .once = true},
    {.name = "Remove Spell", .options = kSpellId, .command = {"RemoveSpell", AsStored},
     .once = true},
    {.name = "Cast", .options = kCast, .textFlag = true, .command = {"Cast", CommaList},
     .once = true},
    {.name = "Face", .options = kFace, .command = {"Face", CommaList}},
    {.name = "Position", .options = kPosition,
     .command = {"Position", CommaList, kOutOfSight}, .exactHour = true, .once = true},
    {.name = "Position in Cell", .options = kPositionCell,
     .command = {"PositionCell", CellForm, kOutOfSight}, .exactHour = true, .once = true},
    {.name = "Start Sneaking", .command = {"ForceSneak"}},
    {.name = "Stop Sneaking", .command = {"ClearForceSneak"}},
    {.name = "Start Running", .command = {"ForceRun"}, .tribunal = true},
    {.name = "Stop Running", .command = {"ClearForceRun"}, .tribunal = true},
    {.name = "Start Jumping", .command = {"ForceJump"}, .tribunal = true},
    {.name = "Stop Jumping", .command = {"ClearForceJump"}, .tribunal = true},
    {.name = "Start Jumping While Moving", .command = {"ForceMoveJump"}, .tribunal = true},
    {.name = "Stop Jumping While Moving", .command = {"ClearForceMoveJump"}, .tribunal = true},
    {.name = "Play Animation", .options = kGroup, .command = {"PlayGroup", AsStored}},
    {.name = "Return to Original Location", .command = {"SetAtStart"}, .exactHour = true},
}};
// clang-format on

// Every action writes a command, and a field takes text exactly where the key
// filter lets text through.
constexpr bool isWhole()
{
    for (const Action &action : kCatalogue) {
        if (action.command.name.empty())
            return false;
        for (const OptionSpec &spec : action.options)
            if ((spec.kind != Number) != isTextField(spec.field, action.textFlag))
                return false;
    }
    return true;
}
static_assert(isWhole());

} // namespace

std::span<const Action> actionCatalogue()
{
    return kCatalogue;
}

const Action *findAction(std::string_view name)
{
    // A name spelled as the catalogue spells it, as nearly every entry does,
    // is found among the few names of its length, without folding or hashing it.
    static const auto byLength = [] {
        std::array<std::vector<const Action *>, 64> names {};
        for (const Action &action : kCatalogue)
            names.at(action.name.size()).push_back(&action);
        return names;
    }();
    if (name.size() < byLength.size())
        for (const Action *action : byLength[name.size()])
            if (action->name == name)
                return action;
    // The folded names in byte order, each with its action: a name is folded
    // once and found by binary search, as a list of a million entries looks
    // up every action.
    using Folded = std::pair<std::string, const Action *>;
    static const auto folded = [] {
        std::vector<Folded> names;
        for (const Action &action : kCatalogue)
            names.emplace_back(caselessKey(action.name), &action);
        std::sort(names.begin(), names.end());
        return names;
    }();
    thread_local std::string key;
    key.clear();
    appendCaselessKey(key, name);
    const auto it =
        std::lower_bound(folded.begin(), folded.end(), key,
                         [](const Folded &f, const std::string &k) { return f.first < k; });
    return it != folded.end() && it->first == key ? it->second : nullptr;
}

bool isTribunalAction(std::string_view name)
{
    const Action *action = findAction(name);
    return action && action->tribunal;
}

} // namespace hw
