#pragma once

#include "data/game_index.hpp"
#include "plugin/byte_source.hpp"
#include "plugin/code_page.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>

namespace hw {

/// How far a build has come, for a progress dialog.
struct BuildProgress
{
    std::size_t fileIndex = 0; ///< the file's place among the index's files, from 0
    std::filesystem::path file;
    std::uint64_t bytesDone = 0; ///< of this file
    std::uint64_t fileBytes = 0;
};

/// What a build asks of its caller; both are optional and are called from the
/// building thread about once per MiB read.
struct BuildHooks
{
    /// True stops the build (a Cancel button).
    std::function<bool()> cancelled;
    std::function<void(const BuildProgress &)> progress;
};

class RecordCombiner;
struct ReadHooks;

/// Builds a GameIndex from files in load order, one file after another. It
/// needs no state beyond its own, so it may run on a worker thread while the
/// index in use stays untouched until the new one is moved in its place.
class GameIndexBuilder
{
public:
    explicit GameIndexBuilder(CodePage page = CodePage::Windows1252, BuildHooks hooks = {});
    /// Goes on from `index`: the files added now combine after its files.
    explicit GameIndexBuilder(GameIndex index, CodePage page = CodePage::Windows1252,
                              BuildHooks hooks = {});
    ~GameIndexBuilder();
    GameIndexBuilder(GameIndexBuilder &&) noexcept;
    GameIndexBuilder &operator=(GameIndexBuilder &&) noexcept;

    /// Reads `file` and combines its records with those of the files before
    /// it. A file that cannot be read whole keeps what was read before the
    /// fault; its outcome is in the index's files(). False when the build was
    /// cancelled: the builder then holds part of a file and should be dropped.
    bool addFile(const std::filesystem::path &file);

    /// Reads `source` as the file `name`, as addFile does.
    bool addSource(ByteSource &source, const std::filesystem::path &name);

    /// The index of the files added so far, with its sorted lists built. The
    /// builder is empty afterwards.
    GameIndex finish();

    /// Builds from here on an index that places no actor: its ids, cells and
    /// the verdict on each file are the same, without the look-up of each of
    /// the hundreds of thousands of references a master holds.
    void leaveOutPlacements();

    /// Builds from here on an index without the sorted lists of ids, for a
    /// caller that only lists ids in their order (inOrder) or asks for
    /// actors: sorted(), knows(), count() and idCount() then find nothing.
    void leaveOutSortedLists() { m_sortedLists = false; }

    /// Files of at least this many bytes whose references are taken have
    /// the references of their cells walked on a second thread
    /// (readRecordsSplit); the index is the same either way.
    static constexpr std::uint64_t kSplitFrom = 16 << 20;

    /// Reads files of at least `bytes` bytes on two threads from here on;
    /// kSplitFrom by default, on a machine with more than one core.
    void splitFilesFrom(std::uint64_t bytes) { m_splitFrom = bytes; }

private:
    std::optional<ScanOutcome> read(ByteSource &source, const ReadHooks &hooks);

    std::unique_ptr<RecordCombiner> m_combiner;
    std::uint64_t m_splitFrom;
    bool m_placements = true;
    bool m_sortedLists = true;
    CodePage m_page;
    BuildHooks m_hooks;
};

/// The index of `files` in load order; nothing when `hooks.cancelled` stopped it.
std::optional<GameIndex> buildGameIndex(std::span<const std::filesystem::path> files,
                                        CodePage page = CodePage::Windows1252,
                                        const BuildHooks &hooks = {});

} // namespace hw
