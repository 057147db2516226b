#include "ui/form/option_completion.hpp"

#include "data/animation_groups.hpp"
#include "data/id_group.hpp"
#include "model/catalogue.hpp"
#include "model/name_list.hpp"
#include "ui/form/candidate_popup.hpp"
#include "ui/form/inline_completion.hpp"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace hw {

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

CompletionList completionListFor(FieldKind kind, const GameData *data)
{
    if (kind == FieldKind::AnimationGroup)
        return CompletionList(sortedAnimationGroups());
    if (!data)
        return {};
    if (kind == FieldKind::SoundFile)
        return CompletionList(data->soundFiles, true);
    if (const auto group = idGroupOfField(kind))
        return CompletionList(data->index.sorted(*group));
    return {};
}

std::string optionDescription(const OptionSpec &spec)
{
    const std::string words(spec.caption);
    switch (spec.kind) {
    case FieldKind::Number:
        return words + " a number.";
    case FieldKind::AnimationGroup:
        return words + " an animation group; the engine's groups are listed as you type.";
    case FieldKind::SoundFile:
        return words +
            " the path of a sound file under the Sound folder; the sounds of the "
            "loaded game data are listed as you type.";
    default:
        break;
    }
    if (const auto group = idGroupOfField(spec.kind))
        return words + " the id of " + std::string(idGroupWords(*group)) +
            "; the ids of the loaded game data are listed as you type.";
    return words + " any text.";
}

OptionCompletion::OptionCompletion(QObject &form, const FormControls &controls)
    : QObject(&form)
    , m_controls(controls)
{
    for (int n = 0; n < static_cast<int>(controls.optionFields.size()); ++n) {
        QLineEdit *box = controls.optionFields[static_cast<std::size_t>(n)];
        // Installed after the form's own filter, so it sees each key first.
        box->installEventFilter(this);
        // textChanged, as in the name box: a paste completes as typing does.
        connect(box, &QLineEdit::textChanged, this, [this, n] { txtOption_Change(n); });
    }
}

void OptionCompletion::setGameData(std::shared_ptr<const GameData> data)
{
    // The lists shown borrow the data that goes.
    for (CandidatePopup *popup : m_popups)
        if (popup)
            popup->hide();
    m_data = std::move(data);
}

CandidatePopup &OptionCompletion::popup(int field)
{
    CandidatePopup *&popup = m_popups[static_cast<std::size_t>(field)];
    if (!popup) {
        QLineEdit *box = m_controls.optionFields[static_cast<std::size_t>(field)];
        popup = new CandidatePopup(*box, *box);
    }
    return *popup;
}

CompletionList OptionCompletion::listFor(int field) const
{
    const std::string action = m_controls.cmbTask->currentText().toStdString();
    const Action *chosen = findAction(action);
    if (!chosen)
        return {};
    const auto spec = std::find_if(chosen->options.begin(), chosen->options.end(),
                                   [field](const OptionSpec &s) { return s.field == field; });
    if (spec == chosen->options.end())
        return {};
    return completionListFor(spec->kind, m_data.get());
}

bool OptionCompletion::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto field =
        std::find(m_controls.optionFields.begin(), m_controls.optionFields.end(), watched);
    if (field == m_controls.optionFields.end())
        return false;
    // Backspace and Delete would otherwise get back at once the suggestion
    // they removed. Modifiers are not looked at.
    const int key = static_cast<QKeyEvent *>(event)->key();
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && !(*field)->text().isEmpty())
        m_noComplete[static_cast<std::size_t>(field - m_controls.optionFields.begin())] = true;
    return false;
}

void OptionCompletion::txtOption_Change(int field)
{
    QLineEdit *edit = m_controls.optionFields[static_cast<std::size_t>(field)];
    CandidatePopup *shown = m_popups[static_cast<std::size_t>(field)];
    // As in the name box, the completion's own change is left alone.
    if ((shown && shown->settingText()) || m_completing)
        return;
    bool &noComplete = m_noComplete[static_cast<std::size_t>(field)];
    QString typed = edit->text();
    const CompletionList list = typed.isEmpty() || noComplete ? CompletionList() : listFor(field);
    noComplete = false;
    // Sound paths are listed with "\" between folders; "/" is typed for it too.
    if (list.paths())
        typed.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const auto [first, count] = list.empty() ? std::pair<std::size_t, std::size_t>()
                                             : list.startingWith(typed.toStdString());
    if (count == 0) {
        if (shown)
            shown->hide();
        return;
    }
    const std::string_view entry = list[first];
    m_completing = true;
    completeInline(*edit, typed,
                   QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
    m_completing = false;
    popup(field).show(list, first, count, typed);
}

} // namespace hw
