#pragma once

#include "data/game_index.hpp"
#include "ui/game_data.hpp"

#include <QObject>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

class frmMain;

/// A list in caseless order to complete typed text from, borrowed from the
/// data that holds it: nothing is copied.
class CompletionList
{
public:
    CompletionList() = default;
    explicit CompletionList(SortedIds ids)
        : m_ids(ids)
    { }
    /// `names` must be in caseless order (caselessLess) and outlive the list.
    explicit CompletionList(const std::vector<std::string> &names)
        : m_names(&names)
    { }

    bool empty() const { return m_names ? m_names->empty() : m_ids.empty(); }

    /// The first entry that begins with `prefix`, letter case ignored and
    /// every other character taken as itself; nothing when none does. A
    /// binary search.
    std::optional<std::string_view> firstStartingWith(std::string_view prefix) const;

private:
    SortedIds m_ids;
    const std::vector<std::string> *m_names = nullptr;
};

/// The game's animation group names in caseless order.
const std::vector<std::string> &sortedAnimationGroups();

/// What the option field captioned `caption` completes from while `action`
/// is chosen: the ids of the kind the caption names, the sound files for
/// Say's "File:", the animation groups for "Group:" (also without `data`);
/// an empty list for every other field, and for every field but "Group:"
/// while nothing is loaded.
CompletionList completionListFor(std::string_view action, std::string_view caption,
                                 const GameData *data);

/// Completes the ids typed into the option fields of `frmMain` as the name
/// box completes NPC ids: the rest of the first id that begins with the text
/// is added and selected, letter case ignored; Backspace or Delete in a field
/// with text switches off the field's next completion.
class OptionCompletion : public QObject
{
    Q_OBJECT
public:
    /// Watches the option fields of `form`, as its child.
    explicit OptionCompletion(frmMain &form);

    void setGameData(std::shared_ptr<const GameData> data);

    /// The list field `field` completes from now.
    CompletionList listFor(int field) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void txtOption_Change(int field);

    frmMain &m_form;
    std::shared_ptr<const GameData> m_data;
    std::array<bool, 12> m_noComplete {};
};

} // namespace hw
