// The NPC name box with tens of thousands of ids, in the real window:
//
//   LoadClick: the Load button adding a file of 30,000 NPC records to a list
//     that holds 30,000 (scan included; the dialog and the question are
//     answered at once).
//   ScanOnly: the scan of that file alone, to tell the two costs apart.
//   ModelAdd: 30,000 ids merged into a list model of 30,000, without the box.
//   Keystroke/N: one key typed into the box holding 60,000 entries, with N
//     letters typed before it, completion and the list of the ids that
//     complete the text included.
//   FirstStartingWith: the completion's search alone, over 60,000 ids.
//   LoadGameData/master+3: File › Load Game Data from an openmw.cfg that names
//     the 300 MB synthetic master and three real plugins, from the command to
//     the NPC ids in the list (the question answered at once), and
//     BuildIndex/master+3: the core's index of the same files, as
//     `hourwright-cli ids` builds it; the ratio of the two is printed last.
//   OptionKeystroke/N: one key typed into the "Target:" field of Activate,
//     completed against the 200,000 ids of every kind it takes (and listed),
//     with N letters typed before it.
//
// Each runs several times; the median is the figure to read.
//   QT_QPA_PLATFORM=offscreen window_bench [benchmark options]
#include "bench_support.hpp"
#include "data/game_index_builder.hpp"
#include "model/name_list.hpp"
#include "plugin/es_read.hpp"
#include "plugin_writer.hpp"
#include "synthetic_master.hpp"
#include "ui/base/application.hpp"
#include "ui/base/file_path.hpp"
#include "ui/base/prompts.hpp"
#include "ui/form/frm_main.hpp"
#include "ui/form/name_list_model.hpp"
#include "ui/game/game_commands.hpp"
#include "ui/game/game_data_loader.hpp"
#include "ui/shell/main_window.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kIdsPerFile = 30000;
constexpr int kRepetitions = 9;

// A control of the form, found by its objectName as the tests find it.
template<class T> T *control(const hw::frmMain &form, const char *name)
{
    return form.findChild<T *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

// Ids in the manner of real ones: words, blanks and underscores, numbers,
// any case.
std::vector<std::string> randomIds(unsigned seed, int count)
{
    static const char *const words[] = {"dark elf", "Guard", "hlaalu", "Redoran", "ord",     "m",
                                        "f",        "Arena", "_",      "TR",      "wanderer"};
    std::mt19937 random(seed);
    std::vector<std::string> ids;
    ids.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string id;
        for (auto n = 2 + random() % 3; n > 0; --n)
            id += std::string(words[random() % std::size(words)]) + '_';
        id += std::to_string(random() % 100000);
        ids.push_back(id);
    }
    return ids;
}

