// The commands that read plugins and load orders (npcs, ids, --data), the
// listings, and the ways a run fails cleanly.
#include "cli_fixture.hpp"
#include "generator/central_script.hpp"

#include <gtest/gtest.h>

namespace {

using namespace hw::test;
using hw::utf8Path;

// Every real plugin with its FILE.ids, and all their ids in that order.
std::pair<Args, std::string> realPlugins()
{
    Args plugins;
    for (const auto &entry : fs::directory_iterator(HW_TEST_PLUGINS))
        if (entry.path().extension() == ".ids")
            plugins.push_back(utf8Path(fs::path(entry.path()).replace_extension()));
    std::sort(plugins.begin(), plugins.end());
    std::string ids;
    for (const auto &plugin : plugins)
        ids += fileBytes(fs::path(plugin) += ".ids");
    return {plugins, ids};
}

Args concat(Args first, const Args &second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST_F(Cli, npcsPrintsTheIdsOfEachFileOrSaysWhatStoppedIt)
{
    const auto [plugins, ids] = realPlugins();
    const std::string first = plugins.front(), firstIds = fileBytes(first + ".ids");
    const std::string control =
        hw::test::headerRecord() + hw::test::npcRecord("a\nb\tc") + hw::test::npcRecord("d\\x");
    const std::string controlFile = write("control.esp", control);
    // A header record whose data size runs past the end, one whose size
    // (0x7A7A7A7A, "zzzz") no record can have, and a text file.
    const std::string cut = write("cut.esp", hw::test::record("TES3", "NAME", 100));
    const std::string huge = write("huge.esp", "TES3zzzz12345678NAME");
    const std::string text = write("text.esp", "Hello, world");
    // A creature without an id: the index cannot read it, so neither can npcs.
    const std::string noId =
        write("no-id.esp",
              hw::test::headerRecord() + hw::test::npcRecord("a") +
                  hw::test::record("CREA", hw::test::textSubrecord("FNAM", "Rat")));
    // clang-format off
    check({
        {concat({"npcs"}, plugins), "", 0, ids, ""},
        {concat({"npcs", "--encoding=WINDOWS-1250", "--encoding", "windows-1252", "--"}, plugins), "", 0, ids, ""},
        // Standard input, a file redirected in, is read in place.
        {{"npcs", "-H", controlFile, "-"}, control, 0,
         controlFile + "\ta\\x0Ab\\x09c\n" + controlFile + "\td\\x\n(standard input)\ta\\x0Ab\\x09c\n(standard input)\td\\x\n", ""},
        // A file that cannot be read does not stop the others, and fails the run.
        {{"npcs", path("missing.esp"), first}, "", 1, firstIds,
         said("npcs", "The file \"" + path("missing.esp") + "\" cannot be opened.")},
        {{"npcs", cut}, "", 1, "", said("npcs", "The file \"" + cut + "\" ends in the middle of a record.")},
        {{"npcs", huge}, "", 1, "", said("npcs", "The file \"" + huge + "\" is damaged: a record gives an impossible size.")},
        {{"npcs", noId}, "", 1, "a\n", said("npcs", "The file \"" + noId + "\" is damaged: a record has no id.")},
        {{"npcs", text, "-"}, "", 1, "", said("npcs", "The file \"" + text + "\" is not a Morrowind plugin or master file.")},
        {{"npcs"}, "", 2, "", said("npcs", "no FILE given")},
        {{"npcs", "--encoding"}, "", 2, "", said("npcs", "option '--encoding' needs a value\n")},
        {{"npcs", "--encoding", "utf-8", first}, "", 2, "", said("npcs", "unknown encoding 'utf-8'")},
        {{"npcs", "--encoding", "--with-filename", first}, "", 2, "",
         said("npcs", "option '--encoding' needs a value, not the option '--with-filename'")},
        {{"npcs", "--help"}, "", 0, "Usage: hourwright-cli npcs*", ""},
    });
    // clang-format on
}

TEST_F(Cli, idsAndTheScheduleNotesReadTheFilesAsTheGameCombinesThem)
{
    using namespace hw::test;
    // A master with two NPCs, one placed twice and a cell; a plugin that
    // deletes one NPC, adds another with a control character, and places one.
    const std::string master =
        write("m.esm",
              headerRecord() + npcRecord("Guard") + npcRecord("Gone") +
                  record("CELL", cellHead("Keep", 1) + placed(1, "guard") + placed(2, "GUARD")));
    const std::string plugin = headerRecord({"m.esm"}) +
        record("NPC_", textSubrecord("NAME", "Gone") + subrecord("DELE", le32(0))) +
        npcRecord("new\tone") + record("CELL", cellHead("Hut", 1) + placed(1, "new\tone"));
    const std::string pluginFile = write("p.esp", plugin);
    const Args guardTasks = {"06:00 > Follow > \"player\"/0/0/0/0",
                             "07:00 > Follow > \"Gone\"/0/0/0/0"};
    // clang-format off
    check({
        {{"ids", master, pluginFile}, "", 0, "Guard\nnew\\x09one\n", ""},
        {{"ids", "--placed", master, "-"}, plugin, 0, "Guard\t2\nnew\\x09one\t1\n", ""},
        {{"ids", "--kind=cell", master, pluginFile}, "", 0, "Keep\nHut\n", ""},
        // A file that cannot be opened is named after the ids; the others are read.
        {{"ids", path("missing.esp"), master}, "", 1, "Guard\nGone\n",
         said("ids", "The file \"" + path("missing.esp") + "\" cannot be opened.")},
        {{"ids", "--kind", "npcs", master}, "", 2, "", said("ids", "unknown kind 'npcs'")},
        {{"ids", "--kind", "item", "--placed", master}, "", 2, "",
         said("ids", "--placed counts the references of NPCs and creatures only")},
        {{"ids"}, "", 2, "", said("ids", "no FILE given")},
        {{"ids", "--help"}, "", 0, "Usage: hourwright-cli ids*", ""},
        // With game data the notes follow on standard error, the NPC's first.
        {{"schedule", "--npc", "Guard", "--data", master, "--data", pluginFile}, lines(guardTasks), 0,
         script("Guard", guardTasks),
         said("schedule", "note: The NPC \"Guard\" is placed 2 times (Keep twice): its commands reach only one of them.\n") +
             said("schedule", "note: " + guardTasks[1] + ": Target \"Gone\" is not ")},
        // Without a file's ids every id of it would be unknown: no notes then.
        {{"schedule", "--npc", "Guard", "--data", path("missing.esp"), "--data", master},
         lines(guardTasks), 1, script("Guard", guardTasks),
         said("schedule", "The file \"" + path("missing.esp") + "\" cannot be opened.\nNo such file or directory.\n") +
             said("schedule", "no notes: without the game data that could not be read they would call ids unknown that the game knows\n")},
        {{"schedule", "--npc", "Guard", "--data", "-"}, lines(guardTasks), 2, "",
         said("schedule", "--data names a file")},
    });
    // clang-format on
#ifndef _WIN32
    // --load-order reads the user's openmw.cfg; a missing content file is told
    // before the notes and fails the run.
    const std::string data = "data=\"" + utf8Path(m_dir.path()) + "\"\ncontent=m.esm\n";
    write("good/openmw/openmw.cfg", data);
    const std::string gone = write("gone/openmw/openmw.cfg", data + "content=gone.esp\n");
    const std::string placedTwice = said("schedule", "note: The NPC \"Guard\" is placed 2 times");
    const Args loadOrder = {"schedule", "--npc", "Guard", "--load-order"};
    // clang-format off
    check({{loadOrder, lines(guardTasks), 0, script("Guard", guardTasks), placedTwice}},
          "XDG_CONFIG_HOME=" + quoteArg(path("good")));
    check({{loadOrder, lines(guardTasks), 1, script("Guard", guardTasks),
           said("schedule", gone + ":3: the content file \"gone.esp\" is in none of the data folders\n") + placedTwice}},
          "XDG_CONFIG_HOME=" + quoteArg(path("gone")));
    write("empty/openmw/openmw.cfg", "data=\"" + utf8Path(m_dir.path()) + "\"\n");
    check({{loadOrder, lines(guardTasks), 1, script("Guard", guardTasks),
           said("schedule", "no notes: there is no game data to check the script against\n")}},
          "XDG_CONFIG_HOME=" + quoteArg(path("empty")));
    // clang-format on
#endif
}

TEST_F(Cli, listsTheActionsAndPrintsAFreshCentralTemplate)
{
    const Outcome actions = run({"actions"});
    EXPECT_EQ(actions.status, 0) << actions.err;
    // In the action box's order, fields in entry order, texts quoted, no trailing blank.
    EXPECT_TRUE(actions.out.starts_with("Activate\n   0 \"Target:\"\nAdd Item\n   0 \"Item ID:\"\n"
                                        "   2 Quantity:         1\nAdd Spell\n"))
        << actions.out;
    EXPECT_NE(actions.out.find("\nPosition in Cell\n   0 \"Cell ID:\"\n   2 X:"),
              std::string::npos);
    EXPECT_TRUE(actions.out.ends_with("\n  11 Idle 9 Chance:    10\n")) << actions.out;
    EXPECT_EQ(actions.out.find(" \n"), std::string::npos);

    const Outcome first = run({"central"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out, run({"central"}).out);
    // Apart from its name the template is the core's.
    const std::string zero = hw::centralScript({});
    EXPECT_TRUE(first.out.starts_with("Begin hrw_central_")) << first.out;
    EXPECT_TRUE(first.out.ends_with(zero.substr(zero.find("\r\n")))) << first.out;

    // clang-format off
    check({
        {{"central", "now"}, "", 2, "", said("central", "takes no arguments")},
        {{"actions", "-x"}, "", 2, "", said("actions", "unknown option '-x'")},
        {{"central", "--help"}, "", 0, "Usage: hourwright-cli central\n*", ""},
        {{"--help"}, "", 0, "Usage: hourwright-cli COMMAND*", ""},
        {{"dance"}, "", 2, "", "hourwright-cli: unknown command 'dance'\n"},
    });
    // clang-format on
}

#ifndef _WIN32
// Output that cannot be written, special files, pipes and too little memory:
// each ends the command at once with a message.
TEST_F(Cli, failsCleanlyWhereTheSystemSaysNo)
{
    const std::string full = "cannot write to standard output: No space left on device";
    // clang-format off
    const Args writers[] = {{"actions"}, {"actions", "--help"}, {"central"}, {"central", "-h"},
        {"schedule", "--npc", "x"}, {"schedule", "-h"}, {"npcs", "-"}, {"npcs", "-h"}, {"ids", "-h"}, {"loadorder", "-h"}, {"--help"}, {"--version"}};
    // clang-format on
    const std::string plugin = hw::test::headerRecord() + hw::test::npcRecord("x");
    for (const Args &args : writers) {
        const Outcome r = run(args, args[0] == "npcs" ? plugin : "06:00 > Appear\n", "/dev/full");
        EXPECT_EQ(r.status, 1) << args.back();
        const std::string command =
            args[0].starts_with("--") ? "hourwright-cli: " : said(args[0], "");
        EXPECT_EQ(r.err, command + full + "\n") << args.back();
    }

    const std::string special =
        ": is not a regular file; send a pipe or a device to standard input (-) instead\n";
    // clang-format off
    const std::pair<Row, std::string> rows[] = {
        {{{"schedule", "--npc", "x", "/dev/zero"}, "", 1, "", said("schedule", "/dev/zero" + special)}, ""},
        {{{"npcs", "-H", "-"}, plugin, 0, "(standard input)\tx\n", ""}, "cat |"},
        // What does not begin as a plugin does is refused after four bytes.
        {{{"npcs", "-"}, "", 1, "", said("npcs", "The file \"(standard input)\" is not a Morrowind plugin")},
         "cat /dev/zero |"},
        {{{"schedule", "--npc", "x"}, "06:00 > Appear", 0, script("x", {"06:00 > Appear"}),
          notesOn("x", {"06:00 > Appear"})}, "cat |"},
        {{{"schedule", "--npc", "x"}, std::string(100'000, '\0'), 1, "",
          said("schedule", "(standard input):1: the line is longer than 64 KiB")}, "cat |"},
        {{{"schedule", "--npc", "x"}, lines(Args(100'000, "06:00 > Wander > 1/2/3/4/5/6/7/8/9/10/11")), 1, "",
          said("schedule", "out of memory; the input is too large\n")}, "ulimit -v 16000;"},
    };
    // clang-format on
    for (const auto &[row, shell] : rows) {
#ifdef HW_SANITIZED
        if (shell.starts_with("ulimit")) // the sanitizers reserve far more address space
            continue;
#endif
        check({row}, shell);
    }
}
#endif

} // namespace
