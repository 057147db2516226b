// The plugin reader against the cost of touching every byte of the file once.
//
// Writes synthetic masters of about 80 MB and 300 MB into a temporary folder
// and times, on each, ReadNPCNames and one sequential pass with read() into a
// 1 MiB buffer, with a warm page cache. Also reports the peak memory of one
// scan above the process's resident size before it, and at the end the ratio
// of the two times for each file.
//
//   plugin_bench [benchmark options]
//   plugin_bench --write-master MEGABYTES FILE   (for timing whole processes)
#include "plugin/es_read.hpp"
#include "synthetic_master.hpp"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <new>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Heap bytes in use and their peak, kept by the operators below.
std::size_t g_heapInUse = 0;
std::size_t g_heapPeak = 0;

} // namespace

void *operator new(std::size_t size)
{
    void *block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    g_heapInUse += malloc_usable_size(block);
    g_heapPeak = std::max(g_heapPeak, g_heapInUse);
    return block;
}

void operator delete(void *block) noexcept
{
    if (block != nullptr) {
        g_heapInUse -= malloc_usable_size(block);
        std::free(block);
    }
}

void operator delete(void *block, std::size_t) noexcept
{
    operator delete(block);
}

namespace {

struct Master
{
    std::string label;
    fs::path file;
    hw::bench::MasterInfo info;
};

void fullRead(benchmark::State &state, const Master &master)
{
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        const int fd = ::open(master.file.c_str(), O_RDONLY);
        if (fd < 0) {
            state.SkipWithError("cannot open the master");
            return;
        }
        std::uint64_t total = 0;
        for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
            total += static_cast<std::uint64_t>(got);
        ::close(fd);
        if (total != master.info.bytes)
            state.SkipWithError("short read");
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * master.info.bytes));
}

// The kernel's count of this process's resident and peak resident memory.
long statusKiB(const char *field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::string(field).size());
    return -1;
}

struct PeakMemory
{
    long residentKiB = -1; // peak resident memory above what the process held before
    std::size_t heapKiB = 0; // peak heap bytes allocated during the scan
};

// Writing 5 to clear_refs sets the kernel's peak back to the current size. The
// resident peak misses heap memory that is reused from before, so the bytes
// allocated are counted too.
PeakMemory scanPeakMemory(const Master &master)
{
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = statusKiB("VmRSS:");
    const std::size_t heapBefore = g_heapInUse;
    g_heapPeak = g_heapInUse;
    {
        hw::ESRead reader;
        benchmark::DoNotOptimize(reader.ReadNPCNames(master.file));
    }
    const long peak = statusKiB("VmHWM:");
    PeakMemory memory;
    if (before >= 0 && peak >= 0)
        memory.residentKiB = peak - before;
    memory.heapKiB = (g_heapPeak - heapBefore) / 1024;
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

// Prints, after the usual table, each file's scan time as a share of its
// full read.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto &run : runs) {
            if (run.error_occurred)
                continue;
            // With repetitions, the median stands for the benchmark.
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (single || median)
                m_times[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                       run.GetAdjustedCPUTime()};
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto &[name, scan] : m_times) {
            if (name.rfind("ReadNPCNames/", 0) != 0)
                continue;
            const auto label = name.substr(name.find('/') + 1);
            const auto full = m_times.find("FullRead/" + label);
            if (full == m_times.end())
                continue;
            const auto &read = full->second;
            std::printf("ReadNPCNames / FullRead on %s: real time %.3f (%.2f ms / %.2f ms), "
                        "CPU time %.3f (%.2f ms / %.2f ms)\n",
                        label.c_str(), scan.real / read.real, scan.real, read.real,
                        scan.cpu / read.cpu, scan.cpu, read.cpu);
        }
    }

private:
    struct Times
    {
        double real;
        double cpu;
    };
    std::map<std::string, Times> m_times;
};

class TempFolder
{
public:
    TempFolder()
        : m_path(fs::temp_directory_path() / ("hourwright-bench-" + std::to_string(::getpid())))
    {
        fs::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path &path() const { return m_path; }

private:
    fs::path m_path;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) == "--write-master") {
        const auto info =
            hw::bench::writeSyntheticMaster(argv[3], std::stoull(argv[2]) * 1000 * 1000);
        std::printf("%llu bytes, %llu records, %llu NPC records\n",
                    static_cast<unsigned long long>(info.bytes),
                    static_cast<unsigned long long>(info.records),
                    static_cast<unsigned long long>(info.npcRecords));
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
        master.info = hw::bench::writeSyntheticMaster(master.file, megabytes * 1000ull * 1000);
        masters.push_back(master);
    }
    for (const auto &master : masters) {
        benchmark::RegisterBenchmark(("FullRead/" + master.label).c_str(), fullRead, master)
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
