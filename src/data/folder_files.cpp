#include "data/folder_files.hpp"
#include "data/problem_list.hpp"

#include "model/caseless.hpp"

#include <system_error>

namespace hw {
namespace {

namespace fs = std::filesystem;

bool isKind(const fs::directory_entry &entry, EntryKind kind)
{
    std::error_code error;
    const bool folder = entry.is_directory(error);
    return kind == EntryKind::Folder ? folder : !folder && !error;
}

} // namespace

std::optional<fs::path> findEntry(const fs::path &folder, std::string_view name, EntryKind kind)
{
    // The folder is listed even when the name may be right as it stands:
    // Windows would find it in any letter case, and the name on disk is the
    // one to give back.
    std::optional<std::string> best;
    std::error_code error;
    std::size_t seen = 0;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator() && seen < FolderFiles::kMostEntries;
         it.increment(error), ++seen) {
        std::string candidate = utf8Path(it->path().filename());
        const bool better = !best || candidate == name || (*best != name && candidate < *best);
        if (better && caselessEqual(candidate, name) && isKind(*it, kind))
            best = std::move(candidate);
    }
    if (!best)
        return std::nullopt;
    return folder / pathFromUtf8(*best);
}

fs::path plainFolder(const fs::path &folder)
{
    std::error_code error;
    fs::path out = fs::canonical(folder, error);
    return error ? folder : out;
}

FolderFiles::FolderFiles(const std::vector<fs::path> &folders, NameFold fold,
                         std::vector<LoadOrderProblem> &problems)
    : m_fold(fold)
{
    for (const auto &folder : folders) {
        // Within one folder two names may differ only in case (on Linux); the
        // first in byte order counts, as findEntry() takes it.
        std::unordered_map<std::string, fs::path> own;
        std::error_code error;
        std::size_t seen = 0;
        fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            if (++seen > kMostEntries) {
                addProblem(problems,
                           {folder, 0,
                            "this folder holds more than " + std::to_string(kMostEntries) +
                                " entries; only the first are looked at"});
                break;
            }
            if (!isKind(*it, EntryKind::File))
                continue;
            auto [at, added] = own.try_emplace(key(utf8Path(it->path().filename())), it->path());
            if (!added && it->path().filename() < at->second.filename())
                at->second = it->path();
        }
        for (auto &[name, path] : own)
            m_files.insert_or_assign(name, std::move(path));
    }
}

std::string FolderFiles::key(std::string_view name) const
{
    return m_fold == NameFold::Ascii ? asciiLowerCase(name) : lowerCase(name);
}

std::optional<fs::path> FolderFiles::find(std::string_view name) const
{
    const auto it = m_files.find(key(name));
    if (it == m_files.end())
        return std::nullopt;
    return it->second;
}

} // namespace hw
