#include "data/load_order.hpp"

#include "model/task_entry.hpp"

#include <exception>

namespace hw {

std::string problemText(const LoadOrderProblem &problem)
{
    // A name from a file may hold any byte: a NUL would cut the message short
    // where it is printed, a line break would split it.
    if (problem.file.empty())
        return showControlCharacters(problem.message);
    std::string text = utf8Path(problem.file);
    if (problem.line > 0)
        text += ':' + std::to_string(problem.line);
    return showControlCharacters(text + ": " + problem.message);
}

std::string utf8Path(const std::filesystem::path &path)
{
    try {
        const auto text = path.u8string();
        return {text.begin(), text.end()};
    } catch (const std::exception &) {
        // Only a Windows name with half of a UTF-16 pair gets here.
        return "(a name that is not valid Unicode)";
    }
}

std::filesystem::path pathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace hw
