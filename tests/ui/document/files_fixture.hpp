#pragma once

#include "window_fixture.hpp"

#include "ui/document/task_list_document.hpp"
#include "ui/shell/main_window.hpp"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>

#include <sys/resource.h>

namespace hw::test {

// The question before unsaved work is dropped, as the scripted prompts record it.
inline const QString kSaveQuestion = "HourWright|Save changes to the task list?";
// Entries that carry blanks, quotes, a backslash and non-ASCII text through a file.
inline const QString kEntries = "06:00 > Start Running|06:00 > Travel > 100/200/0|"
                                "12:00 > Say > \"vo\\h\xC3\xA9llo.mp3\"/\"Good day / a > b\"";

// Runs `body` with writes past `bytes` failing, as on a full disk.
template<class Body> void withFileSizeLimit(rlim_t bytes, Body body)
{
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small {std::min(bytes, limit.rlim_max), limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    body();
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
}

// A main window with scripted prompts and a folder for its files named beyond ASCII.
struct FilesWindow
{
    ScriptedPrompts prompts;
    hw::MainWindow main {prompts};
    hw::frmMain &form = main.form();
    QTemporaryDir folder;
    QString dir = folder.filePath(QStringLiteral("Listes Задачи"));

    FilesWindow()
    {
        QDir().mkpath(dir);
        showActive(main);
    }
    QString path(const QString &name) const { return dir + '/' + name; }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }
    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "(none)";
    }
    void fill(const QString &entries, const QString &npcId, bool global, bool equality)
    {
        for (const QString &entry : entries.split('|', Qt::SkipEmptyParts))
            controls(form).lstTasks->addSorted(entry);
        controls(form).txtName->setEditText(npcId);
        controls(form).chkGlobal->setChecked(global);
        controls(form).chkEqual->setChecked(equality);
    }
    // The title, the unsaved mark, the name, the switches and the entries.
    QString state() const
    {
        return QStringList {main.windowTitle(), main.isWindowModified() ? "*" : "-",
                            controls(form).txtName->currentText(),
                            QString(controls(form).chkGlobal->isChecked() ? "G" : "-") +
                                (controls(form).chkEqual->isChecked() ? "E" : "-") +
                                (controls(form).chkLOS->isChecked() ? "V" : "-"),
                            controls(form).lstTasks->texts().join('|')}
            .join('\n');
    }
};

// A window that starts with no recent files.
class Files : public ::testing::Test, public FilesWindow
{
protected:
    Files()
    {
        QSettings().clear();
        main.document().updateRecentMenu();
    }
};

} // namespace hw::test
