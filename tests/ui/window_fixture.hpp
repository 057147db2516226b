#pragma once

#include "form_controls.hpp"
#include "plugin_writer.hpp"
#include "ui/base/file_path.hpp"
#include "ui/base/prompts.hpp"
#include "ui/form/frm_main.hpp"
#include "ui/form/list_box.hpp"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(QSize size, std::ostream *os)
{
    *os << size.width() << 'x' << size.height();
}
inline void PrintTo(const QRect &rect, std::ostream *os)
{
    *os << rect.x() << ',' << rect.y() << ' ';
    PrintTo(rect.size(), os);
}

namespace hw::test {

/// The question before names are added to the name box's list.
inline const QString kClear =
    "HourWright|Do you want to clear the NPC list before adding the new names?";

/// Prompts that record what each shows ("caption|text", "folder|filter", "path|filter|type")
/// and give the answers, paths and file types queued, else the default, a cancel, the type shown.
struct ScriptedPrompts : Prompts
{
    QStringList asked, dialogs, files, saveDialogs, savePaths, saveTypes;
    std::vector<PromptButtons> buttons;
    std::vector<PromptAnswer> defaults;
    QList<PromptAnswer> answers;
    /// Runs while each question or message is shown.
    std::function<void()> whileShown;

    PromptAnswer ask(QWidget *, const QString &caption, const QString &text, PromptButtons shown,
                     PromptAnswer defaultButton) override
    {
        asked.append(caption + '|' + text);
        if (whileShown)
            whileShown();
        buttons.push_back(shown);
        defaults.push_back(defaultButton);
        const bool scripted = shown != PromptButtons::Ok && !answers.isEmpty();
        return scripted ? answers.takeFirst() : defaultButton;
    }
    QString openFile(QWidget *, const QString &folder, const QString &filter) override
    {
        dialogs.append(folder + '|' + filter);
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString saveFile(QWidget *, const QString &path, const QString &filter,
                     QString &selectedFilter) override
    {
        saveDialogs.append(path + '|' + filter + '|' + selectedFilter);
        if (!saveTypes.isEmpty())
            selectedFilter = saveTypes.takeFirst();
        return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
    }
};

/// Shows `w` and makes it the active window, as after start-up.
inline void showActive(QWidget &w)
{
    w.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    QApplication::setActiveWindow(&w);
}

/// Types `keys` into `target` with key events, bytes as Latin-1 characters; \b presses
/// Backspace, \177 Delete, \1 Home, \26 Ctrl+V, \16 Down, \20 Up, \n Enter and \33 Escape.
/// While a popup is open (a list of completions) the keys go to it, as the keyboard's do.
inline void typeKeys(QWidget *target, const char *keys)
{
    for (const char *key = keys; *key; ++key) {
        QWidget *to =
            QApplication::activePopupWidget() ? QApplication::activePopupWidget() : target;
        const QChar letter(static_cast<unsigned char>(*key));
        const std::pair<char, Qt::Key> named[] = {
            {'\b', Qt::Key_Backspace}, {'\177', Qt::Key_Delete}, {'\1', Qt::Key_Home},
            {'\16', Qt::Key_Down},     {'\20', Qt::Key_Up},      {'\n', Qt::Key_Return},
            {'\33', Qt::Key_Escape},
        };
        const auto *special = std::find_if(std::begin(named), std::end(named),
                                           [key](const auto &pair) { return pair.first == *key; });
        if (*key == '\26')
            QTest::keyClick(to, Qt::Key_V, Qt::ControlModifier);
        else if (special != std::end(named))
            QTest::keyClick(to, special->second);
        else
            QTest::sendKeyEvent(QTest::Click, to, static_cast<Qt::Key>(letter.toUpper().unicode()),
                                letter, Qt::NoModifier);
    }
}

/// A plugin file's bytes: the header record and one NPC record per id.
inline std::string npcs(const std::vector<std::string> &ids)
{
    std::string bytes = headerRecord();
    for (const std::string &id : ids)
        bytes += npcRecord(id);
    return bytes;
}

/// A window with scripted prompts, shown and active as after start-up, and a
/// temporary folder for the plugin files its Load button reads.
struct Window
{
    ScriptedPrompts prompts;
    frmMain window {prompts};
    QTemporaryDir folder;
    // Any inconsistency in the signals of the name box's list ends the program.
    QAbstractItemModelTester tester {controls(window).txtName->model(),
                                     QAbstractItemModelTester::FailureReportingMode::Fatal};

    Window() { showActive(window); }

    /// Picks an item as the author does, by changing the box's selection.
    static void pick(QComboBox *box, const char *text)
    {
        const int row = box->findText(QString::fromUtf8(text));
        ASSERT_GE(row, 0) << text;
        box->setCurrentIndex(row);
    }
    QLineEdit &field(int n) { return *controls(window).txtOption[static_cast<std::size_t>(n)]; }
    QString tasks() const { return controls(window).lstTasks->texts().join('\n'); }
    /// The texts of the enabled option fields, joined by "/".
    QString optionTexts() const { return optionTextsOf(window); }
    static QString optionTextsOf(const frmMain &form)
    {
        QStringList texts;
        for (const QLineEdit *box : controls(form).txtOption)
            if (box->isEnabled())
                texts.append(box->text());
        return texts.join('/');
    }

    /// Chooses time and action, types `texts` into the enabled fields from the
    /// first on, and presses Add Task.
    void addTask(const char *time, const char *action, const std::vector<const char *> &texts = {})
    {
        addTaskTo(window, time, action, texts);
    }
    static void addTaskTo(frmMain &form, const char *time, const char *action,
                          const std::vector<const char *> &texts)
    {
        pick(controls(form).cmbTime, time);
        pick(controls(form).cmbTask, action);
        std::size_t n = 0;
        for (const char *text : texts) {
            while (!controls(form).txtOption[n]->isEnabled())
                ++n;
            controls(form).txtOption[n++]->setText(QString::fromUtf8(text));
        }
        QTest::mouseClick(controls(form).cmdAdd, Qt::LeftButton);
    }

    /// Writes `bytes` as `name` into a folder whose name goes beyond ASCII, so
    /// that every load also reads such a path as chosen; returns its path.
    QString plugin(const QString &name, const std::string &bytes)
    {
        const QString sub = QStringLiteral("Données Игра");
        EXPECT_TRUE(QDir(folder.path()).mkpath(sub));
        std::ofstream(toFilesystemPath(folder.filePath(sub + '/' + name)), std::ios::binary)
            << bytes;
        return folder.filePath(sub + '/' + name);
    }

    /// Clicks Load, chooses `path` (an empty one cancels) and answers the question, if it comes.
    void load(const QString &path, PromptAnswer answer = PromptAnswer::No)
    {
        prompts.files = {path};
        prompts.answers = {answer};
        QTest::mouseClick(controls(window).Command1, Qt::LeftButton);
        prompts.answers.clear();
    }

    /// The entries of the name box's list, joined by commas.
    QString names() const { return namesOf(window); }
    static QString namesOf(const frmMain &form)
    {
        QStringList all;
        for (int i = 0; i < controls(form).txtName->count(); ++i)
            all.append(controls(form).txtName->itemText(i));
        return all.join(',');
    }
};

class WindowTest : public ::testing::Test, public Window
{
};

} // namespace hw::test
