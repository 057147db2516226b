#pragma once

#include "model/catalogue.hpp"
#include "ui/base/game_data.hpp"
#include "ui/form/completion_list.hpp"
#include "ui/form/form_controls.hpp"

#include <QObject>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

class CandidatePopup;

/// The game's animation group names in caseless order.
const std::vector<std::string> &sortedAnimationGroups();

/// What an option field of `kind` completes from: the ids of its kind, the
/// sound files, the animation groups (also without `data`); an empty list for
/// every other field, and for every field but an animation group's while
/// nothing is loaded.
CompletionList completionListFor(FieldKind kind, const GameData *data);

/// What the option field `spec` takes, in words for a screen reader:
/// "Target: the id of an NPC or creature; ...".
std::string optionDescription(const OptionSpec &spec);

/// Completes the ids typed into the option fields of `frmMain` as the name
/// box completes NPC ids: the rest of the first id that begins with the text
/// is added and selected, letter case ignored, and every id that begins with
/// it is listed under the field; Backspace or Delete in a field with text
/// switches off the field's next completion.
class OptionCompletion : public QObject
{
    Q_OBJECT
public:
    /// Watches the option fields among `controls`, as a child of `form`.
    OptionCompletion(QObject &form, const FormControls &controls);

    void setGameData(std::shared_ptr<const GameData> data);

    /// The list field `field` completes from now.
    CompletionList listFor(int field) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void txtOption_Change(int field);
    CandidatePopup &popup(int field);

    const FormControls &m_controls;
    std::shared_ptr<const GameData> m_data;
    std::array<bool, 12> m_noComplete {};
    // Each field's list of the ids that complete its text, made when first needed.
    std::array<CandidatePopup *, 12> m_popups {};
    bool m_completing = false;
};

} // namespace hw
