#include "model/task_entry.hpp"
#include "model/task_list_file.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using hw::TaskListFile;

// A read as "[NPC id] switches {plugin}" and the entries one a line, or
// "line N: problem".
std::string outcome(const hw::TaskListRead &read)
{
    if (!read.ok())
        return "line " + std::to_string(read.line) + ": " + read.problem;
    std::string text = "[" + read.list.npcId + "] " + (read.list.global ? "G" : "-") +
        (read.list.equality ? "E" : "-") + (read.list.visibility ? "" : "h") +
        (read.list.plugin.empty() ? "" : " {" + read.list.plugin + "}");
    for (const std::string &entry : read.list.entries)
        text += "\n" + entry;
    return text;
}

TEST(TaskListFile, readsAWholeListOrNamesTheLineThatStopsIt)
{
    const std::string bigFile(hw::kTaskListFileLimit + 1, '\n');
    const std::string utf16 = "line 0: the file is UTF-16; save it as UTF-8";
    const std::string endsLine =
        ", where other programs may end the line; put a plain line end there or remove it";
    // clang-format off
    const std::pair<std::string, std::string> cases[] = { // text, outcome
        {"; HourWright task list\n; NPC: Town Guard\n; Global: no\n; Equality: no\n"
         "06:00 > Start Running\n06:00 > Travel > 100/200/0\n"
         "12:00 > Say > \"vo\\hello.mp3\"/\"Good day\"\n",
         "[Town Guard] --\n06:00 > Start Running\n06:00 > Travel > 100/200/0\n"
         "12:00 > Say > \"vo\\hello.mp3\"/\"Good day\""},
        // No header; entries as typed, normalised, kept in the file's order.
        {"20:00 > disappear\n06:00 > travel > 007/1.50/.5", "[] --\n20:00 > Disappear\n"
         "06:00 > Travel > 7/1.5/0.5"},
        {"", "[] --"},
        // A byte-order mark, CR LF, blank lines, keys in any case, unknown keys,
        // comments among the entries; a header line after an entry is a comment.
        {"\xEF\xBB\xBF; npc:Guard\r\n\r\n;GLOBAL : Yes\r\n; Version: 7\r\n;equality: NO\r\n"
         " \t\r\n05:00 > Appear\r\n; NPC: Other\r\n; later\r\n06:00 > Appear\r\n",
         "[Guard] G-\n05:00 > Appear\n06:00 > Appear"},
        // A CR alone ends a line too, as old Mac editors wrote them, also
        // beside LF and CR LF.
        {"; HourWright task list\r; NPC: Guard\r; Global: yes\r06:00 > Appear\r07:00 > Appear\r",
         "[Guard] G-\n06:00 > Appear\n07:00 > Appear"},
        {"06:00 > Appear\r\r\n\n\r07:00 > Fly", "line 5: unknown action \"Fly\""},
        // Without the Visibility key a list keeps the check, as before the key was written.
        {"; visibility: no\n", "[] --h"},
        {"; Visibility: Yes\n; Visibility: no\n", "line 2: the header gives \"Visibility\" twice"},
        // Quotes keep an id's blanks; only the outer pair is taken off.
        {"; NPC: \" \"\n", "[ ] --"},
        {"; NPC:  \"\"a b\"\"  \n", "[\"a b\"] --"},
        {"; NPC: \"x\n", "[\"x] --"},
        // The plugin's path as written, blanks and all; an empty one names none.
        {"; plugin:  ../Data Files/J\xC3\xB6ns Mod.omwaddon \n; NPC: a\n",
         "[a] -- {../Data Files/J\xC3\xB6ns Mod.omwaddon}"},
        {"; Plugin: \" x.esp \"\n", "[] -- { x.esp }"},
        {"; Plugin: C:/Games/Mod.esp\n", "[] -- {C:/Games/Mod.esp}"},
        {"; Plugin:\n", "[] --"},
        {"; Plugin: a.esp\n; PLUGIN: b.esp\n", "line 2: the header gives \"Plugin\" twice"},
        {"; Plugin: a\x1B.esp\n", "line 1: the plugin's path holds a control character"},
        {"; NPC: J\xC3\xB6ns \xD0\x91\n01:00 > Attack > \"\xCE\xA9 / a > b\"",
         "[J\xC3\xB6ns \xD0\x91] --\n01:00 > Attack > \"\xCE\xA9 / a > b\""},
        // Refusals: the first faulty line, counted from 1.
        {"\xFF\xFE;\0 \0", utf16}, {std::string("0\x00" "6\x00", 4), utf16}, {"\xFE\xFF", utf16},
        {std::string("\0" "0", 2), utf16},
        {"05:00 > Appear\n06:00 > Attack > \"Caf\xE9\"\n",
         "line 2: the text is not UTF-8 (byte 0xE9 at column 22); save the file as UTF-8"},
        {"; Caf\xE9 list\n", "line 1: the text is not UTF-8 (byte 0xE9 at column 6); "
                             "save the file as UTF-8"},
        {"; NPC: a\n; Global: maybe\n", "line 2: \"Global\" must be yes or no, not \"maybe\""},
        {"; Equality:\n", "line 1: \"Equality\" must be yes or no, not \"\""},
        {"; NPC: a\n;npc: b\n", "line 2: the header gives \"NPC\" twice"},
        {"; NPC: a\tb\n", "line 1: NPC Name cannot contain line breaks or control characters!"},
        {"06:00 > Appear\n\n07:00 > Fly\n08:00 > Dance\n", "line 3: unknown action \"Fly\""},
        {"  06:00 > Appear\n", "line 1: the time must be 00:00 to 23:00, not \"  06:00\""},
        // What other programs take for a line end would hide an entry in a comment.
        {"; HourWright task list\n; moved\xE2\x80\xA8" "06:00 > Appear\n",
         "line 2: the line holds a line separator (U+2028) at column 8" + endsLine},
        {"; a\xC2\x85\n", "line 1: the line holds a next-line character (U+0085) at column 4" + endsLine},
        {"; NPC: a\n; b\v\n", "line 2: the line holds a vertical tab at column 4" + endsLine},
        {std::string("; a\n; b\0c\n", 10), "line 2: the line holds a NUL byte at column 4" + endsLine},
        {"06:00 > Appear\n" + std::string(hw::kEntryLineLimit + 1, '/'),
         "line 2: the line is longer than 64 KiB, which no task-list line is: \"" +
             std::string(80, '/') + "\"..."},
        {bigFile, "line 0: the text is larger than 32 MiB, which no task list is"},
    };
    // clang-format on
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(outcome(hw::readTaskList(text)), expected) << text.substr(0, 60);
}

