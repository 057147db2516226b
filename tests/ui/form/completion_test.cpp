// Completion in each kind of option field from the test plugins' ids, sounds and animations.
#include "game_fixture.hpp"

#include "model/caseless.hpp"
#include "ui/form/list_box.hpp"

#include <QAbstractItemView>
#include <QLineEdit>

namespace {

using hw::test::controls;
using hw::test::GameWindow;

// The action; the field; the keys; the text and its selected part with the game loaded.
// Without it, a field is a plain line edit, but for "Group:" (the engine's own list).
struct Case
{
    const char *action;
    int field;
    const char *keys;
    const char *text, *selected;
};

// clang-format off
const Case kCases[] = {
    {"Follow", 0, "fm_hj", "fm_hjrondir", "rondir"},
    {"Escort", 0, "FM_SK", "FM_SKeleton_1", "eleton_1"},          // creatures; typed case kept
    {"Attack", 0, "fm_sey", "fm_sey", ""},                        // an object is no actor
    {"Activate", 0, "fm_sey", "fm_seyda_boat", "da_boat"},        // objects
    {"Activate", 0, "ward o", "ward of Akavir", "f Akavir"},      // items
    {"Cast", 1, "pla", "player", "yer"}, {"Cast", 1, "fm_ma", "fm_mara", "ra"},
    {"Cast", 0, "fm_v", "fm_vampirism", "ampirism"},              // "Spell:"
    {"Add Spell", 0, "test_s", "test_spellmaking", "pellmaking"},
    {"Add Item", 0, "test_w", "test_weapon", "eapon"},
    {"Add Item", 0, "test_spell", "test_spell", ""},              // a spell is no item
    {"Equip", 0, "fm_keep", "fm_keep_key", "_key"},
    {"Position in Cell", 0, "firemoth, g", "firemoth, great Hall", "reat Hall"},
    {"Position in Cell", 0, "firemoth r", "firemoth region", "egion"}, // regions
    {"Say", 0, "vo\\m", "vo\\misc\\Hello There.mp3", "isc\\Hello There.mp3"},
    {"Say", 0, "cr\\", "cr\\fm\\roar.wav", "fm\\roar.wav"},      // from the archive
    {"Say", 0, "VO/m", "VO\\misc\\Hello There.mp3", "isc\\Hello There.mp3"}, // "/" as "\\"
    {"Say", 1, "fm_m", "fm_m", ""},                               // subtitles
    {"Play Animation", 0, "walkf", "walkforward", "orward"},
    {"Travel", 2, "12", "12", ""},                                // numbers
    // Backspace and Delete take the suggestion away once; the next key completes.
    {"Follow", 0, "fm_hj\b", "fm_hj", ""}, {"Follow", 0, "fm_hj\bd", "fm_hjd", ""},
    {"Follow", 0, "fm_h\177j", "fm_hjrondir", "rondir"}, {"Follow", 0, "fm_h\b\bj", "fm_jhanir", "hanir"},
};
// clang-format on

TEST(OptionCompletion, completesEachFieldFromTheIdsItsCaptionNamesAndOnlyThoseFields)
{
    for (const bool loaded : {true, false}) {
        GameWindow w;
        w.configure({"firemoth.esm", "all_types.esp"});
        if (loaded)
            w.loadGameData();
        for (const Case &c : kCases) {
            SCOPED_TRACE(std::string(c.action) + " " + c.keys + (loaded ? "" : " unloaded"));
            hw::test::Window::pick(controls(w.form).cmbTask, c.action);
            QLineEdit &box = *controls(w.form).txtOption[static_cast<std::size_t>(c.field)];
            box.clear();
            box.setFocus();
            hw::test::typeKeys(&box, c.keys);
            if (loaded || QByteArray(c.action) == "Play Animation") {
                EXPECT_EQ(box.text(), QString::fromUtf8(c.text));
                EXPECT_EQ(box.selectedText(), QString::fromUtf8(c.selected));
            } else {
                QLineEdit plain;
                hw::test::typeKeys(&plain, c.keys);
                EXPECT_EQ(box.text(), plain.text());
                EXPECT_FALSE(box.hasSelectedText());
            }
        }
    }
}

// The entries of the list under `box`, or "closed".
QStringList candidates(const QLineEdit &box)
{
    const auto *list = box.findChild<QAbstractItemView *>(QStringLiteral("lstCandidates"));
    if (!list || !list->isVisible())
        return {QStringLiteral("closed")};
    QStringList rows;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        rows.append(list->model()->index(row, 0).data().toString());
    return rows;
}

TEST(OptionCompletion, listsEveryIdThatBeginsWithTheTextUntilOneIsTakenOrTheDataChanges)
{
    GameWindow w;
    w.configure({"firemoth.esm", "all_types.esp"});
    w.loadGameData();
    hw::test::Window::pick(controls(w.form).cmbTask, "Follow");
    QLineEdit &box = *controls(w.form).txtOption[0];
    box.setFocus();
    hw::test::typeKeys(&box, "fm_");
    QStringList expected;
    const hw::SortedIds actors = w.game.data()->index.sorted(hw::IdGroup::Actor);
    for (std::size_t at = 0; at < actors.size(); ++at)
        if (hw::caselessStartsWith(actors[at], "fm_"))
            expected.append(QString::fromUtf8(actors[at].data(), qsizetype(actors[at].size())));
    ASSERT_GT(expected.size(), 2);
    EXPECT_EQ(candidates(box), expected);
    hw::test::typeKeys(&box, "\16\n");
    EXPECT_EQ(box.text(), expected[1]);
    EXPECT_EQ(candidates(box), QStringList {"closed"});
    EXPECT_EQ(controls(w.form).lstTasks->count(), 0); // Enter took the id, not the task
    // Loading the game again replaces the ids the list borrowed: it closes.
    hw::test::typeKeys(&box, "\b");
    box.clear();
    hw::test::typeKeys(&box, "fm_");
    EXPECT_EQ(candidates(box), expected);
    w.loadGameData();
    EXPECT_EQ(candidates(box), QStringList {"closed"});
}

} // namespace
