// The Load button: the dialog, the clear question, the scan and the names
// added to the name box, with plugin files written here and real ones.
#include "names_fixture.hpp"

#include "model/caseless.hpp"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;
using hw::test::npcs;
using hw::test::record;

const QString kQuestion =
    QStringLiteral("HourWright|Do you want to clear the NPC list before adding the new names?");

class LoadTest : public hw::test::NamesTest
{
protected:
    /// The questions and messages, one a line.
    QString asked() const { return prompts.asked.join('\n'); }
};

TEST_F(LoadTest, asksNothingOnCancelAndTheQuestionForEveryFileChosen)
{
    load(QString(), PromptAnswer::Yes);
    EXPECT_TRUE(prompts.asked.isEmpty());
    load(plugin("a.esp", npcs({"b", "A"})));
    EXPECT_EQ(prompts.dialogs.value(1),
              hw::fromFilesystemPath(window.dataFolder()) +
                  "|Elder Scrolls Master File (*.ESM);;Elder Scrolls Plugin File (*.ESP)");
    EXPECT_EQ(asked(), kQuestion);
    EXPECT_EQ(prompts.buttons.back(), PromptButtons::YesNo);
    EXPECT_EQ(prompts.defaults.back(), PromptAnswer::Yes);
    EXPECT_EQ(names(), "A,b");
    EXPECT_TRUE(window.npcNames().empty());
}

struct AnswerCase
{
    const char *name;
    std::string second; // the file loaded after one with the ids D, b
    PromptAnswer answer;
    const char *names; // the list afterwards
    const char *text; // the box's text afterwards ("typed" before)
};

class LoadAnswer : public LoadTest, public ::testing::WithParamInterface<AnswerCase>
{
};

TEST_P(LoadAnswer, clearsOnlyOnYesAndKeepsEveryIdOfTheFile)
{
    const AnswerCase &c = GetParam();
    load(plugin("first.esm", npcs({"D", "b"})));
    window.txtName->setEditText("typed");
    load(plugin("second.esp", c.second), c.answer);
    EXPECT_EQ(names(), c.names);
    EXPECT_EQ(text(), c.text);
    EXPECT_EQ(asked(), kQuestion + '\n' + kQuestion) << "no message";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, LoadAnswer, ::testing::Values(
    AnswerCase {"No", npcs({"c", "a", "e"}), PromptAnswer::No, "a,b,c,D,e", "typed"},
    AnswerCase {"Yes", npcs({"c", "a", "e"}), PromptAnswer::Yes, "a,c,e", ""},
    AnswerCase {"SameFileTwice", npcs({"D", "b"}), PromptAnswer::No, "b,b,D,D", "typed"},
    AnswerCase {"DuplicatesInTheFile", npcs({"x", "x"}), PromptAnswer::Yes, "x,x", ""},
    // Of ids equal but for case, the older entries stay in front.
    AnswerCase {"CaseVariants", npcs({"d", "B"}), PromptAnswer::No, "b,B,D,d", "typed"},
    AnswerCase {"NoNpcRecordsAfterNo", hw::test::headerRecord(), PromptAnswer::No, "b,D", "typed"},
    AnswerCase {"NoNpcRecordsAfterYes", hw::test::headerRecord(), PromptAnswer::Yes, "", ""},
    AnswerCase {"EmptyFileAfterYes", "", PromptAnswer::Yes, "", ""},
    // An empty first id does not hide the ids behind it.
    AnswerCase {"EmptyFirstId", npcs({"", "a"}), PromptAnswer::No, ",a,b,D", "typed"}),
    [](const auto &row) { return std::string(row.param.name); });
// clang-format on

struct FaultCase
{
    const char *name;
    std::string bytes; // or "<missing>", "<folder>"
    const char *message; // after "HourWright|The file "PATH" "
};

class LoadFault : public LoadTest, public ::testing::WithParamInterface<FaultCase>
{
};

