#include "ui/game/game_commands.hpp"

#include "data/schedule_checks.hpp"
#include "data/timing_notes.hpp"
#include "platform/openmw_paths.hpp"
#include "ui/base/accessibility.hpp"
#include "ui/base/file_path.hpp"
#include "ui/base/prompts.hpp"
#include "ui/form/frm_main.hpp"
#include "ui/game/game_configuration.hpp"
#include "ui/game/game_data_loader.hpp"
#include "ui/game/notes_panel.hpp"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>

#include <algorithm>
#include <system_error>

namespace hw {

namespace {

namespace fs = std::filesystem;

// The most problems one message names; a load order of a thousand missing
// plugins would otherwise give a box taller than the screen.
constexpr int kMostProblemsTold = 12;

// A load that ends sooner shows no progress dialog at all.
constexpr int kProgressDelayMs = 500;

QString counted(std::size_t count, const char *one, const char *many)
{
    return count == 1 ? QString::fromUtf8(one) : QString::fromUtf8(many).arg(count);
}

// The problems as a paragraph of bullets: the first few, and how many more.
QString listed(QStringList problems)
{
    if (problems.isEmpty())
        return {};
    const qsizetype more = problems.size() - kMostProblemsTold;
    if (more > 0) {
        problems.resize(kMostProblemsTold);
        problems.append(counted(static_cast<std::size_t>(more), "…and 1 more problem.",
                                "…and %1 more problems."));
    }
    return QStringLiteral("\n\n• ") + problems.join(QStringLiteral("\n• "));
}

// The file's outcome, and what the index still took from it.
QString faultText(const IndexedFile &file)
{
    const ScanMessage message = scanMessage(file.path, file.outcome);
    const ScanStatus status = file.outcome.status();
    const bool nothing =
        status == ScanStatus::Unreadable || file.outcome.fault == ScanFault::NotAPlugin;
    QString text = fromUtf8(message.summary) + QLatin1Char(' ') +
        (nothing ? QStringLiteral("Nothing was taken from it.")
                 : QStringLiteral("Its records before that point were taken."));
    if (!message.detail.empty())
        text += QLatin1Char(' ') + fromUtf8(message.detail);
    return text;
}

} // namespace

GameCommands::GameCommands(QMainWindow &window, frmMain &form, Prompts &prompts, GameMenuItems menu)
    : QObject(&window)
    , m_window(window)
    , m_form(form)
    , m_prompts(prompts)
    , m_menu(menu)
    , m_loader(new GameDataLoader(this))
    , m_notes(new NotesPanel(&window))
    , m_notesButton(new QToolButton(&window))
    , m_loaded(new QLabel(&window))
{
    m_notesButton->setObjectName(QStringLiteral("btnNotes"));
    m_notesButton->setAutoRaise(true);
    // As high as a line of text, with or without one, so that the status bar
    // keeps its height when the first count appears.
    m_notesButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // F8 reaches the panel from anywhere; the button is for the mouse.
    m_notesButton->setFocusPolicy(Qt::NoFocus);
    m_notesButton->setToolTip(tr("Show or hide the notes on the last generated script (F8)."));
    m_loaded->setObjectName(QStringLiteral("lblGameData"));
    m_loaded->setContentsMargins(0, 0, 4, 0);
    window.statusBar()->addWidget(m_notesButton);
    window.statusBar()->addPermanentWidget(m_loaded);

    window.addDockWidget(Qt::BottomDockWidgetArea, m_notes);
    m_notes->hide();
    window.installEventFilter(this);
    forgetNotes();

    auto *notesKey = new QAction(tr("Notes"), &window);
    notesKey->setObjectName(QStringLiteral("actNotes"));
    notesKey->setShortcut(Qt::Key_F8);
    notesKey->setShortcutContext(Qt::WindowShortcut);
    window.addAction(notesKey);
    connect(notesKey, &QAction::triggered, this, &GameCommands::showNotes);
    connect(m_notesButton, &QToolButton::clicked, this, &GameCommands::toggleNotes);
    connect(m_notes, &NotesPanel::entryActivated, this, &GameCommands::selectEntry);
    connect(m_notes, &NotesPanel::npcActivated, &m_form, &frmMain::focusNpcName);

    updateLoadTip();
    if (menu.file) {
        // The file chosen by hand may have gone since.
        menu.file->setToolTipsVisible(true);
        connect(menu.file, &QMenu::aboutToShow, this, &GameCommands::updateLoadTip);
    }

    connect(&form, &frmMain::scheduleGenerated, this, &GameCommands::check);
    connect(&form, &frmMain::namesFileLoaded, this, &GameCommands::indexFile);
    connect(m_loader, &GameDataLoader::finished, this, &GameCommands::finished);
    connect(m_loader, &GameDataLoader::cancelled, this, &GameCommands::ended);
}

QProgressDialog *GameCommands::progressDialog() const
{
    return m_progress;
}

void GameCommands::updateLoadTip()
{
    if (!m_menu.loadGameData)
        return;
    const QString tip = loadGameDataTip();
    m_menu.loadGameData->setToolTip(tip);
    m_menu.loadGameData->setStatusTip(tip);
}

void GameCommands::loadGameData()
{
    if (m_loader->busy())
        return;
    // A configuration chosen by hand comes first; while it is there, the game's
    // own is not looked for.
    const fs::path remembered = rememberedConfiguration();
    updateLoadTip(); // it may be gone since
    LoadOrder order =
        remembered.empty() ? readGameLoadOrder() : readChosenConfiguration(remembered);
    if (order.source.empty()) {
        auto chosen = askForConfiguration(m_window, m_prompts, order, m_form.dataFolder());
        if (!chosen)
            return;
        updateLoadTip();
        order = std::move(*chosen);
    }
    if (order.contentFiles.empty()) {
        QString text = tr("The load order of \"%1\" names no content file that could be found. "
                          "Nothing was loaded.")
                           .arg(fromFilesystemPath(order.source));
        // A file chosen by hand that gives nothing would stand in the way of
        // every later load; the next one looks for the game's own again.
        if (!remembered.empty() && order.source == remembered) {
            forgetConfiguration();
            updateLoadTip();
            text += tr(" The next Load Game Data looks for the game's configuration again.");
        }
        QStringList problems;
        for (const auto &problem : order.problems)
            problems.append(fromUtf8(problemText(problem)));
        m_prompts.tell(&m_window, QString::fromUtf8(kApplicationTitle), text + listed(problems));
        return;
    }
    Pending pending;
    pending.wholeGame = true;
    pending.clearNames = m_form.askClearNames();
    pending.files = order.contentFiles.size();
    pending.problems = order.problems;
    // The game's load order is the whole game: its index starts afresh, so
    // a file the Load button read before never counts twice.
    GameLoadJob job;
    job.files = order.contentFiles;
    job.order = std::move(order);
    start(std::move(job), std::move(pending));
}

void GameCommands::indexFile(const std::filesystem::path &file, bool faultTold)
{
    // The Load button and its menu item are disabled while a load runs.
    if (m_loader->busy())
        return;
    Pending pending;
    pending.faultTold = faultTold;
    pending.files = 1;
    start(GameLoadJob {m_data, {file}, std::nullopt}, std::move(pending));
}

void GameCommands::start(GameLoadJob job, Pending pending)
{
    if (!m_loader->start(std::move(job)))
        return;
    m_pending = std::move(pending);
    for (QAction *action : {m_menu.loadGameData, m_menu.loadNames})
        if (action)
            action->setEnabled(false);
    m_form.setLoadEnabled(false);

    // Window-modal once shown: the form and the menu take no input until the
    // load ends or is cancelled. Its bar is moved directly, never through
    // setValue(), which would run the event loop inside a progress report.
    auto *dialog = new QProgressDialog(&m_window);
    dialog->setObjectName(QStringLiteral("dlgLoading"));
    dialog->setWindowTitle(QString::fromUtf8(kApplicationTitle));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setLabelText(tr("Reading the game's files…"));
    dialog->setCancelButtonText(tr("Cancel"));
    dialog->setAutoReset(false);
    auto *bar = new QProgressBar(dialog);
    bar->setRange(0, 1000);
    bar->setValue(0);
    dialog->setBar(bar);
    dialog->setMinimumWidth(360);
    dialog->setMinimumDuration(kProgressDelayMs);
    connect(dialog, &QProgressDialog::canceled, m_loader, &GameDataLoader::cancel);
    connect(m_loader, &GameDataLoader::progressed, dialog,
            [dialog, bar](int permille, const QString &doing) {
                bar->setValue(permille);
                dialog->setLabelText(doing);
            });
    m_progress = dialog;
}

void GameCommands::ended()
{
    // Gone now, not later: a message shown next runs an event loop of its own,
    // which keeps a deferred deletion waiting, and the dialog's delay would
    // then bring it up over the message, which could take no input under it.
    delete m_progress.data();
    for (QAction *action : {m_menu.loadGameData, m_menu.loadNames})
        if (action)
            action->setEnabled(true);
    m_form.setLoadEnabled(true);
}

void GameCommands::finished(const std::shared_ptr<const GameLoadResult> &result)
{
    ended();
    if (!result->data) {
        m_prompts.tell(&m_window, QString::fromUtf8(kApplicationTitle),
                       fromUtf8(result->failure) + tr(" Nothing was changed."));
        return;
    }
    if (m_pending.wholeGame)
        m_form.addGameNames(result->npcIds, m_pending.clearNames);
    m_data = result->data;
    m_form.setGameData(m_data);
    m_loaded->setText(fromUtf8(describeCounts(m_data->index)));
    announce(m_loaded);
    tellProblems(*result);
}

void GameCommands::tellProblems(const GameLoadResult &result)
{
    QStringList problems;
    for (const auto &problem : m_pending.problems)
        problems.append(fromUtf8(problemText(problem)));
    const auto files = m_data->index.files();
    if (!m_pending.faultTold)
        for (std::size_t at = files.size() - std::min(files.size(), m_pending.files);
             at < files.size(); ++at)
            if (!files[at].outcome.complete())
                problems.append(faultText(files[at]));
    for (const auto &problem : result.soundProblems)
        problems.append(fromUtf8(problemText(problem)));
    if (problems.isEmpty())
        return;
    m_prompts.tell(&m_window, QString::fromUtf8(kApplicationTitle),
                   (m_pending.wholeGame ? tr("The game data was loaded, except for what follows:")
                                        : tr("The file was added to the game data, except for "
                                             "what follows:")) +
                       listed(problems));
}

void GameCommands::check(const GeneratedSchedule &schedule)
{
    m_notesButton->setEnabled(true);
    // What the game data says of the schedule, then when its commands run,
    // which needs no data.
    std::vector<ScheduleNote> notes;
    if (m_data)
        notes = checkSchedule(schedule.npcId, schedule.entries, schedule.switches, m_data->index);
    for (ScheduleNote &note : timingNotes(schedule.npcId, schedule.entries, schedule.switches))
        notes.push_back(std::move(note));
    QString summary = notes.empty() ? tr("No notes") : counted(notes.size(), "1 note", "%1 notes");
    if (!m_data)
        summary += tr("; no game data loaded");
    m_notes->setNotes(notes, schedule.entries, summary);
    showSummary(summary);
}

void GameCommands::forgetNotes()
{
    m_notes->clearNotes(tr("nothing generated yet"));
    m_notesButton->setText({});
    m_notesButton->setEnabled(false);
}

void GameCommands::showSummary(const QString &summary)
{
    m_notesButton->setText(summary);
    announce(m_notesButton);
}

void GameCommands::showNotes()
{
    m_notes->show();
    m_notes->raise();
    QListWidget *list = m_notes->list();
    list->setFocus(Qt::ShortcutFocusReason);
    if (!list->currentItem() && list->count() > 0)
        list->setCurrentRow(0);
}

void GameCommands::toggleNotes()
{
    if (m_notes->isVisible())
        m_notes->close();
    else
        showNotes();
}

bool GameCommands::eventFilter(QObject *watched, QEvent *event)
{
    // The window grows as the panel is laid out, before the panel counts as visible.
    if (watched == &m_window && event->type() == QEvent::Resize && !m_notes->isHidden())
        keepOnScreen();
    return QObject::eventFilter(watched, event);
}

void GameCommands::keepOnScreen()
{
    // The panel makes the window grow downwards; a window centred on a small
    // screen would then end below its edge, so it moves up as far as needed.
    const QScreen *screen = m_window.screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const int over = m_window.frameGeometry().bottom() - room.bottom();
    if (over > 0)
        m_window.move(m_window.x(), std::max(room.top(), m_window.y() - over));
}

void GameCommands::selectEntry(const QString &entry)
{
    // The entry may have left the task list since the script was generated.
    if (!m_form.selectEntry(entry))
        QApplication::beep();
}

} // namespace hw
