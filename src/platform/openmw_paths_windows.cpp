// OpenMW's folders on Windows. The others are in openmw_paths_posix.cpp.
#include "platform/openmw_paths.hpp"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace hw {
namespace {

namespace fs = std::filesystem;

// A known folder of the user or the system; "." (as OpenMW takes it) when
// Windows gives none.
fs::path knownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    fs::path out = ".";
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        out = path;
    CoTaskMemFree(path);
    return out;
}

} // namespace

OpenMwPaths openMwPaths()
{
    OpenMwPaths out;
    out.userConfig = knownFolder(FOLDERID_Documents) / "My Games" / "OpenMW";
    out.userData = out.userConfig;
    out.global = knownFolder(FOLDERID_ProgramFiles) / "OpenMW";
    return out;
}

} // namespace hw