TEST(TaskListFile, writesTheHeaderThenOneEntryALineOrRefusesWhatALineCannotHold)
{
    const TaskListFile list {
        " Guard", true, false, {"06:00 > Appear", "07:00 > Wander > 1/2"}, false};
    EXPECT_EQ(hw::writeTaskList(list).text,
              "; HourWright task list\n; NPC: \" Guard\"\n"
              "; Global: yes\n; Equality: no\n; Visibility: no\n"
              "06:00 > Appear\n07:00 > Wander > 1/2\n");
    EXPECT_EQ(hw::writeTaskList({}).text,
              "; HourWright task list\n; Global: no\n; Equality: no\n; Visibility: yes\n");
    EXPECT_EQ(hw::writeTaskList({"a", false, false, {}, true, "../Mods/My Mod.esp"}).text,
              "; HourWright task list\n; NPC: a\n; Global: no\n; Equality: no\n; Visibility: yes\n"
              "; Plugin: ../Mods/My Mod.esp\n");
    EXPECT_EQ(hw::writeTaskList({"a", false, false, {}, true, "x\ny.esp"}).problem,
              "the plugin's path holds a control character");
    EXPECT_EQ(hw::writeTaskList({"a\nb", false, false, {}}).problem,
              "NPC Name cannot contain line breaks or control characters!");
    EXPECT_EQ(
        hw::writeTaskList({"a", false, false, {"06:00 > Appear", "; 07:00 > Appear"}}).problem,
        "entry 2 is no task entry: \"; 07:00 > Appear\"");
}

// Field texts: non-ASCII letters, the separators "/" and " > ", blanks, backslashes.
std::string randomText(std::mt19937 &random, bool mayBeEmpty)
{
    // clang-format off
    static const std::vector<std::string> pieces = {"a", "Z", " ", "/", " > ", ">", "\\",
        "\xC3\xA9", "\xD0\x96", "\xE2\x82\xAC", ";", ":", "\xF0\x9F\x98\x80", "1", "."};
    // clang-format on
    std::string text;
    const auto length = std::uniform_int_distribution<int>(mayBeEmpty ? 0 : 1, 6)(random);
    for (int i = 0; i < length; ++i)
        text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    return text;
}

