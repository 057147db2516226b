#include "generator/schedule_script.hpp"
#include "generator/script_name.hpp"

#include "model/utf8.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace {

std::size_t characters(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count)
        hw::decodeUtf8(text, at);
    return count;
}

// Letters (accented ones too), digits and "_"; "-" and "'" after the first:
// what the engine took in a Begin line, a StartScript and a StopScript.
bool engineTakes(std::string_view name)
{
    for (std::size_t at = 0; at < name.size();) {
        const bool first = at == 0;
        const char32_t c = hw::decodeUtf8(name, at);
        const bool ok = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
            (!first && (c == '-' || c == '\'')) || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
        if (!ok)
            return false;
    }
    return true;
}

TEST(ScriptName, keepsANameTheGameHoldsAndMendsOneItDoesNot)
{
    const std::tuple<const char *, const char *, bool, bool> cases[] = {
        {"Town Guard", "town_guard_sched_sc_01", false, false},
        {" ", "__sched_sc_01", false, false},
        {"\xC3\x84ldere Frau", "\xC3\xA4ldere_frau_sched_sc_01", false, false}, // Äldere
        {"12 o'Neil-2", "12_o'neil-2_sched_sc_01", false, false},
        {"abcdefghijklmnopqrs", "abcdefghijklmnopqrs_sched_sc_01", false, false}, // 31
        // 31 characters of the code page, though 50 bytes of UTF-8.
        {"\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84"
         "\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84",
         "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4"
         "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4_sched_sc_01",
         false, false},
        // A ";" would end the name at a comment, a "." cannot be started.
        {"x;y", "x_y_cafe12f7_sched_sc_01", true, false},
        {"guard.2", "guard_2_35b9b1f6_sched_sc_01", true, false},
        {"-guard", "_guard_2608cced_sched_sc_01", true, false},
        // 32 characters: cut to leave room for the hash.
        {"abcdefghijklmnopqrst", "abcdefghij_d0cc2b2d_sched_sc_01", false, true},
        {"Guard\t#1 of the Imperial Legion", "guard__1_o_17ccaa60_sched_sc_01", true, true},
    };
    for (const auto &[id, name, replaced, shortened] : cases) {
        const hw::ScriptName got = hw::scriptNameOf(id);
        EXPECT_EQ(std::tuple(got.name, got.replaced, got.shortened),
                  std::tuple(std::string(name), replaced, shortened))
            << id;
    }
}

// Whatever the id, the name fits the record, holds only what the engine took
// and differs from every other id's (letter case aside).
TEST(ScriptName, givesEveryIdAHoldableNameOfItsOwn)
{
    std::vector<std::string> ids = {"a_b", "a b", "A;B", "\xC3\x97", "\x80\xFF", ";", "\xC2\xA0"};
    for (char c = 0x21; c < 0x7F; ++c)
        if (!std::isalpha(static_cast<unsigned char>(c)) && c != '_')
            ids.push_back(std::string("a") + c + "b");
    for (int n = 0; n < 40; ++n)
        ids.push_back(std::string(static_cast<std::size_t>(n), 'x') + std::to_string(n % 7));
    std::set<std::string> names;
    for (const auto &id : ids) {
        const std::string name = hw::scheduleScriptName(id);
        EXPECT_LE(characters(name), hw::kScriptNameLimit) << id;
        EXPECT_TRUE(engineTakes(name)) << id << " as " << name;
        names.insert(name);
    }
    // "a b" and "a_b" share a name, as they always have; "a;b" and "A;B" are one id.
    EXPECT_EQ(names.size(), ids.size() - 2);
    // The Begin line and the StopScript name the same script.
    const auto text = hw::generateSchedule("x;y", {{"06:00 > Appear"}}, {.global = true}).text;
    EXPECT_TRUE(text.starts_with("Begin x_y_cafe12f7_sched_sc_01\r\n"));
    EXPECT_NE(text.find("\r\nStopScript x_y_cafe12f7_sched_sc_01\r\n"), std::string::npos);
}

} // namespace
