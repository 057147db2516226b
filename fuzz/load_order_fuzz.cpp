// Fuzz target for the load order's readers. The first byte chooses what the
// rest is: 0 a chain of openmw.cfg files (texts split at NUL bytes; a folder
// named in config= gets the text that its name's hash picks), 1 a
// Morrowind.ini, 2 a BSA archive. Besides crashes and sanitizer reports it
// checks what must hold for any input: problems on lines that exist, few
// problems per file, bounded chains, names no more than the archive holds.
#include "data/bsa_names.hpp"
#include "data/morrowind_ini.hpp"
#include "data/openmw_config.hpp"
#include "data/problem_list.hpp"
#include "data/sound_files.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "load order fuzz: %s\n", what);
        std::abort();
    }
}

std::size_t lineCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

// Problems name lines that exist, and a load order lists at most its
// limit and the one that says the rest are not listed (a file may close a
// loop on every one of its config= lines).
void checkProblems(const std::vector<hw::LoadOrderProblem> &problems,
                   const std::map<fs::path, std::string_view> &texts)
{
    check(problems.size() <= hw::kMostProblems + 1, "too many problems for one load order");
    for (const auto &problem : problems) {
        check(!problem.message.empty(), "a problem without a message");
        const auto text = texts.find(problem.file);
        if (text != texts.end())
            check(problem.line <= lineCount(text->second),
                  "a problem on a line that does not exist");
    }
}

void fuzzOpenMwChain(std::string_view input)
{
    std::vector<std::string_view> texts;
    for (std::size_t at = 0; texts.size() < 8;) {
        const auto end = std::min(input.find('\0', at), input.size());
        texts.push_back(input.substr(at, end - at));
        if (end == input.size())
            break;
        at = end + 1;
    }
    std::map<fs::path, std::string_view> read;
    const auto reader = [&](const fs::path &file) {
        const auto name = file.parent_path().lexically_normal().generic_string();
        const auto text =
            name == "/f" ? texts[0] : texts[std::hash<std::string>()(name) % texts.size()];
        read.emplace(file, text);
        return hw::TextFile {hw::TextFile::Status::Read, std::string(text), {}};
    };
    const hw::OpenMwPaths tokens {"/f/uc", "/f/ud", "/f/gl", {}};
    const auto settings = hw::readOpenMwSettings("/f/openmw.cfg", tokens, reader);
    check(settings.files.size() <= hw::kMostConfigFiles, "more files read than allowed");
    check(settings.files.size() == read.size(), "a file read twice or not counted");
    checkProblems(settings.problems, read);
    for (const auto &entry : settings.content)
        check(!entry.name.empty(), "an empty content name");
}

void fuzzMorrowindIni(std::string_view input, hw::CodePage page)
{
    std::vector<hw::LoadOrderProblem> problems;
    const auto ini = hw::parseMorrowindIni(input, "Morrowind.ini", page, problems);
    checkProblems(problems, {{"Morrowind.ini", input}});
    for (const auto *entries : {&ini.gameFiles, &ini.archives}) {
        for (std::size_t i = 1; i < entries->size(); ++i)
            check((*entries)[i - 1].number < (*entries)[i].number,
                  "entries not ordered by distinct numbers");
        for (const auto &entry : *entries)
            check(entry.line >= 1 && entry.line <= lineCount(input), "an entry off its lines");
    }
}

void fuzzBsa(std::string_view input)
{
    hw::MemorySource source(input);
    const auto names = hw::readBsaNames(source);
    check(names.names.size() <= names.fileCount, "more names than files");
    check(!names.complete() || names.names.size() == names.fileCount,
          "a complete archive without all its names");
    check(hw::bsaMessage(names).empty() == names.complete(), "a message missing or needless");
    check(names.offset <= input.size(), "a fault beyond the end");
    for (const auto &name : names.names)
        if (const auto path = hw::sayPathOfArchiveName(name))
            check(path->size() < name.size(), "a Say path longer than its name");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        fuzzOpenMwChain(rest);
        break;
    case 1:
        fuzzMorrowindIni(rest,
                         data[0] & 0x80 ? hw::CodePage::Windows1251 : hw::CodePage::Windows1252);
        break;
    default:
        fuzzBsa(rest);
        break;
    }
    return 0;
}
