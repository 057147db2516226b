#pragma once

#include "ui/form/completion_list.hpp"

#include <QObject>
#include <QString>

#include <cstddef>

class QLineEdit;
class QListView;
class QModelIndex;

namespace hw {

class CandidateModel;

/// The entries that complete the text of a field, listed in a popup under it
/// as OpenMW-CS lists its ids. Keys typed while it is open go on to the field
/// as before, through every filter the field has; Down and Up move through
/// the list and show the entry in the field, Enter (or a click) takes the
/// entry, Escape closes the list and leaves the text as it is. A long list
/// holds its first few hundred entries and says how many more there are.
class CandidatePopup : public QObject
{
    Q_OBJECT
public:
    /// Serves `field`, whose keys `keyTarget` receives (the field itself, or
    /// the combo box around it); the list opens under `keyTarget`.
    CandidatePopup(QLineEdit &field, QWidget &keyTarget);
    ~CandidatePopup() override;

    /// Lists `count` entries of `list` from `first` on, which complete
    /// `typed`, with the first one current; closes the list when there are
    /// none or the field does not have the keyboard. The list is borrowed
    /// until the next show() or hide().
    void show(const CompletionList &list, std::size_t first, std::size_t count,
              const QString &typed);
    /// Closes the list and lets go of the entries.
    void hide();
    bool isVisible() const;

    /// True while the list itself sets the field's text (an entry moved to or
    /// taken): the field's own completion must leave that change alone.
    bool settingText() const { return m_settingText; }

    /// The list, or null before it was first shown.
    QListView *view() const { return m_view; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createView();
    void place();
    void moved(const QModelIndex &current);
    void take(const QModelIndex &index);

    QLineEdit &m_field;
    QWidget &m_keyTarget;
    QListView *m_view = nullptr;
    CandidateModel *m_model = nullptr;
    QString m_typed;
    bool m_settingText = false;
    bool m_filling = false;
};

} // namespace hw
