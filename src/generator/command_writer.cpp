#include "generator/command_writer.hpp"

#include "model/catalogue.hpp"
#include "model/task_entry.hpp"

namespace hw {
namespace {

constexpr std::string_view kIndent = "       ";
constexpr std::string_view kLineEnd = "\r\n";

// Appends the values of `options`, an option list, joined by ", ".
void appendJoined(std::string &out, std::string_view options)
{
    for (std::size_t start = 0;;) {
        const std::size_t end = optionEnd(options, start);
        out.append(options.substr(start, end - start));
        if (end == options.size())
            return;
        out.append(", ");
        start = end + 1;
    }
}

void appendArguments(std::string &out, Arguments kind, std::string_view options)
{
    if (kind == Arguments::AsStored) {
        out.append(options);
        return;
    }
    // The values are joined as they stand in the options, without a list of
    // them: a thousand schedules write a command for each entry.
    const std::size_t first = optionEnd(options, 0);
    if (kind == Arguments::CommaList || first == options.size()) {
        appendJoined(out, options);
        return;
    }
    // The entry holds the cell id first; the command takes it last.
    appendJoined(out, options.substr(first + 1));
    out.append(", ").append(options.substr(0, first));
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