fs::path writePlugin(const fs::path &file, const std::vector<std::string> &ids)
{
    std::string bytes = hw::test::headerRecord();
    for (const std::string &id : ids)
        bytes += hw::test::npcRecord(id);
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

struct Files
{
    fs::path folder, first, second;
    // The game of LoadGameData: the master and the plugins, in load order.
    std::vector<fs::path> game;
};
Files g_files;

constexpr const char *kPlugins[] = {"Welcome_to_the_Arena_v6.7.esp", "Antares_Big_Mod_1.2.esp",
                                    "Fortified_Molag_Mar.ESP"};

// A game folder with the synthetic master and the plugins, and an openmw.cfg
// naming them in the configuration folder that the window reads.
void writeGame(const fs::path &folder)
{
    const fs::path data = folder / "Data Files";
    fs::create_directories(data);
    fs::create_directories(folder / "config" / "openmw");
    g_files.game.push_back(data / "Synthetic.esm");
    hw::bench::writeSyntheticMaster(g_files.game.back(), 300ull * 1000 * 1000);
    for (const char *plugin : kPlugins) {
        g_files.game.push_back(data / plugin);
        fs::copy_file(fs::path(HW_TEST_PLUGINS) / plugin, g_files.game.back());
    }
    std::ofstream cfg(folder / "config" / "openmw" / "openmw.cfg");
    cfg << "data=\"" << data.string() << "\"\n";
    for (const auto &file : g_files.game)
        cfg << "content=" << file.filename().string() << '\n';
    qputenv("XDG_CONFIG_HOME", (folder / "config").string().c_str());
    qputenv("XDG_DATA_HOME", (folder / "share").string().c_str());
    qputenv("WINEPREFIX", (folder / "wine").string().c_str());
}

// Answers the dialog with a file and the question with a fixed answer.
struct BenchPrompts : hw::Prompts
{
    QString file;
    hw::PromptAnswer answer = hw::PromptAnswer::No;

    hw::PromptAnswer ask(QWidget *, const QString &, const QString &, hw::PromptButtons buttons,
                         hw::PromptAnswer defaultButton) override
    {
        return buttons == hw::PromptButtons::Ok ? defaultButton : answer;
    }
    QString openFile(QWidget *, const QString &, const QString &) override { return file; }
    QString saveFile(QWidget *, const QString &, const QString &, QString &) override { return {}; }
};

void load(hw::frmMain &window, BenchPrompts &prompts, const fs::path &file, hw::PromptAnswer answer)
{
    prompts.file = hw::fromFilesystemPath(file);
    prompts.answer = answer;
    window.loadButton_Click();
}

void loadClick(benchmark::State &state)
{
    BenchPrompts prompts;
    hw::frmMain window(prompts);
    window.show();
    for (auto _ : state) {
        state.PauseTiming();
        load(window, prompts, g_files.first, hw::PromptAnswer::Yes);
        prompts.file = hw::fromFilesystemPath(g_files.second);
        prompts.answer = hw::PromptAnswer::No;
        state.ResumeTiming();
        window.loadButton_Click();
    }
    if (control<QComboBox>(window, "txtName")->count() != 2 * kIdsPerFile)
        state.SkipWithError("the list does not hold both files");
}

void scanOnly(benchmark::State &state)
{
    hw::ESRead reader;
    for (auto _ : state) {
        reader.ReadNPCNames(g_files.second);
        benchmark::DoNotOptimize(reader.NPCNames.data());
    }
}

void modelAdd(benchmark::State &state)
{
    const auto first = randomIds(1, kIdsPerFile);
    const auto second = randomIds(2, kIdsPerFile);
    for (auto _ : state) {
        state.PauseTiming();
        hw::NameListModel model;
        model.add(first);
        auto batch = second;
        state.ResumeTiming();
        model.add(std::move(batch));
    }
}

void keystroke(benchmark::State &state)
{
    BenchPrompts prompts;
    hw::frmMain window(prompts);
    window.show();
    load(window, prompts, g_files.first, hw::PromptAnswer::No);
    load(window, prompts, g_files.second, hw::PromptAnswer::No);
    // With the keyboard in the box, as the author types: the list of the ids
    // that complete the text opens under it.
    QApplication::setActiveWindow(&window);
    auto *names = control<QComboBox>(window, "txtName");
    names->setFocus();
    QLineEdit *edit = names->lineEdit();
    const std::string letters = "dghmortwDGHMORTW_a";
    const auto typedBefore = static_cast<std::size_t>(state.range(0));
    std::size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        edit->clear();
        for (std::size_t i = 0; i < typedBefore; ++i)
            QTest::keyClick(names, letters[(next + i) % letters.size()]);
        const char key = letters[(next + typedBefore) % letters.size()];
        next = (next + 1) % letters.size();
        QWidget *to = QApplication::activePopupWidget();
        state.ResumeTiming();
        QTest::keyClick(to ? to : names, key);
        // The list lays itself out and paints in the event loop.
        QCoreApplication::processEvents();
    }
    if (names->count() != 2 * kIdsPerFile)
        state.SkipWithError("the list does not hold both files");
}

void firstStartingWith(benchmark::State &state)
{
    auto names = randomIds(1, kIdsPerFile);
    auto more = randomIds(2, kIdsPerFile);
    names.insert(names.end(), more.begin(), more.end());
    hw::sortNames(names);
    const std::vector<std::string> prefixes = {"d", "Gu", "hlaalu_M", "tr_wanderer_", "x", "ORD_"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(hw::firstStartingWith(names, prefixes[i]));
        i = (i + 1) % prefixes.size();
    }
}

void loadGameData(benchmark::State &state)
{
    BenchPrompts prompts;
    prompts.answer = hw::PromptAnswer::Yes;
    hw::MainWindow window(prompts);
    window.show();
    // The window waits in its event loop, as it does in the program.
    QEventLoop loop;
    QObject::connect(&window.game().loader(), &hw::GameDataLoader::finished, &loop,
                     &QEventLoop::quit);
    for (auto _ : state) {
        window.menu().loadGameData->trigger();
        if (window.game().loader().busy())
            loop.exec();
    }
    const hw::GameData *data = window.game().data();
    if (!data || data->index.files().size() != g_files.game.size() ||
        control<QComboBox>(window.form(), "txtName")->count() == 0)
        state.SkipWithError("the game was not loaded");
    for (const auto &file : data ? data->index.files() : std::span<const hw::IndexedFile>())
        if (!file.outcome.complete())
            state.SkipWithError("a file was not read whole");
}

