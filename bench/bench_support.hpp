#pragma once

// What the benchmarks share: a count of heap bytes, one sequential read of
// files as the baseline, a temporary folder, and a report of ratios.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace hw::bench {

/// Heap bytes in use, as the program's operator new and delete count them.
std::size_t heapInUse();

/// The most heap bytes in use since the last resetHeapPeak().
std::size_t heapPeak();
void resetHeapPeak();

/// The kernel's count of this process's memory (VmRSS:, VmHWM:) in KiB; -1
/// where there is none.
long statusKiB(const char *field);

/// Sets the kernel's peak resident size back to the current size.
void resetResidentPeak();

/// Reads each of `files` once from start to end with read() into a 1 MiB
/// buffer: the cost of touching every byte once. Returns the bytes read.
std::uint64_t readWhole(std::span<const std::filesystem::path> files);

/// Times readWhole(files) as a benchmark; `bytes` is what it must read.
void fullRead(benchmark::State &state, const std::vector<std::filesystem::path> &files,
              std::uint64_t bytes);

/// Times what `cat` does with the files, less its writes to /dev/null: reads
/// into a page-aligned 128 KiB buffer, as GNU cat sizes and places its own.
/// The kernel copies into it more slowly than into readWhole's larger buffer.
void catRead(benchmark::State &state, const std::vector<std::filesystem::path> &files,
             std::uint64_t bytes);

/// A folder under the system's temporary folder, removed with everything in it.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

/// Prints, after the usual table, the time of each benchmark NAME/LABEL as a
/// share of BASELINE/LABEL (the median where there are repetitions), for each
/// baseline given.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    explicit RatioReporter(std::string baseline = "FullRead")
        : m_baselines {std::move(baseline)}
    { }
    explicit RatioReporter(std::vector<std::string> baselines)
        : m_baselines(std::move(baselines))
    { }
    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

private:
    struct Times
    {
        double real;
        double cpu;
    };
    std::vector<std::string> m_baselines;
    std::map<std::string, Times> m_times;
};

} // namespace hw::bench
