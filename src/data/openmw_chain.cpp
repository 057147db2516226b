// Follows the config= lines of openmw.cfg files and combines what the files
// set, as OpenMW's configuration manager does.
#include "data/openmw_config.hpp"

#include "data/problem_list.hpp"

#include <algorithm>

namespace hw {
namespace {

namespace fs = std::filesystem;

// Folders compare by their lexical form, so that "a/b/" and "a/./b" are one
// folder; links that make one folder look like two are stopped by the limit
// on the number of files.
fs::path folderKey(const fs::path &folder)
{
    fs::path key = folder.lexically_normal();
    if (!key.has_filename() && key.has_relative_path())
        key = key.parent_path();
    return key;
}

struct Pending
{
    CfgFolder folder;
    std::size_t parent; // index into Chain::read
};

struct Chain
{
    // The folders read, each with the index of the one whose config= line
    // led to it (the start is its own parent).
    std::vector<std::pair<fs::path, std::size_t>> read;
    std::vector<OpenMwFile> files;
    std::vector<Pending> stack;
    std::uint64_t bytes = 0;
};

bool closesLoop(const Chain &chain, const fs::path &key, std::size_t from)
{
    for (std::size_t at = from;; at = chain.read[at].second) {
        if (chain.read[at].first == key)
            return true;
        if (chain.read[at].second == at)
            return false;
    }
}

bool alreadyRead(const Chain &chain, const fs::path &key)
{
    return std::any_of(chain.read.begin(), chain.read.end(),
                       [&](const auto &entry) { return entry.first == key; });
}

// The first config= line is read first: it goes on the top of the stack.
void pushConfigs(Chain &chain, const OpenMwFile &file, std::size_t parent)
{
    for (auto it = file.config.rbegin(); it != file.config.rend(); ++it)
        chain.stack.push_back({*it, parent});
}

// Parses a file of the chain that `parent` led to, unless the chain grew too
// large.
void addFile(Chain &chain, const fs::path &cfg, const std::string &text, std::size_t parent,
             const OpenMwPaths &tokens, OpenMwSettings &out)
{
    if ((chain.bytes += text.size()) > kLargestConfigChain) {
        addProblem(out.problems,
                   {cfg, 0,
                    "is not read: the configuration files of this chain hold more than " +
                        std::to_string(kLargestConfigChain / (1024 * 1024)) +
                        " MiB together, far more than any real ones"});
        chain.stack.clear();
        return;
    }
    out.files.push_back(cfg);
    auto file = parseOpenMwFile(text, cfg, tokens, out.problems);
    if (std::find(file.replace.begin(), file.replace.end(), "config") != file.replace.end())
        chain.files.resize(1);
    pushConfigs(chain, file, parent);
    chain.files.push_back(std::move(file));
}

void readLink(Chain &chain, const Pending &next, const OpenMwPaths &tokens,
              const ReadConfigFile &read, OpenMwSettings &out)
{
    const fs::path key = folderKey(next.folder.folder);
    if (alreadyRead(chain, key)) {
        if (closesLoop(chain, key, next.parent))
            addProblem(out.problems,
                       {next.folder.file, next.folder.line,
                        "config= leads back to a configuration folder that is "
                        "already read (a loop); it is not read again"});
        return;
    }
    chain.read.emplace_back(key, next.parent);
    const fs::path cfg = next.folder.folder / "openmw.cfg";
    const TextFile text = read(cfg);
    if (text.status == TextFile::Status::Refused)
        addProblem(out.problems, {cfg, 0, text.problem});
    else if (text.status == TextFile::Status::Read)
        addFile(chain, cfg, text.text, chain.read.size() - 1, tokens, out);
}

void clearReplaced(OpenMwSettings &out, const std::vector<std::string> &replace)
{
    for (const auto &key : replace) {
        if (key == "data")
            out.data.clear();
        else if (key == "content")
            out.content.clear();
        else if (key == "fallback-archive")
            out.archives.clear();
    }
}

void combine(std::vector<OpenMwFile> &files, OpenMwSettings &out)
{
    for (auto &file : files) {
        clearReplaced(out, file.replace);
        out.data.insert(out.data.end(), file.data.begin(), file.data.end());
        out.content.insert(out.content.end(), file.content.begin(), file.content.end());
        out.archives.insert(out.archives.end(), file.archives.begin(), file.archives.end());
        if (file.dataLocal)
            out.dataLocal = std::move(file.dataLocal);
    }
}

} // namespace

OpenMwSettings readOpenMwSettings(const fs::path &start, const OpenMwPaths &givenTokens,
                                  const ReadConfigFile &read)
{
    // A chain that starts at OpenMW's own openmw.cfg starts in its program's
    // folder.
    OpenMwPaths tokens = givenTokens;
    if (tokens.local.empty())
        tokens.local = start.parent_path();
    OpenMwSettings out;
    const TextFile text = read(start);
    if (text.status != TextFile::Status::Read) {
        addProblem(
            out.problems,
            {start, 0,
             text.status == TextFile::Status::Missing ? "there is no such file" : text.problem});
        return out;
    }
    Chain chain;
    chain.read.emplace_back(folderKey(start.parent_path()), 0);
    chain.bytes = text.text.size();
    out.files.push_back(start);
    chain.files.push_back(parseOpenMwFile(text.text, start, tokens, out.problems));
    pushConfigs(chain, chain.files.back(), 0);
    while (!chain.stack.empty()) {
        if (chain.read.size() >= kMostConfigFiles) {
            addProblem(out.problems,
                       {chain.stack.back().folder.file, chain.stack.back().folder.line,
                        "more than " + std::to_string(kMostConfigFiles) +
                            " configuration folders are chained by config=; the "
                            "rest are not read"});
            break;
        }
        const Pending next = std::move(chain.stack.back());
        chain.stack.pop_back();
        readLink(chain, next, tokens, read, out);
    }
    combine(chain.files, out);
    return out;
}

} // namespace hw
