// The schedule command on a long task list, against `sort -f` of the same file.
//
// Writes task lists of 100,000 and 1,000,000 entries (every action, hours and
// letter case at random) into a temporary folder, and times:
//   ReadEntries, SortEntries, Generate: the command's steps, in the process;
//   SortCaseless: sorting with the comparison itself, as the command used to;
//   Process/cli/N and Process/sort-f/N: the whole programs, output to /dev/null;
//   Process/cli/slash-line: one 100 MB line of "/" on standard input.
// The process rows report the child's peak resident memory; at the end the
// ratio of the command's time to `sort -f`'s is printed.
//
//   schedule_bench [benchmark options]
//   schedule_bench --write-list ENTRIES FILE   (for timing with hyperfine)
#include "generator/schedule_script.hpp"
#include "model/catalogue.hpp"
#include "model/entry_line.hpp"
#include "model/task_list.hpp"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;

namespace {

// An entry for `action` with its default values, short texts and, at random,
// its name in lower or upper case.
std::string randomEntry(std::mt19937 &random)
{
    const auto catalogue = hw::actionCatalogue();
    const hw::Action &action = catalogue[random() % catalogue.size()];
    char time[8];
    std::snprintf(time, sizeof time, "%02u:00", static_cast<unsigned>(random() % 24));
    std::string name(action.name);
    if (random() % 2 == 0)
        for (char &c : name)
            c = static_cast<char>(random() % 2 ? std::tolower(c) : std::toupper(c));
    std::vector<hw::OptionSpec> fields(action.options.begin(), action.options.end());
    std::sort(fields.begin(), fields.end(),
              [](const auto &a, const auto &b) { return a.field < b.field; });
    std::string entry = std::string(time) + " > " + name;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        entry += i == 0 ? " > " : "/";
        if (hw::isTextField(fields[i].field, action.textFlag))
            entry += "\"id_" + std::to_string(random() % 1000) + "\"";
        else
            entry += std::to_string(random() % 2 ? random() % 4096 : 0);
    }
    return entry;
}

void writeList(const fs::path &file, std::size_t count)
{
    std::mt19937 random(1);
    std::ofstream out(file, std::ios::binary);
    for (std::size_t i = 0; i < count; ++i)
        out << randomEntry(random) << '\n';
}

std::vector<std::string> lines(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> all;
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

std::vector<std::string> readEntries(const std::vector<std::string> &input)
{
    std::vector<std::string> entries;
    entries.reserve(input.size());
    for (const auto &line : input)
        entries.push_back(hw::readEntryLine(line).entry);
    return entries;
}

void readStep(benchmark::State &state, const fs::path &file)
{
    const auto input = lines(file);
    for (auto _ : state)
        benchmark::DoNotOptimize(readEntries(input));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

template<class Sort> void sortStep(benchmark::State &state, const fs::path &file, Sort sort)
{
    const auto entries = readEntries(lines(file));
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = entries;
        state.ResumeTiming();
        sort(copy);
        benchmark::DoNotOptimize(copy);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * entries.size()));
}

void generateStep(benchmark::State &state, const fs::path &file)
{
    auto entries = readEntries(lines(file));
    hw::sortEntries(entries);
    for (auto _ : state)
        benchmark::DoNotOptimize(hw::generateSchedule("Town Guard", entries, {}));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * entries.size()));
}

// Runs `argv` with standard input from `input` and output to /dev/null;
// returns its peak resident memory in KiB, or -1 when it did not run cleanly.
// A child starts its count at the peak of the process that starts it, so that
// peak is first set back to what the benchmark holds now (writing 5 to
// clear_refs), which is little, as these run before the others.
long runProcess(const std::vector<std::string> &argv, const fs::path &input)
{
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char *> args;
    for (const auto &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    pid_t child = 0;
    const int failed = posix_spawnp(&child, args[0], &files, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    int status = 0;
    rusage usage {};
    if (failed != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status))
        return -1;
    return usage.ru_maxrss;
}

void processRun(benchmark::State &state, const std::vector<std::string> &argv,
                const fs::path &input)
{
    long peak = 0;
    for (auto _ : state)
        peak = std::max(peak, runProcess(argv, input));
    if (peak < 0)
        state.SkipWithError("the program did not run");
    state.counters["peak_rss_KiB"] = static_cast<double>(peak);
}

// Prints, after the usual table, the command's time against sort -f's.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto &run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (single || median))
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto &[name, time] : m_times) {
            if (!name.starts_with("Process/cli/") || name.ends_with("slash-line"))
                continue;
            const auto size = name.substr(name.rfind('/') + 1);
            const auto sort = m_times.find("Process/sort-f/" + size);
            if (sort != m_times.end())
                std::printf("schedule / sort -f on %s entries: %.2f (%.0f ms / %.0f ms)\n",
                            size.c_str(), time / sort->second, time, sort->second);
        }
    }

private:
    std::map<std::string, double> m_times;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) == "--write-list") {
        writeList(argv[3], std::stoull(argv[2]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    const fs::path folder =
        fs::temp_directory_path() / ("hourwright-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path slashes = folder / "slashes.txt";
    {
        std::ofstream out(slashes, std::ios::binary);
        const std::string megabyte(1'000'000, '/');
        for (int i = 0; i < 100; ++i)
            out << megabyte;
    }
    const std::string cli = HOURWRIGHT_CLI;
    const auto ms = [](benchmark::internal::Benchmark *b) {
        b->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    std::vector<std::pair<std::string, fs::path>> lists;
    for (const auto &[label, count] : {std::pair {"100k", 100'000}, {"1M", 1'000'000}}) {
        lists.emplace_back(label, folder / (std::string(label) + ".txt"));
        writeList(lists.back().second, count);
    }
    // The whole programs first, while this process is small.
    for (const auto &[label, list] : lists) {
        ms(benchmark::RegisterBenchmark(
            ("Process/cli/" + label).c_str(), processRun,
            std::vector<std::string> {cli, "schedule", "--npc", "x", list.string()}, list));
        ms(benchmark::RegisterBenchmark(("Process/sort-f/" + label).c_str(), processRun,
                                        std::vector<std::string> {"sort", "-f", list.string()},
                                        list));
    }
    ms(benchmark::RegisterBenchmark("Process/cli/slash-line", processRun,
                                    std::vector<std::string> {cli, "schedule", "--npc", "x", "-"},
                                    slashes));
    for (const auto &[label, list] : lists) {
        const std::string at = "/" + label;
        ms(benchmark::RegisterBenchmark(("ReadEntries" + at).c_str(), readStep, list));
        ms(benchmark::RegisterBenchmark(("SortEntries" + at).c_str(), [list](auto &state) {
            sortStep(state, list, hw::sortEntries);
        }));
        ms(benchmark::RegisterBenchmark(("SortCaseless" + at).c_str(), [list](auto &state) {
            sortStep(state, list, [](auto &entries) {
                std::stable_sort(entries.begin(), entries.end(), hw::entryLess);
            });
        }));
        ms(benchmark::RegisterBenchmark(("Generate" + at).c_str(), generateStep, list));
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    fs::remove_all(folder);
    return 0;
}