// A list the window could hold: entries built by Add Task's rules from random
// fields, an id with any blanks and quotes, any switches.
TaskListFile randomList(std::mt19937 &random)
{
    const auto catalogue = hw::actionCatalogue();
    TaskListFile list;
    list.npcId = randomText(random, true);
    if (random() % 4 == 0)
        list.npcId = "\"" + list.npcId + "\"";
    list.global = random() % 2;
    list.equality = random() % 2;
    list.visibility = random() % 2;
    if (random() % 2)
        list.plugin = randomText(random, true);
    if (random() % 4 == 0)
        list.plugin = "\"" + list.plugin + "\"";
    const auto count = std::uniform_int_distribution<int>(0, 12)(random);
    while (static_cast<int>(list.entries.size()) < count) {
        const hw::Action &action = catalogue[random() % catalogue.size()];
        hw::OptionFields fields;
        for (const hw::OptionSpec &spec : action.options) {
            const bool text = hw::isTextField(spec.field, action.textFlag);
            fields[static_cast<std::size_t>(spec.field)] = {
                true, text ? randomText(random, false) : std::to_string(random() % 2000) + ".25"};
        }
        char time[6];
        std::snprintf(time, sizeof time, "%02u:00", static_cast<unsigned>(random() % 24));
        const hw::EntryResult built =
            hw::buildTaskEntry(time, action.name, fields, action.textFlag);
        if (built.ok())
            list.entries.push_back(built.entry);
    }
    return list;
}

TEST(TaskListFile, readsBackEveryListItWrites)
{
    std::mt19937 random(12);
    for (int round = 0; round < 2000; ++round) {
        const TaskListFile list = randomList(random);
        const hw::TaskListText text = hw::writeTaskList(list);
        ASSERT_TRUE(text.ok()) << text.problem;
        const hw::TaskListRead read = hw::readTaskList(text.text);
        ASSERT_TRUE(read.ok()) << read.problem << "\n" << text.text;
        EXPECT_EQ(read.list, list) << text.text;
    }
}

// Where a list finds its plugin, and how it names one, as the list moves.
TEST(TaskListFile, namesItsPluginFromItsOwnFolder)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::current_path().root_path();
    const auto at = [&](std::string_view path) {
        return root / fs::path(std::u8string(path.begin(), path.end()));
    };
    struct Case
    {
        fs::path plugin, list;
        std::string reference;
    };
    const Case cases[] = {
        {at("mods/Guards.omwaddon"), at("mods/guard.hwtasks"), "Guards.omwaddon"},
        {at("mods/Data Files/J\xC3\xB6ns.esp"), at("mods/lists/guard.hwtasks"),
         "../Data Files/J\xC3\xB6ns.esp"},
        {at("mods/out/./a/../Guards.esp"), at("mods/guard.hwtasks"), "out/Guards.esp"},
        {at("Guards.esp"), at("a/b/c.hwtasks"), "../../Guards.esp"},
    };
    for (const Case &c : cases) {
        const std::string reference = hw::pluginReference(c.plugin, c.list);
        EXPECT_EQ(reference, c.reference) << c.plugin;
        TaskListFile list;
        list.plugin = reference;
        EXPECT_EQ(hw::listPlugin(list, c.list), c.plugin.lexically_normal()) << c.plugin;
    }
    // A relative path is taken from the current folder, for the plugin and the list alike.
    EXPECT_EQ(hw::pluginReference("out/Guards.esp", "guard.hwtasks"), "out/Guards.esp");
    EXPECT_EQ(hw::pluginReference("Guards.esp", "lists/guard.hwtasks"), "../Guards.esp");
    // The list moved to another folder names the plugin beside it there; a
    // whole path stays where it is; a list without a plugin names none.
    TaskListFile moved;
    moved.plugin = "../Data Files/Guards.esp";
    EXPECT_EQ(hw::listPlugin(moved, at("elsewhere/lists/guard.hwtasks")),
              at("elsewhere/Data Files/Guards.esp"));
    moved.plugin = at("mods/Guards.esp").generic_string();
    EXPECT_EQ(hw::listPlugin(moved, at("elsewhere/guard.hwtasks")), at("mods/Guards.esp"));
    EXPECT_EQ(hw::listPlugin({}, at("mods/guard.hwtasks")), fs::path());
}

} // namespace
