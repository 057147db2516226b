#include "plugin/plugin_kinds.hpp"

#include "model/caseless.hpp"

#include <array>

namespace hw {

namespace {

constexpr std::array<PluginKind, 4> kKinds = {{
    {".esm", "Elder Scrolls Master File", "*.ESM", true, true},
    {".esp", "Elder Scrolls Plugin File", "*.ESP", false, true},
    {".omwaddon", "OpenMW Addon File", "*.omwaddon", false, false},
    {".omwgame", "OpenMW Game File", "*.omwgame", true, false},
}};

bool accepts(const PluginKind &kind, LoadOrderKind order)
{
    return order == LoadOrderKind::OpenMw || kind.inMorrowindIni;
}

} // namespace

std::span<const PluginKind> pluginKinds()
{
    return kKinds;
}

const PluginKind *pluginKindOf(std::string_view name)
{
    for (const PluginKind &kind : kKinds) {
        const std::size_t size = kind.extension.size();
        if (name.size() > size &&
            asciiCaselessEqual(name.substr(name.size() - size), kind.extension))
            return &kind;
    }
    return nullptr;
}

bool loadsInto(std::string_view name, LoadOrderKind order)
{
    const PluginKind *kind = pluginKindOf(name);
    return kind && accepts(*kind, order);
}

std::string extensionList(LoadOrderKind order)
{
    std::string list;
    for (const PluginKind &kind : kKinds) {
        if (!accepts(kind, order))
            continue;
        if (!list.empty())
            list += ", ";
        list += kind.extension;
    }
    return list;
}

} // namespace hw
