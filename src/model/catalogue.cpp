#include "model/catalogue.hpp"

#include "model/caseless.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace hw {
namespace {

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
    {0, "Target:", ""},
    {2, "Duration(Hours):", "4"},
    {3, "Destination X:", "0"},
    {4, "Destination Y:", "0"},
    {5, "Destination Z:", "0"},
};
// clang-format on
constexpr OptionSpec kSay[] = {{0, "File:", ""}, {1, "Subtitles:", ""}};
constexpr OptionSpec kPercentage[] = {{2, "Percentage:", "30"}};
constexpr OptionSpec kTarget[] = {{0, "Target:", ""}};
constexpr OptionSpec kItem[] = {{0, "Item ID:", ""}, {2, "Quantity:", "1"}};
constexpr OptionSpec kItemId[] = {{0, "Item ID:", ""}};
constexpr OptionSpec kSpellId[] = {{0, "Spell ID:", ""}};
constexpr OptionSpec kCast[] = {{0, "Spell:", ""}, {1, "Target:", ""}};
constexpr OptionSpec kFace[] = {{2, "X:", "0"}, {3, "Y:", "0"}};
constexpr OptionSpec kPosition[] = {
    {2, "X:", "0"}, {3, "Y:", "0"}, {4, "Z:", "0"}, {5, "Z Rotation:", "0"}};
constexpr OptionSpec kPositionCell[] = {
    {2, "X:", "0"}, {3, "Y:", "0"}, {4, "Z:", "0"}, {5, "Z Rotation:", "0"}, {0, "Cell ID:", ""}};
constexpr OptionSpec kGroup[] = {{0, "Group:", ""}};
constexpr std::span<const OptionSpec> kNone {};

constexpr std::array<Action, 33> kCatalogue {{
    {"Wander", kWander, false},
    {"Travel", kXyz, false},
    {"Follow", kFollow, false},
    {"Escort", kFollow, false},
    {"Appear", kNone, false},
    {"Disappear", kNone, false},
    {"Say", kSay, true},
    {"Set Attack Chance", kPercentage, false},
    {"Set Flee Chance", kPercentage, false},
    {"Set Alarm Chance", kPercentage, false},
    {"Set Greeting Chance", kPercentage, false},
    {"Attack", kTarget, false},
    {"Stop Attacking", kNone, false},
    {"Add Item", kItem, false},
    {"Remove Item", kItem, false},
    {"Equip", kItemId, false},
    {"Activate", kTarget, false},
    {"Add Spell", kSpellId, false},
    {"Remove Spell", kSpellId, false},
    {"Cast", kCast, true},
    {"Face", kFace, false},
    {"Position", kPosition, false},
    {"Position in Cell", kPositionCell, false},
    {"Start Sneaking", kNone, false},
    {"Stop Sneaking", kNone, false},
    {"Start Running", kNone, false},
    {"Stop Running", kNone, false},
    {"Start Jumping", kNone, false},
    {"Stop Jumping", kNone, false},
    {"Start Jumping While Moving", kNone, false},
    {"Stop Jumping While Moving", kNone, false},
    {"Play Animation", kGroup, false},
    {"Return to Original Location", kNone, false},
}};

constexpr std::string_view kTribunal[] = {
    "Start Running",
    "Stop Running",
    "Start Jumping",
    "Stop Jumping",
    "Equip",
    "Start Jumping While Moving",
    "Stop Jumping While Moving",
};

} // namespace

std::span<const Action> actionCatalogue()
{
    return kCatalogue;
}

const Action *findAction(std::string_view name)
{
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
    return std::any_of(std::begin(kTribunal), std::end(kTribunal),
                       [name](std::string_view t) { return caselessEqual(t, name); });
}

} // namespace hw
