// The plugin writer against a plain copy of the file it writes.
//
// Times, with a warm page cache in a temporary folder:
// - WritePlugin/new1000: the schedules of 1,000 task lists (half of them made
//   with Global, so the central script starts 500) written into a new plugin,
//   from the lists to the file on disk;
// - MergePlugin/merge50MB: one list merged into a synthetic plugin of 50 MB,
//   its script replaced in place each time, so that every byte is written;
// each against Cp, the program cp copying the file written, PlainCopy, the
// same bytes copied with read() and write() in this process, and SyncedCopy,
// those flushed to disk as the writer does before it replaces a file. Also
// reports the peak memory of one write above what the process held before it,
// and the size of the file written.
#include "bench_support.hpp"
#include "plugin/schedule_plugin.hpp"
#include "synthetic_master.hpp"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using namespace hw::bench;

const std::vector<std::string> kDay = {
    "06:00 > Start Running",
    "06:00 > Travel > 100/200/0",
    "08:00 > Add Item > \"bread\"/1",
    "12:00 > Say > \"vo\\hello.mp3\"/\"Good day\"",
    "18:00 > Wander > 512/4/10/10/10/10/10/10/10/10/10",
    "22:00 > Disappear",
};

hw::ScheduleList listFor(const std::string &npc, bool global, std::size_t variant = 0)
{
    hw::TaskListFile list;
    list.npcId = npc;
    list.global = global;
    list.entries = kDay;
    list.entries[0] = (variant % 2 ? "05:00" : "06:00") + list.entries[0].substr(5);
    return {npc + ".hwtasks", list};
}

// Copies `from` into `to` as cp does; with `sync`, flushed to disk as well.
bool copyFile(const fs::path &from, const fs::path &to, bool sync)
{
    static std::vector<char> buffer(1 << 20);
    const int in = ::open(from.c_str(), O_RDONLY);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    bool ok = in >= 0 && out >= 0;
    for (ssize_t got; ok && (got = ::read(in, buffer.data(), buffer.size())) > 0;)
        ok = ::write(out, buffer.data(), static_cast<std::size_t>(got)) == got;
    ok = ok && (!sync || ::fsync(out) == 0);
    if (in >= 0)
        ::close(in);
    if (out >= 0)
        ::close(out);
    return ok;
}

// Writes `lists` into `file`; the reason when they were not written.
std::string writeLists(const fs::path &file, std::vector<hw::ScheduleList> lists)
{
    hw::PreparedScripts scripts = hw::prepareScripts(std::move(lists), false);
    const hw::PluginPlan plan =
        hw::planPlugin({.file = file}, std::move(scripts.scripts), std::nullopt);
    const hw::PluginWritten written = hw::writePlugin(plan);
    return written.written ? std::string() : plan.problem + written.problem + "(not written)";
}

// The peak memory of one run of `write` above what the process held before it.
void reportMemory(benchmark::State &state, const std::function<void()> &write, const fs::path &file)
{
    resetResidentPeak();
    const long before = statusKiB("VmRSS:");
    const std::size_t heapBefore = heapInUse();
    resetHeapPeak();
    write();
    state.counters["peak_rss_KiB"] = static_cast<double>(statusKiB("VmHWM:") - before);
    state.counters["peak_heap_KiB"] = static_cast<double>((heapPeak() - heapBefore) / 1024);
    state.counters["file_KiB"] = static_cast<double>(fs::file_size(file) / 1024);
}

// Runs cp, the program, as a shell would.
bool runCp(const fs::path &from, const fs::path &to)
{
    const std::string source = from.string(), target = to.string();
    char *const args[] = {const_cast<char *>("cp"), const_cast<char *>(source.c_str()),
                          const_cast<char *>(target.c_str()), nullptr};
    pid_t child = 0;
    int status = 0;
    return ::posix_spawnp(&child, "cp", nullptr, nullptr, args, environ) == 0 &&
        ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void cp(benchmark::State &state, const fs::path &from, const fs::path &to)
{
    for (auto _ : state)
        if (!runCp(from, to))
            state.SkipWithError("cp failed");
}

void copy(benchmark::State &state, const fs::path &from, const fs::path &to, bool sync)
{
    for (auto _ : state)
        if (!copyFile(from, to, sync))
            state.SkipWithError("the copy failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(from)));
}

void writeNew(benchmark::State &state, const fs::path &file,
              const std::vector<hw::ScheduleList> &lists)
{
    fs::remove(file);
    reportMemory(
        state, [&] { writeLists(file, lists); }, file);
    for (auto _ : state) {
        // The lists are handed over, as hourwright-cli hands over the lists it
        // has read; the copy that stands for reading them is not timed.
        state.PauseTiming();
        fs::remove(file);
        std::vector<hw::ScheduleList> read = lists;
        state.ResumeTiming();
        if (const std::string problem = writeLists(file, std::move(read)); !problem.empty())
            state.SkipWithError(problem.c_str());
    }
}

void merge(benchmark::State &state, const fs::path &file)
{
    std::size_t variant = 0;
    reportMemory(
        state, [&] { writeLists(file, {listFor("bench_npc", false, ++variant)}); }, file);
    for (auto _ : state)
        if (const std::string problem = writeLists(file, {listFor("bench_npc", false, ++variant)});
            !problem.empty())
            state.SkipWithError(problem.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(file)));
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TempFolder folder;
    const fs::path copyTarget = folder.path() / "copy.esp";

    std::vector<hw::ScheduleList> lists;
    for (int i = 0; i < 1000; ++i)
        lists.push_back(listFor("npc_" + std::to_string(i), i % 2 == 1));
    const fs::path fresh = folder.path() / "New.omwaddon";
    writeLists(fresh, lists);
    const fs::path written = folder.path() / "new-written.omwaddon";
    fs::copy_file(fresh, written);

    const fs::path big = folder.path() / "Big.esp";
    writeSyntheticMaster(big, 50ull * 1000 * 1000);
    writeLists(big, {listFor("bench_npc", false)}); // adds the script; later writes replace it

    const auto add = [](const std::string &name, auto &&...args) {
        benchmark::RegisterBenchmark(name.c_str(), args...)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    };
    add("Cp/new1000", cp, written, copyTarget);
    add("PlainCopy/new1000", copy, written, copyTarget, false);
    add("SyncedCopy/new1000", copy, written, copyTarget, true);
    add("WritePlugin/new1000", writeNew, fresh, lists);
    add("Cp/merge50MB", cp, big, copyTarget);
    add("PlainCopy/merge50MB", copy, big, copyTarget, false);
    add("SyncedCopy/merge50MB", copy, big, copyTarget, true);
    add("MergePlugin/merge50MB", merge, big);
    RatioReporter reporter(std::vector<std::string> {"Cp", "PlainCopy"});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
