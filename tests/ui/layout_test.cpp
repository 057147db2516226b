// The layout rule on changes of the client area, and Ctrl+A in the script box.
#include "window_fixture.hpp"

#include "ui/script_box.hpp"
#include "ui/wrap_button.hpp"

#include <map>

namespace {

using hw::test::WindowTest;

std::map<QString, QRect> geometries(const hw::frmMain &window)
{
    std::map<QString, QRect> map;
    for (const QWidget *w : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        map[w->objectName()] = w->geometry();
    return map;
}

struct LayoutCase
{
    int width, height;
    bool scriptFollows, listFollows; // the list and the Generate buttons
};

void PrintTo(const LayoutCase &c, std::ostream *os)
{
    *os << c.width << "x" << c.height;
}

class LayoutRule : public WindowTest, public ::testing::WithParamInterface<LayoutCase>
{
};

TEST_P(LayoutRule, stretchesOnlyTheScriptBoxTheListAndTheGenerateButtons)
{
    const LayoutCase c = GetParam();
    auto expected = geometries(window);
    window.setFixedSize(c.width, c.height);
    QCoreApplication::processEvents();
    if (c.scriptFollows)
        expected[QStringLiteral("txtScript")] = QRect(308, 20, c.width - 316, c.height - 24);
    if (c.listFollows) {
        // Reduced to whole rows; heights 309 to 320 would ask for a negative
        // height, where the list keeps its frame and shows no row.
        const int frame = 2 * window.lstTasks->frameWidth(), rows = window.lstTasks->rowHeight();
        const int set = c.height - 320;
        expected[QStringLiteral("lstTasks")].setHeight(frame +
                                                       std::max(0, set - frame) / rows * rows);
        for (const char *name : {"cmdGenerate(0)", "cmdGenerate(1)", "cmdGenerate(2)"})
            expected[QString::fromUtf8(name)].moveTop(c.height - 37);
    }
    EXPECT_EQ(geometries(window), expected);
}

INSTANTIATE_TEST_SUITE_P(
    ClientSizes, LayoutRule,
    ::testing::Values(LayoutCase {577, 528, true, true}, LayoutCase {1280, 960, true, true},
                      LayoutCase {700, 309, true, true}, LayoutCase {700, 308, true, false},
                      LayoutCase {345, 55, true, false}, LayoutCase {344, 600, false, false},
                      LayoutCase {600, 54, false, false}));

TEST_F(WindowTest, firstShowingAppliesTheRuleAndMinimisingKeepsIt)
{
    EXPECT_EQ(window.txtScript->geometry(), QRect(308, 20, 261, 504));
    EXPECT_EQ(window.cmdGenerate[1]->geometry(), QRect(216, 491, 89, 33));
    EXPECT_LE(window.lstTasks->height(), 208);
    EXPECT_GT(window.lstTasks->height() + window.lstTasks->rowHeight(), 208);
    const auto before = geometries(window);
    window.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(geometries(window), before);
    window.showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(geometries(window), before);
}

class ScriptSelectAll : public WindowTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(ScriptSelectAll, ctrlAWithShiftOrAltSelectsAllAndPlainATypes)
{
    const auto modifiers = Qt::KeyboardModifiers::fromInt(GetParam());
    for (const QString &text : {QStringLiteral("Begin x\r\nEnd"), QString()}) {
        window.txtScript->setScriptText(text);
        window.txtScript->moveCursor(QTextCursor::Start);
        QTest::keyClick(window.txtScript, Qt::Key_A, modifiers);
        const QTextCursor cursor = window.txtScript->textCursor();
        if (modifiers & Qt::ControlModifier) {
            EXPECT_EQ(window.txtScript->scriptText(), text);
            EXPECT_EQ(cursor.selectionStart(), 0);
            EXPECT_EQ(cursor.selectionEnd(), text.isEmpty() ? 0 : 11);
        } else {
            EXPECT_EQ(window.txtScript->scriptText(), 'a' + text);
        }
    }
}

const int kModifiers[] = {Qt::ControlModifier, Qt::ControlModifier | Qt::ShiftModifier,
                          Qt::ControlModifier | Qt::AltModifier, Qt::NoModifier};
INSTANTIATE_TEST_SUITE_P(Modifiers, ScriptSelectAll, ::testing::ValuesIn(kModifiers));

} // namespace
