#include "bench_support.hpp"

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>

namespace {

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

namespace hw::bench {

std::size_t heapInUse()
{
    return g_heapInUse;
}

std::size_t heapPeak()
{
    return g_heapPeak;
}

void resetHeapPeak()
{
    g_heapPeak = g_heapInUse;
}

long statusKiB(const char *field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::string(field).size());
    return -1;
}

void resetResidentPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

namespace {

std::uint64_t readAll(std::span<const std::filesystem::path> files, std::span<char> buffer)
{
    std::uint64_t total = 0;
    for (const auto &file : files) {
        const int fd = ::open(file.c_str(), O_RDONLY);
        if (fd < 0)
            return 0;
        for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
            total += static_cast<std::uint64_t>(got);
        ::close(fd);
    }
    return total;
}

void timeReads(benchmark::State &state, const std::vector<std::filesystem::path> &files,
               std::uint64_t bytes, std::span<char> buffer)
{
    for (auto _ : state) {
        const auto total = readAll(files, buffer);
        if (total != bytes)
            state.SkipWithError("short read");
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

} // namespace

std::uint64_t readWhole(std::span<const std::filesystem::path> files)
{
    static std::vector<char> buffer(1 << 20);
    return readAll(files, buffer);
}

void fullRead(benchmark::State &state, const std::vector<std::filesystem::path> &files,
              std::uint64_t bytes)
{
    static std::vector<char> buffer(1 << 20);
    timeReads(state, files, bytes, buffer);
}

void catRead(benchmark::State &state, const std::vector<std::filesystem::path> &files,
             std::uint64_t bytes)
{
    constexpr std::size_t kSize = 128 * 1024;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::unique_ptr<char, decltype(&std::free)> buffer(
        static_cast<char *>(std::aligned_alloc(page, kSize)), &std::free);
    timeReads(state, files, bytes, {buffer.get(), kSize});
}

TempFolder::TempFolder()
    : m_path(std::filesystem::temp_directory_path() /
             ("hourwright-bench-" + std::to_string(::getpid())))
{
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
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

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    for (const std::string &baseline : m_baselines) {
        for (const auto &[name, times] : m_times) {
            const auto slash = name.find('/');
            if (slash == std::string::npos || name.rfind(baseline + '/', 0) == 0)
                continue;
            const auto label = name.substr(slash + 1);
            const auto full = m_times.find(baseline + '/' + label);
            if (full == m_times.end())
                continue;
            const auto &read = full->second;
            std::printf("%s / %s on %s: real time %.3f (%.2f ms / %.2f ms), "
                        "CPU time %.3f (%.2f ms / %.2f ms)\n",
                        name.substr(0, slash).c_str(), baseline.c_str(), label.c_str(),
                        times.real / read.real, times.real, read.real, times.cpu / read.cpu,
                        times.cpu, read.cpu);
        }
    }
}

} // namespace hw::bench
