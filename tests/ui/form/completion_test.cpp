// Completion of names typed into the name box, and in each kind of option field from the
// test plugins' ids, sounds and animations.
#include "game_fixture.hpp"

#include "model/caseless.hpp"

#include <QAbstractItemView>

namespace {

using hw::PromptAnswer;
using namespace hw::test;

// The entries of the list under `box`, joined by commas, or "closed".
QString candidates(const QLineEdit &box)
{
    const auto *list = box.findChild<QAbstractItemView *>(QStringLiteral("lstCandidates"));
    if (!list || !list->isVisible())
        return QStringLiteral("closed");
    QStringList rows;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        rows.append(list->model()->index(row, 0).data().toString());
    return rows.join(',');
}

// The ids; the keys (as typeKeys takes them: \b Backspace, \177 Delete, \1 Home, \16 Down,
// \20 Up, \n Enter, \33 Escape); the text after, its selected part and the caret (-1: not
// asked); the list under the box ("": not asked); the tasks that Enter added.
struct Typing
{
    const std::vector<std::string> &ids;
    const char *keys, *text, *selected;
    int caret;
    const char *listed;
    int added = 0;
};
const std::vector<std::string> kFive = {"ab", "ac", "xa", "xb", "xc"}, kAbc = {"abc"},
                               kLate = {"pa", "qa", "xa", "xb", "xc"},
                               kAccents = {"dres", "\xC9lise"}, kMiddle = {"xaby"},
                               kSigns = {"a?c", "a[b", "abc"},
                               kFar = {"Fargoth", "fargoth_2", "Faras", "Dralas", "fa", "G"};
const char kFars[] = "Faras,Fargoth,fargoth_2";

// clang-format off
const Typing kTyping[] = {
    {kFive, "a", "ab", "b", 2, ""}, {kFive, "ac", "ac", "", 2, ""}, {kFive, "b", "b", "", 1, ""},
    // A first letter late in the alphabet still finds an entry early in the list.
    {kLate, "p", "pa", "a", 2, ""},
    {kAbc, "AB", "ABc", "c", 3, ""}, {kAbc, "ABC", "ABC", "", 3, ""},  // typed case kept
    {kAccents, "\xE9l", "\xE9lise", "ise", 5, ""}, // Windows-1252
    // Backspace and Delete take a suggestion away without bringing it back.
    {kAbc, "a\b", "a", "", 1, ""}, {kAbc, "a\bb", "abc", "c", 3, ""},
    {kAbc, "ab\177", "ab", "", 2, ""}, {kAbc, "ab\b\b\ba", "abc", "bc", 3, ""},
    // Typing in the middle completes from the whole text; the selection runs on from the caret.
    {kMiddle, "ab\1x", "xaby", "aby", 4, ""}, {kSigns, "a[", "a[b", "b", 3, ""},
    // Down, Up and Enter take an entry of the list under the box; Escape closes it.
    {kFar, "fa", "fa", "", 2, "fa,Faras,Fargoth,fargoth_2"}, {kFar, "far", "faras", "as", 5, kFars},
    {kFar, "far\16", "fargoth", "goth", 7, kFars}, {kFar, "far\16\20", "faras", "as", 5, kFars},
    {kFar, "far\16\16\n", "fargoth_2", "", -1, "closed"}, {kFar, "far\16\n", "Fargoth", "", -1, "closed"},
    {kFar, "far\n\n", "Faras", "", -1, "closed", 1}, {kFar, "far\33", "faras", "as", 5, "closed"},
    {kFar, "far\16g", "fargoth", "oth", 7, "Fargoth,fargoth_2"},
    {kFar, "farg\b", "farg", "", 4, "closed"}, {kFar, "farg\bo", "fargoth", "th", 7, "Fargoth,fargoth_2"},
    {kFar, "x", "x", "", 1, "closed"},
};
// clang-format on

TEST(Completion, completesWithTheFirstEntryListsTheOthersAndTakesOneWithDownUpAndEnter)
{
    for (const Typing &row : kTyping) {
        SCOPED_TRACE(testing::PrintToString(row.ids) + " " + testing::PrintToString(row.keys));
        Window w;
        w.load(w.plugin("names.esp", npcs(row.ids)));
        w.pick(controls(w.window).cmbTask, "Appear");
        controls(w.window).txtName->setFocus();
        typeKeys(controls(w.window).txtName, row.keys);
        const QLineEdit &edit = *controls(w.window).txtName->lineEdit();
        EXPECT_EQ(edit.text(), QString::fromLatin1(row.text));
        EXPECT_EQ(edit.selectedText(), QString::fromLatin1(row.selected));
        EXPECT_TRUE(row.caret < 0 || edit.cursorPosition() == row.caret) << edit.cursorPosition();
        EXPECT_TRUE(!*row.listed || candidates(edit) == row.listed)
            << candidates(edit).toStdString();
        EXPECT_EQ(controls(w.window).lstTasks->count(), row.added);
        typeKeys(controls(w.window).txtName, "\33");
    }
}

TEST_F(WindowTest, theNameListOpensOnlyForTypingAndClosesWhenNamesAreAdded)
{
    load(plugin("names.esp", npcs({"Fargoth"})));
    const QLineEdit &edit = *controls(window).txtName->lineEdit();
    controls(window).lstTasks->setFocus();
    controls(window).txtName->setEditText(QStringLiteral("f"));
    EXPECT_EQ(controls(window).txtName->currentText(), QStringLiteral("fargoth"));
    EXPECT_EQ(candidates(edit), QStringLiteral("closed"));
    // Names added while the list is open move the ids it borrowed: it closes.
    controls(window).txtName->clearEditText();
    controls(window).txtName->setFocus();
    typeKeys(controls(window).txtName, "f");
    EXPECT_EQ(candidates(edit), QStringLiteral("Fargoth"));
    prompts.files = {plugin("more.esp", npcs({"fa"}))};
    prompts.answers = {PromptAnswer::No};
    window.loadButton_Click();
    EXPECT_EQ(candidates(edit), QStringLiteral("closed"));
}

// A long list holds its first 500 entries and a last line that cannot be taken.
TEST_F(WindowTest, aLongListOfCompletionsEndsWithHowManyMoreThereAre)
{
    std::vector<std::string> ids;
    for (int n = 0; n < 620; ++n)
        ids.push_back(QStringLiteral("n%1").arg(n, 3, 10, QLatin1Char('0')).toStdString());
    load(plugin("many.esp", npcs(ids)));
    controls(window).txtName->setFocus();
    typeKeys(controls(window).txtName, "n");
    auto *list = controls(window).txtName->lineEdit()->findChild<QAbstractItemView *>(
        QStringLiteral("lstCandidates"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->model()->rowCount(), 501);
    const QModelIndex more = list->model()->index(500, 0);
    EXPECT_EQ(more.data().toString(), QStringLiteral("…and 120 more: type on to narrow the list"));
    list->scrollTo(more);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(more).center());
    EXPECT_TRUE(list->isVisible());
    list->setCurrentIndex(list->model()->index(499, 0));
    typeKeys(controls(window).txtName, "\16\n");
    EXPECT_EQ(controls(window).txtName->currentText(), QStringLiteral("n499"));
}

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
            Window::pick(controls(w.form).cmbTask, c.action);
            QLineEdit &box = *controls(w.form).txtOption[static_cast<std::size_t>(c.field)];
            box.clear();
            box.setFocus();
            typeKeys(&box, c.keys);
            if (loaded || QByteArray(c.action) == "Play Animation") {
                EXPECT_EQ(box.text(), QString::fromUtf8(c.text));
                EXPECT_EQ(box.selectedText(), QString::fromUtf8(c.selected));
            } else {
                QLineEdit plain;
                typeKeys(&plain, c.keys);
                EXPECT_EQ(box.text(), plain.text());
                EXPECT_FALSE(box.hasSelectedText());
            }
        }
    }
}

