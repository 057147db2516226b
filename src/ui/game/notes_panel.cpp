#include "ui/game/notes_panel.hpp"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QListWidget>

namespace hw {

namespace {

// The entry a line concerns, kept with the line; absent for a note on the NPC.
constexpr int kEntryRole = Qt::UserRole;

// The panel holds about six lines: enough to see a short list whole without
// pushing a 768-pixel screen's window off its bottom.
constexpr int kPanelHeight = 130;

// Esc in the list closes the panel and leaves the keyboard to the form.
class NotesList : public QListWidget
{
public:
    using QListWidget::QListWidget;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool plain =
            event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
        if (plain && event->key() == Qt::Key_Escape) {
            if (auto *panel = qobject_cast<QDockWidget *>(parentWidget()))
                panel->close();
            return;
        }
        // Enter does what a double-click does, for the keyboard.
        if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            currentItem()) {
            emit itemDoubleClicked(currentItem());
            return;
        }
        QListWidget::keyPressEvent(event);
    }
};

} // namespace

NotesPanel::NotesPanel(QWidget *parent)
    : QDockWidget(tr("Notes"), parent)
    , m_list(new NotesList(this))
{
    setObjectName(QStringLiteral("NotesPanel"));
    // It stays under the form: the form keeps its place, and the window grows
    // downwards while the panel is open.
    setAllowedAreas(Qt::BottomDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable);
    m_list->setObjectName(QStringLiteral("lstNotes"));
    m_list->setAccessibleName(tr("Notes"));
    m_list->setAccessibleDescription(
        tr("The notes on the last generated script. Enter or a double-click selects the task "
           "a note is about; Ctrl+C copies the selected notes."));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setUniformItemSizes(true);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // One height: the window has one size with the panel and one without.
    m_list->setFixedHeight(kPanelHeight);
    setWidget(m_list);

    auto *copyAction = new QAction(tr("&Copy"), m_list);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WidgetShortcut);
    m_list->addAction(copyAction);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copyAction, &QAction::triggered, this, &NotesPanel::copy);
    // A double-click, not "activation", which some styles give a single click:
    // a click selects a note for copying and must not move the task list.
    connect(m_list, &QListWidget::itemDoubleClicked, this, &NotesPanel::activate);
}

void NotesPanel::setNotes(std::span<const ScheduleNote> notes, std::span<const std::string> entries,
                          const QString &summary)
{
    clearNotes(summary);
    for (const ScheduleNote &note : notes) {
        const QString line = QString::fromStdString(noteLine(note, entries));
        auto *item = new QListWidgetItem(line, m_list);
        // A long note is read whole in its tooltip.
        item->setToolTip(line);
        if (note.entry && *note.entry < entries.size())
            item->setData(kEntryRole, QString::fromStdString(entries[*note.entry]));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void NotesPanel::clearNotes(const QString &summary)
{
    m_list->clear();
    setWindowTitle(tr("Notes: %1").arg(summary));
}

QString NotesPanel::selectedText() const
{
    QStringList lines;
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->isSelected())
            lines.append(m_list->item(row)->text());
    return lines.join(QLatin1Char('\n'));
}

void NotesPanel::copy()
{
    const QString text = selectedText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void NotesPanel::activate(QListWidgetItem *item)
{
    const QVariant entry = item->data(kEntryRole);
    if (entry.isValid())
        emit entryActivated(entry.toString());
    else
        emit npcActivated();
}

} // namespace hw
