#include "platform/wine_prefix.hpp"

#include "model/caseless.hpp"
#include "model/utf8.hpp"

#include <array>
#include <fstream>
#include <system_error>
#include <vector>

namespace hw {
namespace {

namespace fs = std::filesystem;

// Where the game's installers record its folder: the game's own key, then the
// keys that the Steam and GOG editions write. The 32-bit view comes first
// because that is where the 32-bit installers write, and where a Windows
// build of this program looks; a 64-bit "wine reg add" writes the native one.
constexpr std::array<RegistryQuery, 6> kInstallKeys = {{
    {"Software\\Wow6432Node\\Bethesda Softworks\\Morrowind", "Installed Path"},
    {"Software\\Bethesda Softworks\\Morrowind", "Installed Path"},
    {"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 22320",
     "InstallLocation"},
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 22320", "InstallLocation"},
    {"Software\\Wow6432Node\\GOG.com\\Games\\1435828767", "path"},
    {"Software\\GOG.com\\Games\\1435828767", "path"},
}};

// Real system.reg files stay far below this; anything larger is not read.
constexpr std::uintmax_t kLargestRegistryFile = 256 * 1024 * 1024;

fs::path pathFromUtf8(std::string_view text)
{
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string utf8Name(const fs::path &path)
{
    const auto name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

bool isFolder(const fs::path &path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

// The child folder of `folder` called `name`: the exact name when it exists,
// else the first (in byte order) whose name differs only in letter case, as
// Windows would find it.
std::optional<fs::path> childFolder(const fs::path &folder, std::string_view name)
{
    const fs::path exact = folder / pathFromUtf8(name);
    if (isFolder(exact))
        return exact;
    std::optional<std::string> best;
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string candidate = utf8Name(it->path());
        std::error_code typeError;
        if (caselessEqual(candidate, name) && it->is_directory(typeError) &&
            (!best || candidate < *best))
            best = std::move(candidate);
    }
    if (!best)
        return std::nullopt;
    return folder / pathFromUtf8(*best);
}

} // namespace

std::optional<std::string> installPathText(const RegistryValue &value)
{
    if (!value.valueFound ||
        (value.type != kRegSz && value.type != kRegExpandSz && value.type != kRegMultiSz))
        return std::nullopt;
    if (value.length > kInstallPathBuffer)
        return std::nullopt;
    const auto nul = value.text.find(u'\0');
    // Filling the whole buffer without a NUL leaves the path without an end.
    if (nul == std::u16string::npos && value.length == kInstallPathBuffer)
        return std::nullopt;
    return utf8FromUtf16(std::u16string_view(value.text).substr(0, nul));
}

std::optional<fs::path> dataFolderFromWindowsPath(const fs::path &prefix,
                                                  std::string_view windowsPath)
{
    if (windowsPath.size() < 2 || windowsPath[1] != ':')
        return std::nullopt;
    char letter = windowsPath[0];
    if (letter >= 'A' && letter <= 'Z')
        letter = static_cast<char>(letter - 'A' + 'a');
    if (letter < 'a' || letter > 'z')
        return std::nullopt;

    // Wine maps each drive by a link "dosdevices/x:" (C: is "../drive_c").
    std::error_code error;
    const fs::path drive = fs::canonical(prefix / "dosdevices" / std::string {letter, ':'}, error);
    if (error || !isFolder(drive))
        return std::nullopt;

    std::vector<std::string_view> names;
    std::string_view rest = windowsPath.substr(2);
    while (!rest.empty()) {
        const auto end = rest.find_first_of("\\/");
        const auto name = rest.substr(0, end);
        if (name == "..") {
            if (!names.empty())
                names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    names.push_back("Data Files");

    fs::path folder = drive;
    for (const auto name : names) {
        auto child = childFolder(folder, name);
        if (!child)
            return std::nullopt;
        folder = std::move(*child);
    }
    return folder;
}

std::optional<fs::path> dataFolderInPrefix(const fs::path &prefix)
{
    const fs::path file = prefix / "system.reg";
    std::error_code error;
    // Checked first so that a device or a pipe in its place is never read.
    if (!fs::is_regular_file(file, error))
        return std::nullopt;
    const auto size = fs::file_size(file, error);
    if (error || size > kLargestRegistryFile)
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    for (const auto &value : readRegistry(in, kInstallKeys))
        if (const auto text = installPathText(value))
            if (auto folder = dataFolderFromWindowsPath(prefix, *text))
                return folder;
    return std::nullopt;
}

std::optional<fs::path> winePrefixPath(const char *winePrefix, const char *home)
{
    if (winePrefix && *winePrefix)
        return fs::path(winePrefix);
    if (home && *home)
        return fs::path(home) / ".wine";
    return std::nullopt;
}

} // namespace hw
