#pragma once

#include "window_fixture.hpp"

#include "plugin_writer.hpp"
#include "ui/file_path.hpp"

#include <QTemporaryDir>

#include <fstream>
#include <string>
#include <vector>

namespace hw::test {

/// A plugin file's bytes: the header record and one NPC record per id.
inline std::string npcs(const std::vector<std::string> &ids)
{
    std::string bytes = headerRecord();
    for (const std::string &id : ids)
        bytes += npcRecord(id);
    return bytes;
}

/// A window whose name list is filled through the Load button, from plugin
/// files written into a temporary folder.
class NamesTest : public WindowTest
{
protected:
    QTemporaryDir folder;

    /// Writes `bytes` as `name` into the test's folder; returns its path.
    QString plugin(const QString &name, const std::string &bytes)
    {
        const QString path = folder.filePath(name);
        std::ofstream(toFilesystemPath(path), std::ios::binary) << bytes;
        return path;
    }

    /// Clicks Load, chooses `path` (an empty one cancels) and answers the question.
    void load(const QString &path, PromptAnswer answer = PromptAnswer::No)
    {
        prompts.files.push_back(path);
        prompts.answers.push_back(answer);
        QTest::mouseClick(window.Command1, Qt::LeftButton);
        prompts.answers.clear();
    }

    /// The entries of the name box's list, joined by commas.
    QString names() const
    {
        QStringList all;
        for (int i = 0; i < window.txtName->count(); ++i)
            all.append(window.txtName->itemText(i));
        return all.join(',');
    }
    QString text() const { return window.txtName->currentText(); }
};

} // namespace hw::test
