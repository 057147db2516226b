// The File menu on task lists: save and open, the question before unsaved work is
// dropped, saves and opens that fail.
#include "files_fixture.hpp"

#include "ui/document/recent_files.hpp"

#include <QAction>
#include <QListWidget>
#include <QMenu>

#include <sys/stat.h>

namespace {

using hw::PromptAnswer;
using namespace hw::test;

TEST_F(Files, saveNewAndOpenGiveBackTheListTheNameAndTheSwitches)
{
    EXPECT_EQ(state(), "Hour Wright[*]\n-\n\n--V\n");
    fill(kEntries, " J\xC3\xB6ns \xC3\x84rger ", true, true);
    controls(form).chkLOS->setChecked(false);
    const QString filled = state();
    prompts.savePaths = {path("guards.hwtasks")};
    main.menu().saveAs->trigger();
    ASSERT_EQ(prompts.saveDialogs.size(), 1);
    EXPECT_TRUE(prompts.saveDialogs[0].endsWith(
        "/J\xC3\xB6ns \xC3\x84rger.hwtasks|HourWright task lists (*.hwtasks);;All files (*)|"
        "HourWright task lists (*.hwtasks)"))
        << prompts.saveDialogs[0].toStdString();
    const QString saved =
        QString(filled).replace("Hour Wright[*]\n*", "Hour Wright — guards.hwtasks[*]\n-");
    EXPECT_EQ(state(), saved);

    main.menu().newList->trigger();
    EXPECT_EQ(state(), "Hour Wright[*]\n-\n\n--V\n");
    // A known name that begins with the list's is not completed into it.
    prompts.answers = {PromptAnswer::No};
    const std::string senior = " J\xC3\xB6ns \xC3\x84rger Senior"; // as the game's code page has it
    form.loadNpcNames({write("names.esp",
                             QByteArray::fromStdString(hw::test::npcs(
                                 {hw::fromUtf8(senior, hw::CodePage::Windows1252).bytes})))});
    ASSERT_EQ(controls(form).txtName->count(), 1);
    prompts.asked.clear();
    prompts.files = {path("guards.hwtasks")};
    main.menu().open->trigger();
    EXPECT_EQ(state(), saved);
    EXPECT_TRUE(prompts.asked.isEmpty()) << prompts.asked.join('\n').toStdString();

    // The mark follows what was saved: a change undone takes it away again.
    for (QCheckBox *box : {controls(form).chkEqual, controls(form).chkLOS}) {
        box->toggle();
        EXPECT_TRUE(main.isWindowModified()) << box->objectName().toStdString();
        box->toggle();
        EXPECT_FALSE(main.isWindowModified());
    }
    // Save writes to the file it came from, without a dialog.
    delete controls(form).lstTasks->takeItem(0);
    main.menu().save->trigger();
    EXPECT_EQ(prompts.saveDialogs.size(), 1);
    EXPECT_FALSE(main.isWindowModified());
    EXPECT_EQ(hw::RecentFiles::paths(), QStringList {path("guards.hwtasks")});
    FilesWindow other;
    other.main.menu().openRecent->actions().value(0)->trigger();
    EXPECT_EQ(other.state(), state());
    // The newest eight files are kept.
    for (int i = 0; i < 9; ++i)
        hw::RecentFiles::add(path(QString::number(i)));
    main.document().updateRecentMenu();
    const QList<QAction *> recent = main.menu().openRecent->actions();
    ASSERT_EQ(recent.size(), 8);
    EXPECT_EQ(recent.front()->text(), "&1 " + path("8"));
    EXPECT_EQ(recent.back()->text(), "&8 " + path("1"));
}

// New, Open, Open Recent, closing and opening a.hwtasks again, on a.hwtasks changed (each
// with each answer) and unchanged (no question).
TEST(UnsavedQuestion, comesBeforeEachCommandThatDropsTheListAndIsObeyed)
{
    const QByteArray a = "; NPC: a\n06:00 > Appear\n", b = "; NPC: b\n07:00 > Appear\n";
    enum Command { New, Open, Recent, Close, Again };
    for (const Command command : {New, Open, Recent, Close, Again}) {
        for (const PromptAnswer answer :
             {PromptAnswer::Save, PromptAnswer::Discard, PromptAnswer::Cancel, PromptAnswer::Ok}) {
            SCOPED_TRACE(testing::Message()
                         << "command " << command << " answer " << static_cast<int>(answer));
            QSettings().clear();
            FilesWindow w;
            hw::RecentFiles::add(w.write("b.hwtasks", b));
            ASSERT_TRUE(w.main.document().openFile(w.write("a.hwtasks", a)));
            const bool changed = answer != PromptAnswer::Ok;
            if (changed)
                controls(w.form).lstTasks->addSorted("08:00 > Disappear");
            const QString before = w.state();
            w.prompts.answers = {answer};
            w.prompts.files = {w.path(command == Again ? "a.hwtasks" : "b.hwtasks")};
            const hw::MainMenu &menu = w.main.menu();
            QAction *const actions[] = {menu.newList, menu.open,
                                        menu.openRecent->actions().value(1), nullptr, menu.open};
            if (command == Close)
                w.main.close();
            else
                actions[command]->trigger();
            EXPECT_EQ(w.prompts.asked, changed ? QStringList {kSaveQuestion} : QStringList {});
            const bool done = answer != PromptAnswer::Cancel;
            const QString saved = QString(before).replace("[*]\n*", "[*]\n-");
            const QString after = command == New ? "Hour Wright[*]\n-\n\n--V\n"
                : answer == PromptAnswer::Save && (command == Close || command == Again) ? saved
                : command == Close                                                       ? before
                : command == Again ? "Hour Wright — a.hwtasks[*]\n-\na\n--V\n06:00 > Appear"
                                   : "Hour Wright — b.hwtasks[*]\n-\nb\n--V\n07:00 > Appear";
            EXPECT_EQ(w.state(), done ? after : before);
            EXPECT_EQ(w.main.isVisible(), command != Close || !done);
            EXPECT_EQ(w.read("a.hwtasks").contains("Disappear"), answer == PromptAnswer::Save);
        }
    }
}

// A save into a file as folder, onto a folder or a pipe, or past a file size limit, and an
// open of a file that cannot be taken whole: the message names the file and the line or
// reason; the window and the files stay as they were.
TEST_F(Files, aSaveOrOpenThatFailsNamesTheFileAndTheReasonAndChangesNothing)
{
    ASSERT_TRUE(main.document().openFile(write("a.hwtasks", "; NPC: a\n06:00 > Appear\n")));
    fill(kEntries, "npc", true, false);
    const QString before = state();
    write("plain", "");
    QDir().mkpath(path("folder.hwtasks"));
    ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo.hwtasks")).constData(), 0600), 0);
    QFile big(path("big.hwtasks"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(32 * 1024 * 1024 + 1));
    const QString notPlain = "It is not a plain file (a pipe or a device, say), so it is not ";
    // Whether it saves; the file; the reason. The reader's refusals are tested with it; here,
    // that the window names the file and the line or reason, and refuses what is no plain
    // file or too large before reading it.
    const std::tuple<bool, QString, QString> rows[] = {
        {true, path("plain/list.hwtasks"), "Not a directory"},
        {true, path("folder.hwtasks"), "It is a folder, not a file."},
        {true, path("fifo.hwtasks"), notPlain + "replaced."},
        {true, path("a.hwtasks"), "File too large"}, // writes past 64 bytes fail
        {false, write("bad.hwtasks", "; NPC: b\n06:00 > Appear\n07:00 > Fly\n"),
         "Line 3: unknown action \"Fly\""},
        {false, write("utf16.hwtasks", QByteArray("\xFF\xFE;\0 \0N\0", 8)),
         "The file is UTF-16; save it as UTF-8"},
        {false,
         write("hidden.hwtasks",
               "; NPC: b\n; moved\xE2\x80\xA8"
               "06:00 > Appear\n"),
         "Line 2: the line holds a line separator (U+2028) at column 8, where other programs "
         "may end the line; put a plain line end there or remove it"},
        {false, path("fifo.hwtasks"), notPlain + "read"},
        {false, path("big.hwtasks"),
         "It is larger than 32 MiB, far more than any real one, so it is not read"},
        {false, path("none.hwtasks"), "It does not exist."},
    };
    for (const auto &[saves, target, reason] : rows) {
        SCOPED_TRACE((saves ? "save to " : "open ") + target.toStdString());
        prompts.asked.clear();
        (saves ? prompts.savePaths : prompts.files) = {target};
        hw::test::withFileSizeLimit(
            64, [&] { (saves ? main.menu().saveAs : main.menu().open)->trigger(); });
        EXPECT_EQ(prompts.asked,
                  QStringList {"HourWright|Cannot " + QString(saves ? "save" : "open") +
                               " the task list \"" + target + "\".\n\n" + reason});
        EXPECT_EQ(state(), before);
    }
    EXPECT_EQ(read("a.hwtasks"), "; NPC: a\n06:00 > Appear\n");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::System).join(','),
              "a.hwtasks,bad.hwtasks,big.hwtasks,fifo.hwtasks,hidden.hwtasks,plain,utf16.hwtasks");
    // An id that no line can hold is refused before a file is chosen.
    controls(form).txtName->setEditText("a\tb");
    prompts.asked.clear();
    const auto dialogs = prompts.saveDialogs.size();
    main.menu().saveAs->trigger();
    EXPECT_EQ(prompts.asked,
              QStringList {"HourWright|Cannot save the task list.\n\n"
                           "NPC Name cannot contain line breaks or control characters!"});
    EXPECT_EQ(prompts.saveDialogs.size(), dialogs);
    controls(form).txtName->setEditText("npc");
    // Save on the question before closing that fails keeps the window open.
    main.menu().newList->trigger(); // Save: to a.hwtasks
    controls(form).txtName->setEditText("x");
    prompts.answers = {PromptAnswer::Save};
    prompts.savePaths = {path("plain/x.hwtasks")};
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.isWindowModified());
    // A recent file that is gone is taken off the list.
    QFile::remove(path("a.hwtasks"));
    prompts.asked.clear();
    const QString unsaved = state();
    main.menu().openRecent->actions().value(0)->trigger();
    EXPECT_EQ(prompts.asked,
              QStringList {"HourWright|The task list \"" + path("a.hwtasks") +
                           "\" is no longer there; it was taken off the recent files."});
    EXPECT_TRUE(main.menu().openRecent->actions().isEmpty());
    EXPECT_EQ(state(), unsaved);
}

// A list saved with old Mac line ends (CR alone) opens whole, and Save writes it back whole.
TEST_F(Files, opensAListWhoseLinesEndInACrAlone)
{
    const QString file = write("mac.hwtasks",
                               "; HourWright task list\r; NPC: Guard\r"
                               "; Global: yes\r06:00 > Appear\r07:00 > Disappear\r");
    ASSERT_TRUE(main.document().openFile(file));
    EXPECT_EQ(controls(form).lstTasks->texts(),
              QStringList({"06:00 > Appear", "07:00 > Disappear"}));
    EXPECT_EQ(controls(form).txtName->currentText(), "Guard");
    controls(form).chkEqual->setChecked(true);
    main.menu().save->trigger();
    EXPECT_EQ(read("mac.hwtasks"),
              "; HourWright task list\n; NPC: Guard\n; Global: yes\n"
              "; Equality: yes\n; Visibility: yes\n06:00 > Appear\n07:00 > Disappear\n");
}

} // namespace