TEST_P(LoadFault, showsWhatIsWrongAndLeavesTheListAsItWasAfterYesToo)
{
    const FaultCase &c = GetParam();
    load(plugin("good.esm", npcs({"keep", "Also"})));
    window.txtName->setEditText("typed");
    const QString path = c.bytes == "<folder>" ? folder.path()
        : c.bytes == "<missing>"               ? folder.filePath("missing.esp")
                                               : plugin("bad.esp", c.bytes);
    for (const PromptAnswer answer : {PromptAnswer::Yes, PromptAnswer::No}) {
        prompts.asked.clear();
        load(path, answer);
        EXPECT_EQ(names(), "Also,keep");
        EXPECT_EQ(text(), "typed");
        EXPECT_EQ(asked(), kQuestion + "\nHourWright|The file \"" + path + "\" " + c.message);
        EXPECT_EQ(prompts.buttons.back(), PromptButtons::Ok);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, LoadFault, ::testing::Values(
    FaultCase {"NegativeDataSize", npcs({"x"}) + record("CELL", "", -5) + npcs({"y"}),
               "is damaged at offset 0x216: the record \"CELL\" at offset 0x216 has a negative data "
               "size (-5). 1 NPC id was found before it. The NPC list was left as it was."},
    FaultCase {"NpcWithoutName", npcs({"x"}) + record("NPC_", "FNAM"),
               "is damaged at offset 0x216: the NPC record there has no NAME sub-record. 1 NPC id "
               "was found before it. The NPC list was left as it was."},
    FaultCase {"Missing", "<missing>", "cannot be opened: No such file or directory. The NPC list "
               "was left as it was."},
    FaultCase {"Folder", "<folder>", "cannot be opened: Is a directory. The NPC list was left as "
               "it was."}),
    [](const auto &row) { return std::string(row.param.name); });
// clang-format on

TEST_F(LoadTest, aTruncatedFileAddsTheIdsBeforeTheEndAndSaysSo)
{
    load(plugin("good.esm", npcs({"old"})));
    const std::string whole = npcs({"b", "a", "c"});
    const QString path = plugin("cut.esp", whole.substr(0, whole.size() - 10));
    load(path, PromptAnswer::Yes);
    EXPECT_EQ(names(), "a,b");
    EXPECT_EQ(prompts.asked.value(2),
              "HourWright|The file \"" + path +
                  "\" ends early at offset 0x36C: the record \"NPC_\" at offset 0x2C6 says it "
                  "holds 160 bytes of data, but only 150 follow its header. 2 NPC ids were found "
                  "before it. The ids found were added to the NPC list.");
}

TEST_F(LoadTest, realPluginsGiveTheirIdsInCaselessOrderEqualOnesInTheOrderOfAdding)
{
    const QDir plugins(QStringLiteral(HW_TEST_PLUGINS));
    std::vector<std::string> expected;
    for (const char *name : {"Welcome_to_the_Arena_v6.7.esp", "D2Items.esp", "firemoth.esm"}) {
        QFile ids(plugins.filePath(QString::fromUtf8(name) + ".ids"));
        ASSERT_TRUE(ids.open(QIODevice::ReadOnly | QIODevice::Text)) << name;
        for (const QString &id : QString::fromUtf8(ids.readAll()).split('\n', Qt::SkipEmptyParts))
            expected.push_back(id.toStdString());
        load(plugins.filePath(QString::fromUtf8(name)));
    }
    std::stable_sort(expected.begin(), expected.end(), hw::caselessLess);
    QStringList all;
    for (const std::string &id : expected)
        all.append(QString::fromStdString(id));
    EXPECT_EQ(names(), all.join(','));
}

TEST_F(LoadTest, aPathWithLettersBeyondAsciiIsReadAsChosen)
{
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Données Игра")));
    load(plugin(QStringLiteral("Données Игра/Ébène.esp"), npcs({"\xE9lise"}))); // Windows-1252
    EXPECT_EQ(names(), QStringLiteral("élise"));
    EXPECT_EQ(asked(), kQuestion);
}

TEST_F(LoadTest, addingNamesLeavesTheTextItsSelectionAndTheChosenEntryAlone)
{
    // "fa" would be completed by a change of the text; a load reports none.
    QLineEdit *edit = window.txtName->lineEdit();
    QTest::keyClicks(window.txtName, "fa");
    edit->setSelection(2, -1);
    // Through the slot: a click on the button would take the focus, and the
    // line edit drops its selection when it loses the focus.
    prompts.files.push_back(plugin("a.esp", npcs({"fargoth", "Fa"})));
    prompts.answers.push_back(PromptAnswer::No);
    window.Command1_Click();
    EXPECT_EQ(text(), "fa");
    EXPECT_EQ(window.txtName->currentIndex(), -1);
    EXPECT_EQ(edit->selectedText(), "a");
    EXPECT_EQ(edit->cursorPosition(), 1);

    window.txtName->setCurrentIndex(1); // fargoth, picked from the list
    load(plugin("b.esp", npcs({"a", "z", "FARGOTH"})));
    EXPECT_EQ(names(), "a,Fa,fargoth,FARGOTH,z");
    EXPECT_EQ(window.txtName->currentIndex(), 2);
    EXPECT_EQ(text(), "fargoth");
}

} // namespace
