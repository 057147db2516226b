#pragma once

#include "data/load_order.hpp"
#include "ui/base/game_data.hpp"

#include <QObject>
#include <QString>

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QThread;

namespace hw {

/// One load of game data.
struct GameLoadJob
{
    /// The data to go on from: the files below combine after its files.
    /// Null starts a new index.
    std::shared_ptr<const GameData> base;
    /// The content files to read, in load order.
    std::vector<std::filesystem::path> files;
    /// The load order whose sound files are listed; without one, the base's
    /// sound files stay.
    std::optional<LoadOrder> order;
};

/// What a load that ran to its end gives.
struct GameLoadResult
{
    /// The new data; null when the load failed as a whole (see `failure`).
    std::shared_ptr<const GameData> data;
    /// The NPC ids of the new index, each once, in caseless order.
    std::vector<std::string> npcIds;
    /// Archives whose sound files could not be listed whole.
    std::vector<LoadOrderProblem> soundProblems;
    /// Why nothing was loaded, in words; empty when the load worked.
    std::string failure;
};

/// Loads game data on a worker thread, one load at a time, and hands the
/// result back to the thread that owns it by a queued signal. The data in use
/// is never touched: a load reads its base and builds new data beside it.
class GameDataLoader : public QObject
{
    Q_OBJECT
public:
    explicit GameDataLoader(QObject *parent = nullptr);
    /// Stops a running load and waits for its thread.
    ~GameDataLoader() override;

    /// True from start() until finished() or cancelled() has been emitted.
    bool busy() const { return m_thread != nullptr; }

    /// Starts `job` on a worker thread; false, doing nothing, while a load runs.
    bool start(GameLoadJob job);

    /// Asks the running load to stop. It ends with cancelled(), also when its
    /// result was already on its way: a cancelled load never changes anything.
    void cancel();

    /// Cancels a running load and waits until its thread has ended, without
    /// emitting anything more for it.
    void stop();

signals:
    /// How far the load has come, 0 to 1000, and what it is doing, in words.
    void progressed(int permille, const QString &doing);
    void finished(std::shared_ptr<const hw::GameLoadResult> result);
    void cancelled();

    /// From the worker thread: the result, or null when the load was cancelled.
    void built(std::shared_ptr<const hw::GameLoadResult> result, QPrivateSignal);

private:
    void collect(const std::shared_ptr<const GameLoadResult> &result);

    QThread *m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;
};

} // namespace hw
