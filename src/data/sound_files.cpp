#include "data/sound_files.hpp"

#include "data/bsa_names.hpp"
#include "data/folder_files.hpp"
#include "data/problem_list.hpp"
#include "model/caseless.hpp"

#include <algorithm>
#include <exception>
#include <system_error>

namespace hw {
namespace {

namespace fs = std::filesystem;

bool isSound(std::string_view path)
{
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const auto extension = path.substr(dot);
    return caselessEqual(extension, ".wav") || caselessEqual(extension, ".mp3");
}

std::string withBackslashes(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class SoundLister
{
public:
    explicit SoundLister(SoundFiles &out)
        : m_out(out)
    { }

    void addFolder(const fs::path &dataFolder);
    void addArchive(const fs::path &archive, CodePage page);

private:
    void addEntry(const fs::path &soundFolder, const fs::directory_entry &entry);

    SoundFiles &m_out;
    std::size_t m_seen = 0;
};

void SoundLister::addEntry(const fs::path &soundFolder, const fs::directory_entry &entry)
{
    std::error_code error;
    if (!entry.is_regular_file(error))
        return;
    const auto relative = entry.path().lexically_relative(soundFolder);
    std::string text;
    try {
        const auto u8 = relative.generic_u8string();
        text.assign(u8.begin(), u8.end());
    } catch (const std::exception &) {
        return; // a Windows name that is not valid UTF-16 cannot be typed anyway
    }
    if (isSound(text))
        m_out.files.push_back(withBackslashes(std::move(text)));
}

void SoundLister::addFolder(const fs::path &dataFolder)
{
    const auto sound = findEntry(dataFolder, "Sound", EntryKind::Folder);
    if (!sound || m_seen >= kMostSoundEntries)
        return;
    std::error_code error;
    fs::recursive_directory_iterator it(*sound, fs::directory_options::skip_permission_denied,
                                        error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (++m_seen > kMostSoundEntries) {
            addProblem(m_out.problems,
                       {*sound, 0,
                        "the Sound folders hold more than " + std::to_string(kMostSoundEntries) +
                            " entries; the rest are not listed"});
            return;
        }
        addEntry(*sound, *it);
    }
}

void SoundLister::addArchive(const fs::path &archive, CodePage page)
{
    const auto names = readBsaNames(archive, page);
    if (!names.complete())
        addProblem(m_out.problems, {archive, 0, bsaMessage(names)});
    for (const auto &name : names.names)
        if (auto path = sayPathOfArchiveName(name))
            m_out.files.push_back(std::move(*path));
}

} // namespace

std::optional<std::string> sayPathOfArchiveName(std::string_view name)
{
    constexpr std::string_view kPrefix = "sound";
    if (name.size() <= kPrefix.size() + 1 || !caselessStartsWith(name, kPrefix) ||
        (name[kPrefix.size()] != '\\' && name[kPrefix.size()] != '/') || !isSound(name))
        return std::nullopt;
    return withBackslashes(std::string(name.substr(kPrefix.size() + 1)));
}

SoundFiles listSoundFiles(const LoadOrder &order, CodePage page)
{
    SoundFiles out;
    SoundLister lister(out);
    // Highest priority first, so that its spelling is the one kept.
    for (auto it = order.dataFolders.rbegin(); it != order.dataFolders.rend(); ++it)
        lister.addFolder(*it);
    for (auto it = order.archives.rbegin(); it != order.archives.rend(); ++it)
        lister.addArchive(*it, page);
    std::stable_sort(out.files.begin(), out.files.end(), caselessLess);
    out.files.erase(std::unique(out.files.begin(), out.files.end(), caselessEqual),
                    out.files.end());
    return out;
}

} // namespace hw
