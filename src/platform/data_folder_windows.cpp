// The data folder on Windows, read from the system registry. Elsewhere see
// data_folder_posix.cpp.

#include "platform/data_folder.hpp"

#include <windows.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>

namespace hw {
namespace {

struct InstallKey
{
    const char *key;
    const char *value;
};

// The game's own key, then the keys that the Steam and GOG editions write;
// the first key that exists is the one that counts.
constexpr std::array<InstallKey, 3> kInstallKeys = {{
    {"SOFTWARE\\Bethesda Softworks\\Morrowind", "Installed Path"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 22320", "InstallLocation"},
    {"SOFTWARE\\GOG.com\\Games\\1435828767", "path"},
}};

constexpr DWORD kBufferSize = 1024;

std::filesystem::path executableFolder()
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        // The name was cut to fit: try again with more room, up to the longest
        // path Windows has.
        if (name.size() >= 32768)
            return {};
        name.resize(name.size() * 2);
    }
}

// "<value>\Data Files" from the open key; nullopt when the value cannot be read.
std::optional<std::filesystem::path> dataFolderFromKey(HKEY key, const char *value)
{
    std::array<char, kBufferSize> buffer {};
    DWORD size = kBufferSize;
    DWORD type = 0; // received, not examined
    if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE *>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt; // also when the data does not fit the buffer
    // Data that fills the whole buffer without a NUL has no end to trust.
    const void *nul = std::memchr(buffer.data(), '\0', buffer.size());
    if (!nul)
        return std::nullopt;
    const int length = static_cast<int>(static_cast<const char *>(nul) - buffer.data());
    std::wstring path;
    if (length > 0) {
        const int wide = MultiByteToWideChar(CP_ACP, 0, buffer.data(), length, nullptr, 0);
        if (wide <= 0)
            return std::nullopt;
        path.resize(static_cast<std::size_t>(wide));
        MultiByteToWideChar(CP_ACP, 0, buffer.data(), length, path.data(), wide);
    }
    // Appended as it stands: Windows reads "C:\Game\\Data Files" as
    // "C:\Game\Data Files", and an empty value as "\Data Files" on the current
    // drive.
    path += L"\\Data Files";
    return std::filesystem::path(path);
}

} // namespace

std::filesystem::path findDataFolder()
{
    for (const auto &source : kInstallKeys) {
        HKEY key = nullptr;
        // Read rights only: asking for more fails for every user without
        // administrator rights. The 32-bit view is where the 32-bit game's
        // installer wrote, also when this program is a 64-bit build.
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, source.key, 0, KEY_READ | KEY_WOW64_32KEY, &key) !=
            ERROR_SUCCESS)
            continue;
        auto folder = dataFolderFromKey(key, source.value);
        RegCloseKey(key);
        if (folder)
            return *folder;
        break; // the key is there but names no folder
    }
    return executableFolder();
}

} // namespace hw
