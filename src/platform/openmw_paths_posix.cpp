// OpenMW's folders on Linux and the other Unix systems, and on macOS. The
// Windows ones are in openmw_paths_windows.cpp.
#include "platform/openmw_paths.hpp"

#include <cstdlib>

namespace hw {
namespace {

namespace fs = std::filesystem;

// The user's home folder; empty without HOME (the password database is not
// asked: the command-line program is linked statically).
fs::path home()
{
    if (const char *dir = std::getenv("HOME"); dir && *dir)
        return dir;
    return {};
}

// `name` in `folder`, or nothing when the folder is not known.
fs::path within(const fs::path &folder, const char *name)
{
    return folder.empty() ? fs::path() : folder / name;
}

#ifndef __APPLE__
// An XDG variable that is set and not empty, else the fallback below home.
fs::path xdgFolder(const char *variable, const char *fallback)
{
    if (const char *dir = std::getenv(variable); dir && *dir)
        return dir;
    return within(home(), fallback);
}
#endif

} // namespace

OpenMwPaths openMwPaths()
{
    OpenMwPaths out;
#ifdef __APPLE__
    out.userConfig = within(home(), "Library/Preferences/openmw");
    out.userData = within(home(), "Library/Application Support/openmw");
    out.global = "/Library/Application Support/openmw";
#else
    out.userConfig = within(xdgFolder("XDG_CONFIG_HOME", ".config"), "openmw");
    out.userData = within(xdgFolder("XDG_DATA_HOME", ".local/share"), "openmw");
    // Where OpenMW's packages for Linux put its shared data.
    out.global = "/usr/share/games/openmw";
#endif
    return out;
}

} // namespace hw
