// The kinds of the game's content files, known by their extension in any letter case.
#include "plugin/plugin_kinds.hpp"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using hw::LoadOrderKind;

TEST(PluginKinds, areKnownByTheirExtensionInAnyCaseAndLoadWhereTheirLoadOrderTakesThem)
{
    // A file name; whether OpenMW loads it; whether Morrowind.ini does; whether it is a master.
    const std::tuple<const char *, bool, bool, bool> cases[] = {
        {"Morrowind.esm", true, true, true},    {"Tribunal.ESM", true, true, true},
        {"Caf\xC3\xA9.EsP", true, true, false}, {"Mod.OMWADDON", true, false, false},
        {"Game.omwgame", true, false, true},    {".esp", false, false, false},
        {"esm", false, false, false},           {"a.esp.bak", false, false, false},
        {"b.omwscripts", false, false, false},  {"c.es", false, false, false},
        {"dir.esp/notes", false, false, false},
    };
    for (const auto &[name, openMw, ini, master] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(hw::loadsInto(name, LoadOrderKind::OpenMw), openMw);
        EXPECT_EQ(hw::loadsInto(name, LoadOrderKind::MorrowindIni), ini);
        const hw::PluginKind *kind = hw::pluginKindOf(name);
        EXPECT_EQ(kind != nullptr, openMw);
        EXPECT_TRUE(!kind || kind->master == master);
    }
}

} // namespace
