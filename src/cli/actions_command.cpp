#include "cli/command_line.hpp"
#include "cli/commands.hpp"

#include "model/caseless.hpp"
#include "model/catalogue.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace hw::cli {
namespace {

constexpr std::string_view kCommand = "actions";

constexpr std::string_view kHelp =
    "Usage: hourwright-cli actions\n"
    "List the actions in the order of the window's action box, each followed by\n"
    "the option fields that its task entries store, in the order they store them:\n"
    "the field's number, its caption, and its default value, if any. A field that\n"
    "takes text has its caption in double quotes, as an entry holds its text:\n"
    "  Add Item\n"
    "     0 \"Item ID:\"\n"
    "     2 Quantity:         1\n";

constexpr std::size_t kCaptionWidth = 18;

// "   2 Quantity:         1": no blanks after the last word.
std::string fieldLine(const OptionSpec &spec, bool textFlag)
{
    std::string line = spec.field < 10 ? "   " : "  ";
    line += std::to_string(spec.field) + ' ';
    if (isTextField(spec.field, textFlag))
        line += '"' + std::string(spec.caption) + '"';
    else
        line += spec.caption;
    if (!spec.defaultText.empty()) {
        line.resize(std::max(line.size() + 1, 4 + kCaptionWidth + 1), ' ');
        line += spec.defaultText;
    }
    return line + '\n';
}

std::string listing()
{
    std::vector<const Action *> actions;
    for (const Action &action : actionCatalogue())
        actions.push_back(&action);
    std::stable_sort(actions.begin(), actions.end(), [](const Action *a, const Action *b) {
        return caselessLess(a->name, b->name);
    });
    std::string text;
    for (const Action *action : actions) {
        text.append(action->name).append(1, '\n');
        std::vector<OptionSpec> fields(action->options.begin(), action->options.end());
        std::sort(fields.begin(), fields.end(),
                  [](const OptionSpec &a, const OptionSpec &b) { return a.field < b.field; });
        for (const OptionSpec &spec : fields)
            text += fieldLine(spec, action->textFlag);
    }
    return text;
}

} // namespace

int runActions(Args args)
{
    if (const auto status = helpOrUsageError(kCommand, args, kHelp))
        return *status;
    return writeOrFail(kCommand, listing());
}

} // namespace hw::cli