void buildIndex(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(hw::buildGameIndex(g_files.game));
}

void optionKeystroke(benchmark::State &state)
{
    BenchPrompts prompts;
    hw::frmMain window(prompts);
    window.show();
    auto data = std::make_shared<hw::GameData>();
    const std::string plugin = hw::bench::pluginOf200kIds();
    hw::MemorySource source(plugin);
    hw::GameIndexBuilder builder;
    builder.addSource(source, "Big.esp");
    data->index = builder.finish();
    window.setGameData(data);
    auto *actions = control<QComboBox>(window, "cmbTask");
    actions->setCurrentIndex(actions->findText(QStringLiteral("Activate")));
    QLineEdit *field = control<QLineEdit>(window, "txtOption(0)");
    QApplication::setActiveWindow(&window);
    field->setFocus();
    // The author types the start of an id that is there, in any case.
    const auto ids = data->index.sorted(hw::IdGroup::ActivateTarget);
    std::mt19937 random(7);
    const auto typedBefore = static_cast<std::size_t>(state.range(0));
    std::size_t completed = 0, listed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string_view chosen = ids[random() % ids.size()];
        QString id = QString::fromUtf8(chosen.data(), static_cast<qsizetype>(chosen.size()));
        if (random() % 2)
            id = id.toUpper();
        field->clear();
        for (const QChar c : id.left(static_cast<qsizetype>(typedBefore)))
            QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                              : field,
                            c.toLatin1());
        QWidget *to = QApplication::activePopupWidget();
        state.ResumeTiming();
        QTest::keyClick(to ? to : field, id[static_cast<qsizetype>(typedBefore)].toLatin1());
        QCoreApplication::processEvents();
        state.PauseTiming();
        completed += field->hasSelectedText() ? 1 : 0;
        listed += QApplication::activePopupWidget() ? 1 : 0;
        state.ResumeTiming();
    }
    state.counters["ids"] = static_cast<double>(ids.size());
    const auto iterations = static_cast<double>(std::max<std::int64_t>(1, state.iterations()));
    state.counters["completed"] = static_cast<double>(completed) / iterations;
    state.counters["listed"] = static_cast<double>(listed) / iterations;
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    hw::setUpApplication(app);

    g_files.folder = fs::temp_directory_path() /
        ("hourwright-window-bench-" + std::to_string(QCoreApplication::applicationPid()));
    fs::create_directories(g_files.folder);
    g_files.first = writePlugin(g_files.folder / "first.esm", randomIds(1, kIdsPerFile));
    g_files.second = writePlugin(g_files.folder / "second.esp", randomIds(2, kIdsPerFile));
    writeGame(g_files.folder / "game");

    auto repeated = [](benchmark::internal::Benchmark *b) {
        b->Repetitions(kRepetitions)->ReportAggregatesOnly(true)->UseRealTime();
    };
    repeated(benchmark::RegisterBenchmark("LoadClick", loadClick)->Unit(benchmark::kMillisecond));
    repeated(benchmark::RegisterBenchmark("ScanOnly", scanOnly)->Unit(benchmark::kMillisecond));
    repeated(benchmark::RegisterBenchmark("ModelAdd", modelAdd)->Unit(benchmark::kMillisecond));
    repeated(benchmark::RegisterBenchmark("Keystroke", keystroke)
                 ->Arg(0)
                 ->Arg(2)
                 ->Unit(benchmark::kMicrosecond));
    repeated(benchmark::RegisterBenchmark("FirstStartingWith", firstStartingWith)
                 ->Unit(benchmark::kMicrosecond));
    benchmark::RegisterBenchmark("BuildIndex/master+3", buildIndex)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("LoadGameData/master+3", loadGameData)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    repeated(benchmark::RegisterBenchmark("OptionKeystroke", optionKeystroke)
                 ->Arg(0)
                 ->Arg(2)
                 ->Unit(benchmark::kMicrosecond));
    hw::bench::RatioReporter reporter("BuildIndex");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code error;
    fs::remove_all(g_files.folder, error);
    return 0;
}
