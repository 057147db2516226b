// Completion in the NPC name box, typed with key events as the author types.
#include "names_fixture.hpp"

#include <map>

namespace {

using hw::test::npcs;

struct TypingCase
{
    const char *name;
    std::vector<std::string> list;
    // Latin-1 characters are typed; <BS>, <DEL>, <HOME> and <DOWN> press those keys.
    const char *keys;
    const char *text; // the box's text afterwards
    int selectionStart; // the caret when nothing is selected
    int selectionLength;
};

class Completion : public hw::test::NamesTest, public ::testing::WithParamInterface<TypingCase>
{
protected:
    void type(const std::string &keys)
    {
        static const std::map<std::string, Qt::Key> named = {{"BS", Qt::Key_Backspace},
                                                             {"DEL", Qt::Key_Delete},
                                                             {"HOME", Qt::Key_Home},
                                                             {"DOWN", Qt::Key_Down}};
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == '<' && keys.find('>', i) != std::string::npos) {
                const std::size_t end = keys.find('>', i);
                QTest::keyClick(window.txtName, named.at(keys.substr(i + 1, end - i - 1)));
                i = end;
            } else if (static_cast<unsigned char>(keys[i]) < 0x80) {
                QTest::keyClick(window.txtName, keys[i]);
            } else { // a Latin-1 letter, as a keyboard that has it sends it
                const QChar letter(static_cast<unsigned char>(keys[i]));
                QTest::sendKeyEvent(QTest::Click, window.txtName,
                                    static_cast<Qt::Key>(letter.toUpper().unicode()), letter,
                                    Qt::NoModifier);
            }
        }
    }
    QLineEdit &edit() { return *window.txtName->lineEdit(); }
};

TEST_P(Completion, completesWithTheFirstEntryAndSelectsFromTheCaretToTheEnd)
{
    const TypingCase &c = GetParam();
    if (!c.list.empty())
        load(plugin("names.esp", npcs(c.list)));
    window.txtName->setFocus();
    type(c.keys);
    EXPECT_EQ(text(), QString::fromLatin1(c.text));
    if (c.selectionLength == 0) {
        EXPECT_FALSE(edit().hasSelectedText()) << edit().selectedText().toStdString();
        EXPECT_EQ(edit().cursorPosition(), c.selectionStart);
    } else {
        EXPECT_EQ(edit().selectionStart(), c.selectionStart);
        EXPECT_EQ(edit().selectionLength(), c.selectionLength);
        EXPECT_EQ(edit().cursorPosition(), c.selectionStart + c.selectionLength);
    }
}

const std::vector<std::string> kFive = {"ab", "ac", "xa", "xb", "xc"};
const std::vector<std::string> kSigns = {"a?c", "a*z", "a#1", "a[b", "abc"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, Completion, ::testing::Values(
    TypingCase {"FirstEntry", kFive, "a", "ab", 1, 1},
    TypingCase {"UpperCaseFirstLetter", kFive, "X", "Xa", 1, 1},
    TypingCase {"TypingOverTheSuggestion", kFive, "ac", "ac", 2, 0},
    TypingCase {"NoEntryBeginsWithIt", kFive, "b", "b", 1, 0},
    TypingCase {"EmptyList", {}, "ab", "ab", 2, 0},
    // A first letter late in the alphabet still finds an entry early in the list.
    TypingCase {"WholeListSearched", {"pa", "qa", "xa", "xb", "xc"}, "p", "pa", 1, 1},
    TypingCase {"TypedCaseKept", {"abc"}, "AB", "ABc", 2, 1},
    TypingCase {"EqualButForCase", {"abc"}, "ABC", "ABC", 3, 0},
    TypingCase {"FirstOfSeveralInOrder", {"alps", "ALPINE", "Alpha"}, "alp", "alpha", 3, 2},
    TypingCase {"BeyondAscii", {"dres", "\xC9lise"}, "\xE9l", "\xE9lise", 2, 3},
    // Backspace and Delete take a suggestion away without bringing it back.
    TypingCase {"BackspaceRemovesTheSuggestion", {"abc"}, "a<BS>", "a", 1, 0},
    TypingCase {"TypingAfterBackspaceCompletes", {"abc"}, "a<BS>b", "abc", 2, 1},
    TypingCase {"DeleteRemovesTheSuggestion", {"abc"}, "ab<DEL>", "ab", 2, 0},
    TypingCase {"DeleteThatChangesNothingStillSuppresses", {"a", "abc"}, "a<DEL>b", "ab", 2, 0},
    TypingCase {"BackspaceAtTheStartStillSuppresses", {"axe", "x"}, "x<HOME><BS>a", "ax", 1, 0},
    TypingCase {"BackspaceInAnEmptyBox", {"abc"}, "<BS><DEL>a", "abc", 1, 2},
    TypingCase {"BackspaceToEmptyThenType", {"abc"}, "ab<BS><BS><BS>a", "abc", 1, 2},
    // Typing in the middle completes from the whole text; the selection runs
    // from the caret over the rest.
    TypingCase {"TypingInTheMiddle", {"xaby"}, "ab<HOME>x", "xaby", 1, 3},
    TypingCase {"QuestionMark", kSigns, "a?", "a?c", 2, 1},
    TypingCase {"Star", kSigns, "a*", "a*z", 2, 1},
    TypingCase {"Hash", kSigns, "a#", "a#1", 2, 1},
    TypingCase {"Bracket", kSigns, "a[", "a[b", 2, 1},
    TypingCase {"SignNotInTheList", {"abc"}, "?", "?", 1, 0},
    TypingCase {"PickingAnEntryWithTheArrowKey", {"abd", "Abc"}, "<DOWN>", "Abc", 3, 0}),
    [](const auto &row) { return std::string(row.param.name); });
// clang-format on

using NameBox = hw::test::NamesTest;

TEST_F(NameBox, aCompletionReportsItsOneChangeAndNoMore)
{
    load(plugin("names.esp", npcs({"abc", "abd"})));
    QStringList reported;
    QObject::connect(window.txtName->lineEdit(), &QLineEdit::textChanged,
                     [&](const QString &now) { reported.append(now); });
    QTest::keyClick(window.txtName, 'a');
    QTest::keyClick(window.txtName, 'b');
    // Each key: the typed text and the completed one. The nested run sets the
    // text it already has and reports nothing; its report of the completed text
    // reaches this later listener before the outer one does.
    EXPECT_EQ(reported, (QStringList {"abc", "a", "abc", "ab"}));
    EXPECT_FALSE(window.noComplete());
}

} // namespace
