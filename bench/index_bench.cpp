// The index of the game's data:
//
//   FullRead/master+3, BuildIndex/master+3: one sequential read of the 300 MB
//     synthetic master and three real plugins, and building their index; the
//     ratio of the two is printed at the end. peak_rss_MiB: the resident
//     memory one build adds at its peak, mapped file pages included.
//   Cat/master+3: the same files read as cat reads them, with a page-aligned
//     128 KiB buffer; each build's ratio to it is printed too.
//   BuildOneThread/master+3: the same index with every file read on one
//     thread, as on a machine with one core.
//   BuildIdsIndex/master+3: the same index without placements, as
//     `hourwright-cli ids` builds it.
//   IndexMemory/200k: the heap bytes an index of 200,000 ids holds (counter
//     index_MiB) and the peak while it is built (build_peak_MiB).
//   Completion/GROUP: one completion look-up (firstStartingWith) in the
//     sorted ids of GROUP, at 200,000 ids.
//   Checks/200k: the checks of a schedule with three misspelt ids, each with
//     its nearest known ids looked up among 200,000.
//
//   index_bench [benchmark options]
#include "bench_support.hpp"
#include "data/game_index_builder.hpp"
#include "data/schedule_checks.hpp"
#include "synthetic_master.hpp"

#include <benchmark/benchmark.h>

#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using namespace hw::bench;

constexpr const char *kPlugins[] = {"Welcome_to_the_Arena_v6.7.esp", "Antares_Big_Mod_1.2.esp",
                                    "Fortified_Molag_Mar.ESP"};

struct LoadOrder
{
    std::vector<fs::path> files;
    std::uint64_t bytes = 0;
};

// The resident memory that one build adds at its peak, mapped pages of the
// files included: it must not grow with the size of their data.
double buildPeakResidentMiB(const LoadOrder &order)
{
    resetResidentPeak();
    const long before = statusKiB("VmRSS:");
    benchmark::DoNotOptimize(hw::buildGameIndex(order.files));
    return static_cast<double>(statusKiB("VmHWM:") - before) / 1024;
}

enum class Build { Index, OneThread, Ids };

std::optional<hw::GameIndex> indexOf(const LoadOrder &order, Build build)
{
    if (build == Build::Index)
        return hw::buildGameIndex(order.files);
    hw::GameIndexBuilder builder;
    if (build == Build::Ids)
        builder.leaveOutPlacements();
    else
        builder.splitFilesFrom(std::numeric_limits<std::uint64_t>::max());
    for (const auto &file : order.files)
        builder.addFile(file);
    return builder.finish();
}

void buildIndex(benchmark::State &state, const LoadOrder &order, Build build)
{
    std::size_t ids = 0;
    state.counters["peak_rss_MiB"] = buildPeakResidentMiB(order);
    for (auto _ : state) {
        const auto index = indexOf(order, build);
        ids = index->idCount();
        for (const auto &file : index->files())
            if (!file.outcome.complete())
                state.SkipWithError("a file was not read whole");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * order.bytes));
    state.counters["ids"] = static_cast<double>(ids);
}

hw::GameIndex indexOf200kIds()
{
    const std::string plugin = pluginOf200kIds();
    hw::MemorySource source(plugin);
    hw::GameIndexBuilder builder;
    builder.addSource(source, "Big.esp");
    return builder.finish();
}

void indexMemory(benchmark::State &state)
{
    double held = 0;
    double peak = 0;
    std::size_t ids = 0;
    for (auto _ : state) {
        const std::string plugin = pluginOf200kIds();
        const std::size_t before = heapInUse();
        resetHeapPeak();
        {
            hw::MemorySource source(plugin);
            hw::GameIndexBuilder builder;
            builder.addSource(source, "Big.esp");
            const auto index = builder.finish();
            held = static_cast<double>(heapInUse() - before);
            peak = static_cast<double>(heapPeak() - before);
            ids = index.idCount();
        }
    }
    state.counters["ids"] = static_cast<double>(ids);
    state.counters["index_MiB"] = held / (1 << 20);
    state.counters["build_peak_MiB"] = peak / (1 << 20);
}

void completion(benchmark::State &state, const hw::GameIndex &index, hw::IdGroup group)
{
    const auto ids = index.sorted(group);
    // Prefixes of one to eight letters of ids spread over the list, as typed.
    std::vector<std::string> prefixes;
    std::mt19937 random(5);
    for (int n = 0; n < 1024; ++n) {
        const auto id = ids[random() % ids.size()];
        prefixes.emplace_back(id.substr(0, 1 + random() % 8));
    }
    std::size_t at = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(hw::firstStartingWith(ids, prefixes[at++ % prefixes.size()]));
    state.counters["ids"] = static_cast<double>(ids.size());
}

void checks(benchmark::State &state, const hw::GameIndex &index)
{
    const auto item = index.sorted(hw::IdGroup::Item)[7];
    const auto npc = index.sorted(hw::IdGroup::Npc)[11];
    const std::vector<std::string> entries = {
        "06:00 > Add Item > \"" + std::string(item.substr(1)) + "\"/1",
        "07:00 > Follow > \"" + std::string(npc) + "x\"/4/0/0/0",
        "08:00 > Position in Cell > \"Balmora, Guild of Magse\"/0/0/0/0",
    };
    std::size_t notes = 0;
    for (auto _ : state)
        notes = hw::checkSchedule(npc, entries, {true, false}, index).size();
    state.counters["notes"] = static_cast<double>(notes);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    TempFolder folder;
    LoadOrder order;
    order.files.push_back(folder.path() / "synthetic-300MB.esm");
    order.bytes = writeSyntheticMaster(order.files.back(), 300ull * 1000 * 1000).bytes;
    for (const auto *plugin : kPlugins) {
        order.files.push_back(fs::path(HW_TEST_PLUGINS) / plugin);
        order.bytes += fs::file_size(order.files.back());
    }
    benchmark::RegisterBenchmark("FullRead/master+3", fullRead, order.files, order.bytes)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Cat/master+3", catRead, order.files, order.bytes)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BuildIndex/master+3", buildIndex, order, Build::Index)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BuildOneThread/master+3", buildIndex, order, Build::OneThread)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BuildIdsIndex/master+3", buildIndex, order, Build::Ids)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("IndexMemory/200k", indexMemory)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);

    const auto index = indexOf200kIds();
    const std::pair<const char *, hw::IdGroup> groups[] = {
        {"Completion/npc", hw::IdGroup::Npc},
        {"Completion/item", hw::IdGroup::Item},
        {"Completion/activate_target", hw::IdGroup::ActivateTarget},
        {"Completion/place", hw::IdGroup::Place},
    };
    for (const auto &[name, group] : groups)
        benchmark::RegisterBenchmark(name, completion, index, group);
    benchmark::RegisterBenchmark("Checks/200k", checks, index)->Unit(benchmark::kMillisecond);
    RatioReporter reporter(std::vector<std::string> {"FullRead", "Cat"});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
