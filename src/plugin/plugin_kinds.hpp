#pragma once

#include <span>
#include <string>
#include <string_view>

namespace hw {

/// Which load order a kind of content file may stand in.
enum class LoadOrderKind {
    OpenMw, ///< openmw.cfg's content= lines
    MorrowindIni, ///< Morrowind.ini's [Game Files]
};

/// One kind of the game's files that hold records: the original game's
/// masters and plugins and OpenMW's own content files. Every one of them is
/// read by the same record walk.
struct PluginKind
{
    std::string_view extension; ///< with its dot, in lower case: ".esm"
    std::string_view description; ///< "Elder Scrolls Master File"
    std::string_view pattern; ///< as a file dialog offers it: "*.ESM"
    bool master; ///< loaded before the plugins by the original game
    bool inMorrowindIni; ///< the original game loads it; OpenMW loads every kind
};

/// Every kind, masters first, in the order a file dialog offers them.
std::span<const PluginKind> pluginKinds();

/// The kind of the file named `name` by its extension, letter case ignored;
/// null when it is none, or when the name is only the extension.
const PluginKind *pluginKindOf(std::string_view name);

/// Whether `order` loads the file named `name`.
bool loadsInto(std::string_view name, LoadOrderKind order);

/// The extensions that `order` loads, as a message lists them: ".esm, .esp".
std::string extensionList(LoadOrderKind order);

} // namespace hw
