#pragma once

#include "ui/prompts.hpp"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace hw::test {

/// Prompts that record what the window asked and give the answers a test
/// queued; a question with no queued answer gets its default button.
class ScriptedPrompts : public Prompts
{
public:
    struct Asked
    {
        QString caption;
        QString text;
        PromptButtons buttons;
        PromptAnswer defaultButton;
    };

    PromptAnswer ask(QWidget *, const QString &caption, const QString &text, PromptButtons buttons,
                     PromptAnswer defaultButton) override
    {
        asked.push_back({caption, text, buttons, defaultButton});
        if (buttons == PromptButtons::Ok || answers.empty())
            return defaultButton;
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QString openFile(QWidget *, const QString &folder, const QString &filter) override
    {
        openFileFolders.append(folder);
        openFileFilters.append(filter);
        return chosenFile;
    }

    /// The texts asked so far, in order.
    QStringList texts() const
    {
        QStringList list;
        for (const Asked &a : asked)
            list.append(a.text);
        return list;
    }

    std::vector<Asked> asked;
    std::deque<PromptAnswer> answers;
    QStringList openFileFolders;
    QStringList openFileFilters;
    QString chosenFile;
};

} // namespace hw::test
