#pragma once

#include "data/schedule_checks.hpp"

#include <QDockWidget>

#include <span>
#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;

namespace hw {

/// The panel under the form that lists the notes on the last generated
/// schedule, one line per note with the entry it concerns. Its lines can be
/// selected and copied (Ctrl+C, one note per line); activating a line (a
/// double-click, or Enter) reports the entry, so that the window can select
/// it in the task list.
class NotesPanel : public QDockWidget
{
    Q_OBJECT
public:
    explicit NotesPanel(QWidget *parent = nullptr);

    /// Shows `notes` on the included `entries`, with `summary` ("2 notes") as
    /// the panel's title.
    void setNotes(std::span<const ScheduleNote> notes, std::span<const std::string> entries,
                  const QString &summary);

    /// Shows no notes, and why (nothing checked).
    void clearNotes(const QString &summary);

    /// The list, named lstNotes.
    QListWidget *list() const { return m_list; }

    /// The lines of the selected notes in list order, one per line.
    QString selectedText() const;

    /// Puts the selected notes on the clipboard.
    void copy();

signals:
    /// A note on the entry `entry` (as the task list shows it) was activated.
    void entryActivated(const QString &entry);
    /// A note on the NPC itself was activated.
    void npcActivated();

private:
    void activate(QListWidgetItem *item);

    QListWidget *m_list;
};

} // namespace hw
