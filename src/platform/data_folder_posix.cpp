// The data folder where the game runs under Wine: read from the Wine prefix's
// registry file. The Windows look-up is in data_folder_windows.cpp.

#include "platform/data_folder.hpp"

#include "platform/wine_prefix.hpp"

#include <cstdlib>
#include <exception>
#include <system_error>

namespace hw {
namespace {

std::filesystem::path executableFolder()
{
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && program.has_parent_path())
        return program.parent_path();
    // Without /proc the folder the program was started in is the next best.
    return std::filesystem::current_path(error);
}

} // namespace

std::filesystem::path findDataFolder()
{
    try {
        if (const auto prefix = winePrefixPath(std::getenv("WINEPREFIX"), std::getenv("HOME")))
            if (auto folder = dataFolderInPrefix(*prefix))
                return *folder;
    } catch (const std::exception &) {
        // Only a failure to allocate can get here; the start-up goes on with
        // the program's own folder.
    }
    return executableFolder();
}

} // namespace hw
