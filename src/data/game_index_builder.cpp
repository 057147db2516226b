#include "data/game_index_builder.hpp"

#include "data/record_combiner.hpp"
#include "data/record_reader.hpp"

#include <limits>
#include <thread>

namespace hw {

GameIndexBuilder::GameIndexBuilder(CodePage page, BuildHooks hooks)
    : GameIndexBuilder(GameIndex {}, page, std::move(hooks))
{ }

GameIndexBuilder::GameIndexBuilder(GameIndex index, CodePage page, BuildHooks hooks)
    : m_combiner(std::make_unique<RecordCombiner>(std::move(index)))
    , m_splitFrom(std::thread::hardware_concurrency() > 1
                      ? kSplitFrom
                      : std::numeric_limits<std::uint64_t>::max())
    , m_page(page)
    , m_hooks(std::move(hooks))
{ }

GameIndexBuilder::~GameIndexBuilder() = default;
GameIndexBuilder::GameIndexBuilder(GameIndexBuilder &&) noexcept = default;
GameIndexBuilder &GameIndexBuilder::operator=(GameIndexBuilder &&) noexcept = default;

bool GameIndexBuilder::addFile(const std::filesystem::path &file)
{
    std::error_code error;
    const auto source = FileSource::open(file, error);
    if (source)
        return addSource(*source, file);
    ScanOutcome outcome;
    outcome.fault = ScanFault::CannotOpen;
    outcome.error = error;
    m_combiner->index().m_files.push_back({file, outcome});
    return true;
}

bool GameIndexBuilder::addSource(ByteSource &source, const std::filesystem::path &name)
{
    auto &files = m_combiner->index().m_files;
    ReadHooks hooks;
    hooks.cancelled = m_hooks.cancelled;
    if (m_hooks.progress)
        hooks.progress = [&, fileIndex = files.size()](std::uint64_t done) {
            m_hooks.progress({fileIndex, name, done, source.size()});
        };
    m_combiner->beginFile(name);
    const auto outcome = read(source, hooks);
    if (!outcome)
        return false;
    files.push_back({name, *outcome, source.size(), m_combiner->takeMasters()});
    return true;
}

std::optional<ScanOutcome> GameIndexBuilder::read(ByteSource &source, const ReadHooks &hooks)
{
    if (source.size() >= m_splitFrom && m_combiner->takesReferences() &&
        !m_combiner->ownReadBefore()) {
        // What a file that has to be read again changed is undone by putting
        // the combiner back as it was.
        RecordCombiner before = *m_combiner;
        auto split = readRecordsSplit(source, *m_combiner, m_page, hooks);
        if (!split.redo)
            return split.outcome;
        *m_combiner = std::move(before);
    }
    return readRecords(source, *m_combiner, m_page, hooks);
}

void GameIndexBuilder::leaveOutPlacements()
{
    m_placements = false;
    m_combiner->leaveOutReferences();
}

GameIndex GameIndexBuilder::finish()
{
    GameIndex index = std::move(m_combiner->index());
    m_combiner = std::make_unique<RecordCombiner>(GameIndex {});
    if (!m_placements)
        m_combiner->leaveOutReferences();
    index.organise(m_sortedLists);
    return index;
}

std::optional<GameIndex> buildGameIndex(std::span<const std::filesystem::path> files, CodePage page,
                                        const BuildHooks &hooks)
{
    GameIndexBuilder builder(page, hooks);
    for (const auto &file : files)
        if (!builder.addFile(file))
            return std::nullopt;
    return builder.finish();
}

} // namespace hw