TEST(OptionCompletion, listsEveryIdThatBeginsWithTheTextUntilOneIsTakenOrTheDataChanges)
{
    GameWindow w;
    w.configure({"firemoth.esm", "all_types.esp"});
    w.loadGameData();
    Window::pick(controls(w.form).cmbTask, "Follow");
    QLineEdit &box = *controls(w.form).txtOption[0];
    box.setFocus();
    typeKeys(&box, "fm_");
    QStringList expected;
    const hw::SortedIds actors = w.game.data()->index.sorted(hw::IdGroup::Actor);
    for (std::size_t at = 0; at < actors.size(); ++at)
        if (hw::caselessStartsWith(actors[at], "fm_"))
            expected.append(QString::fromUtf8(actors[at].data(), qsizetype(actors[at].size())));
    ASSERT_GT(expected.size(), 2);
    EXPECT_EQ(candidates(box), expected.join(','));
    typeKeys(&box, "\16\n");
    EXPECT_EQ(box.text(), expected[1]);
    EXPECT_EQ(candidates(box), "closed");
    EXPECT_EQ(controls(w.form).lstTasks->count(), 0); // Enter took the id, not the task
    // Loading the game again replaces the ids the list borrowed: it closes.
    typeKeys(&box, "\b");
    box.clear();
    typeKeys(&box, "fm_");
    EXPECT_EQ(candidates(box), expected.join(','));
    w.loadGameData();
    EXPECT_EQ(candidates(box), "closed");
}

} // namespace
