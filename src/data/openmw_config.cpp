#include "data/openmw_config.hpp"

#include "data/problem_list.hpp"
#include "model/caseless.hpp"
#include "model/trimmed.hpp"
#include "plugin/plugin_kinds.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace hw {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSpace = " \t\r\n";

// A folder value without its quotes, as OpenMW reads it: when it begins with
// a double quote, up to the closing one, with & escaping the character after
// it; else the whole value as it stands.
std::optional<std::string> unquote(std::string_view value, LineProblems &problems, std::size_t line)
{
    if (!value.starts_with('"'))
        return std::string(value);
    std::string out;
    for (std::size_t i = 1; i < value.size(); ++i) {
        if (value[i] == '"') {
            if (i + 1 < value.size())
                problems.add(line,
                             "the text after the closing quote is ignored: " +
                                 std::string(value.substr(i + 1)));
            return out;
        }
        if (value[i] == '&' && ++i == value.size())
            break;
        out += value[i];
    }
    problems.add(line,
                 "the closing quote is missing, so OpenMW refuses this file; "
                 "the line is passed over");
    return std::nullopt;
}

// The folder a value names: its token replaced, else taken relative to the
// folder of the file that holds it.
std::optional<fs::path> resolveFolder(const std::string &value, const fs::path &base,
                                      const OpenMwPaths &tokens, LineProblems &problems,
                                      std::size_t line)
{
    // Lexically normal, so that a chain through "../other" names its files
    // plainly in messages.
    if (!value.starts_with('?')) {
        fs::path path = pathFromUtf8(value);
        return (path.is_absolute() ? path : base / path).lexically_normal();
    }
    const std::array<std::pair<std::string_view, const fs::path *>, 4> known = {{
        {"?local?", tokens.local.empty() ? &base : &tokens.local},
        {"?userconfig?", &tokens.userConfig},
        {"?userdata?", &tokens.userData},
        {"?global?", &tokens.global},
    }};
    const auto end = value.find('?', 1);
    const auto token = std::string_view(value).substr(0, end == std::string::npos ? 0 : end + 1);
    for (const auto &[name, folder] : known) {
        if (token == name) {
            const auto rest = std::string_view(value).substr(token.size());
            return (rest.empty() ? *folder : *folder / pathFromUtf8(rest)).lexically_normal();
        }
    }
    problems.add(line,
                 "the folder begins with an unknown token (known: ?local?, ?userconfig?, "
                 "?userdata?, ?global?), so OpenMW passes it over");
    return std::nullopt;
}

struct LineContext
{
    const fs::path &file;
    const OpenMwPaths &tokens;
    LineProblems &problems;
    std::size_t line;
};

std::optional<CfgFolder> folderValue(std::string_view value, const LineContext &at)
{
    const auto text = unquote(value, at.problems, at.line);
    if (!text)
        return std::nullopt;
    auto folder = resolveFolder(*text, at.file.parent_path(), at.tokens, at.problems, at.line);
    if (!folder)
        return std::nullopt;
    return CfgFolder {std::move(*folder), at.file, at.line};
}

void addName(std::vector<CfgName> &to, std::string_view key, std::string_view value,
             const LineContext &at)
{
    if (value.empty())
        at.problems.add(at.line, std::string(key) + "= names no file");
    else
        to.push_back({std::string(value), at.file, at.line});
}

void addFolder(std::vector<CfgFolder> &to, std::string_view value, const LineContext &at)
{
    if (auto folder = folderValue(value, at))
        to.push_back(std::move(*folder));
}

void setDataLocal(OpenMwFile &out, std::string_view value, const LineContext &at)
{
    if (out.dataLocal) {
        at.problems.add(at.line,
                        "data-local is set a second time in this file, which OpenMW "
                        "refuses; the first (line " +
                            std::to_string(out.dataLocal->line) + ") is used");
        return;
    }
    out.dataLocal = folderValue(value, at);
}

bool isOwnSetting(std::string_view key)
{
    for (const std::string_view own :
         {"data", "data-local", "config", "content", "fallback-archive", "replace"})
        if (key == own)
            return true;
    return false;
}

void readSetting(OpenMwFile &out, std::string_view key, std::string_view value,
                 const LineContext &at)
{
    if (key == "data")
        addFolder(out.data, value, at);
    else if (key == "data-local")
        setDataLocal(out, value, at);
    else if (key == "config")
        addFolder(out.config, value, at);
    else if (key == "content")
        addName(out.content, key, value, at);
    else if (key == "fallback-archive")
        addName(out.archives, key, value, at);
    else if (key == "replace")
        out.replace.emplace_back(value);
}

} // namespace

OpenMwFile parseOpenMwFile(std::string_view text, const fs::path &file, const OpenMwPaths &tokens,
                           std::vector<LoadOrderProblem> &problems)
{
    OpenMwFile out;
    LineProblems broken(problems, file);
    // OpenMW reads the mark as part of the first line, which then names no
    // setting it knows (and is no comment).
    if (text.starts_with("\xEF\xBB\xBF"))
        broken.add(1,
                   "the file begins with a byte-order mark, which OpenMW reads as part of this "
                   "line, so it does not read the line; save the file without it");
    std::string_view section;
    std::size_t number = 0;
    while (!text.empty()) {
        const auto end = std::min(text.find('\n'), text.size());
        const auto line = trimmed(text.substr(0, end), kSpace);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            // Settings under a section get its name in front of theirs, and
            // OpenMW knows none of those.
            section = line;
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            broken.add(number,
                       "this line is not a setting (it has no \"=\"), so OpenMW "
                       "refuses this file; the line is passed over");
            continue;
        }
        const auto key = trimmed(line.substr(0, equals), kSpace);
        if (section.empty())
            readSetting(out, key, trimmed(line.substr(equals + 1), kSpace),
                        {file, tokens, broken, number});
        else if (isOwnSetting(key))
            broken.add(number,
                       std::string(key) + "= stands under " + std::string(section) +
                           ", where OpenMW does not read it; the line is passed over");
    }
    broken.finish();
    return out;
}

bool isRecordContent(std::string_view name)
{
    return loadsInto(name, LoadOrderKind::OpenMw);
}

} // namespace hw
