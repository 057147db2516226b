#include "generator/command_writer.hpp"

#include "model/catalogue.hpp"
#include "model/task_entry.hpp"

#include <span>
#include <vector>

namespace hw {
namespace {

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

} // namespace

bool hasCommand(std::string_view action)
{
    // Every action of the catalogue writes a command.
    return findAction(action) != nullptr;
}

bool writeCommand(std::string &script, std::string_view npcId, std::string_view action,
                  std::string_view options, bool checkVisibility)
{
    const Action *known = findAction(action);
    if (!known) {
        script.append(kUnknownActionLine).append(kLineEnd);
        return false;
    }
    const GameCommand &command = known->command;
    const bool hidden = command.outOfSight && checkVisibility;
    if (hidden) {
        script.append(kIndent).append("If ( ");
        appendTarget(script, npcId);
        script.append("GetLOS Player != 1 )").append(kLineEnd);
    }
    script.append(kIndent);
    if (command.deeper)
        script.append(kIndent);
    appendTarget(script, npcId);
    script.append(command.name);
    if (command.arguments != Arguments::None) {
        script.append(1, ' ');
        appendArguments(script, command.arguments, options);
    }
    script.append(kLineEnd);
    if (hidden)
        script.append(kIndent).append("EndIf").append(kLineEnd);
    return true;
}

} // namespace hw
