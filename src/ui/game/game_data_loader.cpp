#include "ui/game/game_data_loader.hpp"

#include "data/game_index_builder.hpp"
#include "data/sound_files.hpp"
#include "ui/base/file_path.hpp"

#include <QCoreApplication>
#include <QThread>

#include <functional>
#include <new>
#include <system_error>

namespace hw {

namespace {

namespace fs = std::filesystem;

using Report = std::function<void(int permille, const QString &doing)>;

// Reading takes the first 90 % of the bar, by bytes; sorting and listing the
// sound files share the rest.
constexpr int kReadShare = 900;
constexpr int kSortedAt = 950;

// Passes on a report only when it says something new, so that a large file
// sends one report per thousandth and not one per MiB.
class Progress
{
public:
    explicit Progress(Report report)
        : m_report(std::move(report))
    { }
    void operator()(int permille, const QString &doing)
    {
        if (permille == m_permille && doing == m_doing)
            return;
        m_permille = permille;
        m_doing = doing;
        m_report(permille, doing);
    }

private:
    Report m_report;
    int m_permille = -1;
    QString m_doing;
};

// The result of `job`, or null when `cancel` was set.
std::shared_ptr<GameLoadResult> load(const GameLoadJob &job, const std::atomic<bool> &cancel,
                                     Progress &progress)
{
    std::vector<std::uint64_t> before; // the bytes of the files before each
    std::uint64_t total = 0;
    for (const auto &file : job.files) {
        before.push_back(total);
        std::error_code error;
        const auto size = fs::file_size(file, error);
        total += error ? 0 : size;
    }
    std::size_t current = 0;
    BuildHooks hooks;
    hooks.cancelled = [&cancel] { return cancel.load(std::memory_order_relaxed); };
    hooks.progress = [&](const BuildProgress &step) {
        const std::uint64_t done = before[current] + std::min(step.bytesDone, step.fileBytes);
        const int permille = total == 0 ? 0 : static_cast<int>(done * kReadShare / total);
        progress(std::min(permille, kReadShare),
                 QCoreApplication::translate("GameDataLoader", "Reading %1 (%2 of %3)…")
                     .arg(fromFilesystemPath(job.files[current].filename()))
                     .arg(current + 1)
                     .arg(job.files.size()));
    };

    auto data = std::make_shared<GameData>();
    GameIndexBuilder builder = job.base
        ? GameIndexBuilder(job.base->index, CodePage::Windows1252, std::move(hooks))
        : GameIndexBuilder(CodePage::Windows1252, std::move(hooks));
    for (; current < job.files.size(); ++current)
        if (!builder.addFile(job.files[current]))
            return nullptr;
    if (cancel)
        return nullptr;
    progress(kReadShare, QCoreApplication::translate("GameDataLoader", "Sorting the ids…"));
    data->index = builder.finish();

    auto result = std::make_shared<GameLoadResult>();
    if (job.order) {
        progress(kSortedAt,
                 QCoreApplication::translate("GameDataLoader", "Listing the sound files…"));
        SoundFiles sounds = listSoundFiles(*job.order);
        data->soundFiles = std::move(sounds.files);
        result->soundProblems = std::move(sounds.problems);
    } else if (job.base) {
        data->soundFiles = job.base->soundFiles;
    }
    if (cancel)
        return nullptr;
    const SortedIds npcs = data->index.sorted(IdGroup::Npc);
    result->npcIds.reserve(npcs.size());
    for (std::size_t at = 0; at < npcs.size(); ++at)
        result->npcIds.emplace_back(npcs[at]);
    result->data = std::move(data);
    return result;
}

} // namespace

GameDataLoader::GameDataLoader(QObject *parent)
    : QObject(parent)
{
    connect(this, &GameDataLoader::built, this, &GameDataLoader::collect, Qt::QueuedConnection);
}

GameDataLoader::~GameDataLoader()
{
    stop();
}

bool GameDataLoader::start(GameLoadJob job)
{
    if (busy())
        return false;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancel;
    m_thread = QThread::create([this, job = std::move(job), cancel] {
        std::shared_ptr<GameLoadResult> result;
        Progress progress(
            [this](int permille, const QString &doing) { emit progressed(permille, doing); });
        // Whatever goes wrong on this thread comes back as a message; an
        // exception must not end the program.
        try {
            result = load(job, *cancel, progress);
        } catch (const std::bad_alloc &) {
            result = std::make_shared<GameLoadResult>();
            result->failure = "There is not enough memory to hold the game data.";
        } catch (const std::exception &error) {
            result = std::make_shared<GameLoadResult>();
            result->failure = std::string("The game data could not be read: ") + error.what();
        }
        emit built(std::move(result), QPrivateSignal());
    });
    m_thread->setObjectName(QStringLiteral("GameDataLoader"));
    m_thread->start();
    return true;
}

void GameDataLoader::cancel()
{
    if (m_cancel)
        m_cancel->store(true);
}

void GameDataLoader::stop()
{
    if (!m_thread)
        return;
    cancel();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_cancel.reset();
    // The ended load's reports and result, still queued, are dropped.
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
}

void GameDataLoader::collect(const std::shared_ptr<const GameLoadResult> &result)
{
    if (!m_thread)
        return;
    // The result is the thread's last act: it ends at once.
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    const bool wasCancelled = m_cancel->load();
    m_cancel.reset();
    if (wasCancelled || !result)
        emit cancelled();
    else
        emit finished(result);
}

} // namespace hw
