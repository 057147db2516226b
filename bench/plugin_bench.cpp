// The plugin reader against the cost of touching every byte of the file once.
//
// Writes synthetic masters of about 80 MB and 300 MB into a temporary folder
// and times, on each, ReadNPCNames and one sequential pass with read() into a
// 1 MiB buffer, with a warm page cache. Also reports the peak memory of one
// scan above the process's resident size before it, and at the end the ratio
// of the two times for each file.
//
//   plugin_bench [benchmark options]
// and, to time whole processes (bench/measure-reader):
//   plugin_bench --write-master MEGABYTES FILE   a synthetic master
//   plugin_bench --write-crowd CELLS FILE        one NPC placed in CELLS cells
//   plugin_bench --write-200k-ids FILE           200,000 ids of every kind
//   plugin_bench --write-huge-record FILE        a record claiming 2 GB, sparse
#include "bench_support.hpp"
#include "plugin/es_read.hpp"
#include "synthetic_master.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using namespace hw::bench;

struct Master
{
    std::string label;
    fs::path file;
    MasterInfo info;
};

struct PeakMemory
{
    long residentKiB = -1; // peak resident memory above what the process held before
    std::size_t heapKiB = 0; // peak heap bytes allocated during the scan
};

// The resident peak misses heap memory that is reused from before, so the
// bytes allocated are counted too.
PeakMemory scanPeakMemory(const Master &master)
{
    resetResidentPeak();
    const long before = statusKiB("VmRSS:");
    const std::size_t heapBefore = heapInUse();
    resetHeapPeak();
    {
        hw::ESRead reader;
        benchmark::DoNotOptimize(reader.ReadNPCNames(master.file));
    }
    const long peak = statusKiB("VmHWM:");
    PeakMemory memory;
    if (before >= 0 && peak >= 0)
        memory.residentKiB = peak - before;
    memory.heapKiB = (heapPeak() - heapBefore) / 1024;
    return memory;
}

void readNpcNames(benchmark::State &state, const Master &master)
{
    const auto memory = scanPeakMemory(master);
    hw::ESRead reader;
    for (auto _ : state) {
        const auto outcome = reader.ReadNPCNames(master.file);
        if (!outcome.complete() || outcome.idCount != master.info.npcRecords)
            state.SkipWithError("the scan did not find every NPC record");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * master.info.bytes));
    state.counters["ids"] = static_cast<double>(master.info.npcRecords);
    state.counters["peak_rss_KiB"] = static_cast<double>(memory.residentKiB);
    state.counters["peak_heap_KiB"] = static_cast<double>(memory.heapKiB);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) == "--write-master") {
        const auto info = writeSyntheticMaster(argv[3], std::stoull(argv[2]) * 1000 * 1000);
        std::printf("%llu bytes, %llu records, %llu NPC records\n",
                    static_cast<unsigned long long>(info.bytes),
                    static_cast<unsigned long long>(info.records),
                    static_cast<unsigned long long>(info.npcRecords));
        return 0;
    }
    if (argc == 4 && std::string(argv[1]) == "--write-crowd") {
        writeCrowdPlugin(argv[3], static_cast<std::uint32_t>(std::stoul(argv[2])));
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--write-200k-ids") {
        std::FILE *out = std::fopen(argv[2], "wb");
        const std::string plugin = pluginOf200kIds();
        const bool written =
            out != nullptr && std::fwrite(plugin.data(), 1, plugin.size(), out) == plugin.size();
        return out != nullptr && std::fclose(out) == 0 && written ? 0 : 1;
    }
    if (argc == 3 && std::string(argv[1]) == "--write-huge-record") {
        writeHugeRecordFile(argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    TempFolder folder;
    std::vector<Master> masters;
    for (const auto megabytes : {80, 300}) {
        Master master;
        master.label = std::to_string(megabytes) + "MB";
        master.file = folder.path() / ("synthetic-" + master.label + ".esm");
        master.info = writeSyntheticMaster(master.file, megabytes * 1000ull * 1000);
        masters.push_back(master);
    }
    for (const auto &master : masters) {
        benchmark::RegisterBenchmark(("FullRead/" + master.label).c_str(), fullRead,
                                     std::vector {master.file}, master.info.bytes)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("ReadNPCNames/" + master.label).c_str(), readNpcNames, master)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
