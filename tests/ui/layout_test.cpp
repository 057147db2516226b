// The layout rule on changes of the client area, and Ctrl+A in the script box.
#include "window_fixture.hpp"

#include "ui/script_box.hpp"
#include "ui/wrap_button.hpp"

#include <map>

namespace {

using hw::test::WindowTest;

// Every control's geometry, by name.
std::map<QString, QRect> geometries(const hw::frmMain &window)
{
    std::map<QString, QRect> map;
    for (const QWidget *w : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        map[w->objectName()] = w->geometry();
    return map;
}

struct LayoutCase
{
    QSize client;
    bool scriptFollows; // the script box follows the size
    bool listFollows; // the list and the Generate buttons follow too
};

void PrintTo(const LayoutCase &c, std::ostream *os)
{
    *os << c.client.width() << "x" << c.client.height();
}

class LayoutRule : public WindowTest, public ::testing::WithParamInterface<LayoutCase>
{
};

TEST_P(LayoutRule, stretchesOnlyTheScriptBoxTheListAndTheGenerateButtons)
{
    const LayoutCase c = GetParam();
    const auto before = geometries(window);
    window.setFixedSize(c.client);
    QCoreApplication::processEvents();
    ASSERT_EQ(window.size(), c.client);
    auto after = geometries(window);

    const QRect script = after[QStringLiteral("txtScript")];
    if (c.scriptFollows) {
        EXPECT_EQ(script, QRect(308, 20, c.client.width() - 316, c.client.height() - 24));
    } else {
        EXPECT_EQ(script, before.at(QStringLiteral("txtScript")));
    }
    const QRect list = after[QStringLiteral("lstTasks")];
    if (c.listFollows) {
        const int set = c.client.height() - 320;
        const int rows = window.lstTasks->rowHeight();
        const int frame = 2 * window.lstTasks->frameWidth();
        EXPECT_EQ(list.topLeft(), QPoint(8, 288));
        EXPECT_EQ(list.width(), 297);
        EXPECT_EQ((list.height() - frame) % rows, 0);
        if (set >= frame) {
            EXPECT_LE(list.height(), set);
            EXPECT_GT(list.height() + rows, set);
        } else {
            // Heights 309 to 320 would ask for a negative height: the list keeps
            // its frame and shows no row.
            EXPECT_EQ(list.height(), frame);
        }
        for (int i = 0; i < 3; ++i) {
            const QString name = QStringLiteral("cmdGenerate(%1)").arg(i);
            const QRect was = before.at(name);
            EXPECT_EQ(after[name],
                      QRect(was.x(), c.client.height() - 37, was.width(), was.height()))
                << i;
        }
    } else {
        EXPECT_EQ(list, before.at(QStringLiteral("lstTasks")));
    }
    // Nothing else moves or changes size.
    for (const auto &[name, rect] : before) {
        if (name == QStringLiteral("txtScript") || name == QStringLiteral("lstTasks") ||
            name.startsWith(QStringLiteral("cmdGenerate")))
            continue;
        EXPECT_EQ(after[name], rect) << name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    ClientSizes, LayoutRule,
    ::testing::Values(LayoutCase {{577, 528}, true, true}, // the start size: nothing changes
                      LayoutCase {{1280, 960}, true, true}, LayoutCase {{700, 309}, true, true},
                      LayoutCase {{700, 308}, true, false}, LayoutCase {{345, 55}, true, false},
                      LayoutCase {{344, 600}, false, false}, LayoutCase {{600, 54}, false, false}));

TEST_F(WindowTest, firstShowingAppliesTheRuleAtTheStartSize)
{
    EXPECT_EQ(window.txtScript->geometry(), QRect(308, 20, 261, 504));
    const QRect list = window.lstTasks->geometry();
    EXPECT_LE(list.height(), 208);
    EXPECT_GT(list.height() + window.lstTasks->rowHeight(), 208);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(window.cmdGenerate[i]->y(), 491) << i;
}

TEST_F(WindowTest, minimisingAndRestoringKeepsTheLayout)
{
    window.setFixedSize(800, 600);
    QCoreApplication::processEvents();
    const auto before = geometries(window);
    window.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(geometries(window), before);
    window.showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(geometries(window), before);
}

struct SelectAllCase
{
    const char *text;
    Qt::KeyboardModifiers modifiers;
    bool selectsAll;
};

void PrintTo(const SelectAllCase &c, std::ostream *os)
{
    *os << "modifiers " << c.modifiers.toInt() << (c.text[0] ? " on text" : " on empty box");
}

class ScriptSelectAll : public WindowTest, public ::testing::WithParamInterface<SelectAllCase>
{
};

TEST_P(ScriptSelectAll, ctrlAWithOrWithoutShiftOrAltSelectsTheWholeText)
{
    const SelectAllCase c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    window.txtScript->setScriptText(text);
    QTextCursor cursor = window.txtScript->textCursor();
    cursor.setPosition(text.isEmpty() ? 0 : 2);
    window.txtScript->setTextCursor(cursor);
    window.txtScript->setFocus();
    QTest::keyClick(window.txtScript, Qt::Key_A, c.modifiers);
    const QTextCursor after = window.txtScript->textCursor();
    if (c.selectsAll) {
        EXPECT_EQ(window.txtScript->scriptText(), text);
        EXPECT_EQ(after.selectionStart(), 0);
        EXPECT_EQ(after.selectionEnd(), window.txtScript->document()->characterCount() - 1);
    } else {
        // Plain A reaches the box and types the letter.
        EXPECT_EQ(window.txtScript->scriptText(), text.left(2) + "a" + text.mid(2));
        EXPECT_FALSE(after.hasSelection());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ScriptSelectAll,
    ::testing::Values(SelectAllCase {"Begin x\r\nEnd", Qt::ControlModifier, true},
                      SelectAllCase {"Begin x\r\nEnd", Qt::ControlModifier | Qt::ShiftModifier,
                                     true},
                      SelectAllCase {"Begin x\r\nEnd", Qt::ControlModifier | Qt::AltModifier, true},
                      SelectAllCase {"", Qt::ControlModifier, true},
                      SelectAllCase {"Begin x\r\nEnd", Qt::NoModifier, false}));

} // namespace
