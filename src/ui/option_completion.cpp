#include "ui/option_completion.hpp"

#include "data/animation_groups.hpp"
#include "model/catalogue.hpp"
#include "model/name_list.hpp"
#include "ui/frm_main.hpp"
#include "ui/inline_completion.hpp"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace hw {

std::optional<std::string_view> CompletionList::firstStartingWith(std::string_view prefix) const
{
    if (m_names) {
        const std::size_t at = hw::firstStartingWith(*m_names, prefix);
        return at < m_names->size() ? std::optional<std::string_view>((*m_names)[at])
                                    : std::nullopt;
    }
    const std::size_t at = hw::firstStartingWith(m_ids, prefix);
    return at < m_ids.size() ? std::optional<std::string_view>(m_ids[at]) : std::nullopt;
}

const std::vector<std::string> &sortedAnimationGroups()
{
    static const std::vector<std::string> groups = [] {
        const auto names = animationGroupNames();
        std::vector<std::string> sorted(names.begin(), names.end());
        sortNames(sorted);
        return sorted;
    }();
    return groups;
}

CompletionList completionListFor(std::string_view action, std::string_view caption,
                                 const GameData *data)
{
    if (action == "Play Animation" && caption == "Group:")
        return CompletionList(sortedAnimationGroups());
    if (!data)
        return {};
    if (action == "Say" && caption == "File:")
        return CompletionList(data->soundFiles);
    if (const auto group = idGroupOfField(action, caption))
        return CompletionList(data->index.sorted(*group));
    return {};
}

OptionCompletion::OptionCompletion(frmMain &form)
    : QObject(&form)
    , m_form(form)
{
    for (int n = 0; n < static_cast<int>(form.txtOption.size()); ++n) {
        QLineEdit *box = form.txtOption[static_cast<std::size_t>(n)];
        // Installed after the form's own filter, so it sees each key first.
        box->installEventFilter(this);
        // textChanged, as in the name box: a paste completes as typing does.
        connect(box, &QLineEdit::textChanged, this, [this, n] { txtOption_Change(n); });
    }
}

void OptionCompletion::setGameData(std::shared_ptr<const GameData> data)
{
    m_data = std::move(data);
}

CompletionList OptionCompletion::listFor(int field) const
{
    const std::string action = m_form.cmbTask->currentText().toStdString();
    const Action *chosen = findAction(action);
    if (!chosen)
        return {};
    const auto spec = std::find_if(chosen->options.begin(), chosen->options.end(),
                                   [field](const OptionSpec &s) { return s.field == field; });
    if (spec == chosen->options.end())
        return {};
    return completionListFor(chosen->name, spec->caption, m_data.get());
}

bool OptionCompletion::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto field = std::find(m_form.txtOption.begin(), m_form.txtOption.end(), watched);
    if (field == m_form.txtOption.end())
        return false;
    // Backspace and Delete would otherwise get back at once the suggestion
    // they removed. Modifiers are not looked at.
    const int key = static_cast<QKeyEvent *>(event)->key();
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && !(*field)->text().isEmpty())
        m_noComplete[static_cast<std::size_t>(field - m_form.txtOption.begin())] = true;
    return false;
}

void OptionCompletion::txtOption_Change(int field)
{
    QLineEdit *edit = m_form.txtOption[static_cast<std::size_t>(field)];
    bool &noComplete = m_noComplete[static_cast<std::size_t>(field)];
    const QString typed = edit->text();
    if (typed.isEmpty() || noComplete) {
        noComplete = false;
        return;
    }
    const auto found = listFor(field).firstStartingWith(typed.toStdString());
    if (!found)
        return;
    const QString entry = QString::fromUtf8(found->data(), static_cast<qsizetype>(found->size()));
    completeInline(*edit, typed, entry);
}

} // namespace hw
