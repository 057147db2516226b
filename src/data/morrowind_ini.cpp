#include "data/morrowind_ini.hpp"

#include "data/problem_list.hpp"
#include "data/text_file.hpp"
#include "model/caseless.hpp"
#include "model/trimmed.hpp"

#include <algorithm>
#include <charconv>
#include <optional>
#include <system_error>
#include <utility>

namespace hw {
namespace {

constexpr std::string_view kBlank = " \t\r";

// Windows takes a value in quotes without them.
std::string_view unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

enum class Section { Other, GameFiles, Archives };

Section sectionNamed(std::string_view name)
{
    if (caselessEqual(name, "Game Files"))
        return Section::GameFiles;
    if (caselessEqual(name, "Archives"))
        return Section::Archives;
    return Section::Other;
}

// The game asks for "GameFile0", "GameFile1" and so on, so only a number
// written as it writes one is found: no sign, no leading zero.
std::optional<unsigned> entryNumber(std::string_view key, std::string_view prefix)
{
    if (key.size() <= prefix.size() || !caselessStartsWith(key, prefix))
        return std::nullopt;
    const auto digits = key.substr(prefix.size());
    unsigned number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() ||
        (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    return number;
}

class IniReader
{
public:
    IniReader(const std::filesystem::path &file, std::vector<LoadOrderProblem> &problems)
        : m_problems(problems, file)
    { }

    void readLine(std::string_view line, std::size_t number);
    MorrowindIni finish();

private:
    void readEntry(std::string_view key, std::string_view value, std::size_t line);

    MorrowindIni m_ini;
    LineProblems m_problems;
    Section m_section = Section::Other;
};

void IniReader::readLine(std::string_view line, std::size_t number)
{
    if (line.empty() || line[0] == ';')
        return;
    if (line[0] == '[') {
        const auto close = line.find(']');
        m_section = sectionNamed(
            trimmed(line.substr(1, close == line.npos ? line.npos : close - 1), kBlank));
        return;
    }
    if (m_section == Section::Other)
        return;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        m_problems.add(number, "this line is not an entry (it has no \"=\"); it is passed over");
        return;
    }
    readEntry(trimmed(line.substr(0, equals), kBlank),
              unquote(trimmed(line.substr(equals + 1), kBlank)), number);
}

void IniReader::readEntry(std::string_view key, std::string_view value, std::size_t line)
{
    const bool games = m_section == Section::GameFiles;
    const std::string_view prefix = games ? "GameFile" : "Archive ";
    const auto number = entryNumber(key, prefix);
    if (!number) {
        m_problems.add(line,
                       "the game reads no entry \"" + std::string(key) + "\" here, only " +
                           std::string(prefix) + "0, " + std::string(prefix) + "1 and so on");
        return;
    }
    auto &entries = games ? m_ini.gameFiles : m_ini.archives;
    const auto same = std::find_if(entries.begin(), entries.end(),
                                   [&](const IniEntry &entry) { return entry.number == *number; });
    if (same != entries.end()) {
        m_problems.add(line,
                       std::string(key) + " is given a second time; the first (line " +
                           std::to_string(same->line) + ") counts");
        return;
    }
    // An empty entry is kept: it still hides a later one of the same key.
    entries.push_back({*number, std::string(value), line});
}

MorrowindIni IniReader::finish()
{
    const std::pair<std::vector<IniEntry> *, std::string_view> lists[] = {
        {&m_ini.gameFiles, "GameFile"}, {&m_ini.archives, "Archive "}};
    for (const auto &[entries, key] : lists) {
        std::stable_sort(entries->begin(), entries->end(),
                         [](const IniEntry &a, const IniEntry &b) { return a.number < b.number; });
        // OpenMW's importer reads the entries from 0 up to the first number
        // that is missing, and so does this reader, saying what it leaves out.
        unsigned missing = 0;
        while (missing < entries->size() && (*entries)[missing].number == missing)
            ++missing;
        for (std::size_t at = missing; at < entries->size(); ++at) {
            const IniEntry &entry = (*entries)[at];
            m_problems.add(entry.line,
                           std::string(key) + std::to_string(entry.number) +
                               (entry.name.empty() ? "" : " (\"" + entry.name + "\")") +
                               " is left out: there is no " + std::string(key) +
                               std::to_string(missing) +
                               ", and the entries are read only up to the first missing "
                               "number, as OpenMW's importer reads them");
        }
        entries->resize(std::min<std::size_t>(missing, entries->size()));
    }
    m_problems.finish();
    return std::move(m_ini);
}

} // namespace

MorrowindIni parseMorrowindIni(std::string_view bytes, const std::filesystem::path &file,
                               CodePage page, std::vector<LoadOrderProblem> &problems)
{
    const std::string text = toUtf8(bytes, page);
    std::string_view rest = text;
    IniReader reader(file, problems);
    for (std::size_t number = 1; !rest.empty(); ++number) {
        const auto end = std::min(rest.find('\n'), rest.size());
        reader.readLine(trimmed(rest.substr(0, end), kBlank), number);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return reader.finish();
}

LoadOrder readMorrowindIniLoadOrder(const std::filesystem::path &iniName, CodePage page)
{
    // Absolute, so that the Data Files folder is found beside a file named
    // without a folder too.
    std::error_code error;
    const auto absolute = std::filesystem::absolute(iniName, error).lexically_normal();
    const auto &iniFile = error ? iniName : absolute;
    const TextFile text = readTextFile(iniFile);
    if (text.status != TextFile::Status::Read) {
        LoadOrder out;
        out.source = iniFile;
        addProblem(
            out.problems,
            {iniFile, 0,
             text.status == TextFile::Status::Missing ? "there is no such file" : text.problem});
        return out;
    }
    std::vector<LoadOrderProblem> problems;
    const auto ini = parseMorrowindIni(text.text, iniFile, page, problems);
    return morrowindIniLoadOrder(ini, iniFile, std::move(problems));
}

} // namespace hw
