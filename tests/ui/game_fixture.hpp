#pragma once

#include "bsa_writer.hpp"
#include "ui/base/file_path.hpp"
#include "ui/form/frm_main.hpp"
#include "ui/game/game_commands.hpp"
#include "ui/game/game_data_loader.hpp"
#include "ui/shell/main_window.hpp"
#include "window_fixture.hpp"

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace hw::test {

/// Sets environment variables for the life of the object, then gives them back the values
/// they had (the tests' main sets each one this is used for).
struct Environment
{
    std::vector<std::pair<const char *, QByteArray>> before;
    Environment(std::initializer_list<std::pair<const char *, QString>> values)
    {
        for (const auto &[name, value] : values) {
            before.emplace_back(name, qgetenv(name));
            qputenv(name, value.toUtf8());
        }
    }
    ~Environment()
    {
        for (const auto &[name, value] : before)
            qputenv(name, value);
    }
};

/// The program's window with OpenMW's configuration and data folders and the Wine prefix
/// in a temporary home, so that Load Game Data reads what a test writes there.
struct GameWindow
{
    QTemporaryDir home;
    Environment environment {{"XDG_CONFIG_HOME", home.filePath("config")},
                             {"XDG_DATA_HOME", home.filePath("share")},
                             {"WINEPREFIX", home.filePath("wine")}};
    ScriptedPrompts prompts;
    MainWindow window {prompts};
    frmMain &form = window.form();
    GameCommands &game = window.game();
    /// The game's data folder, with a name beyond ASCII.
    std::filesystem::path dataFolder = toFilesystemPath(home.filePath("Jeu é/Data Files"));

    GameWindow()
    {
        std::filesystem::create_directories(dataFolder / "Sound" / "Vo" / "Misc");
        std::ofstream(dataFolder / "Sound" / "Vo" / "Misc" / "Hello There.mp3") << "mp3";
        std::ofstream(dataFolder / "Sounds.bsa", std::ios::binary)
            << bsaArchive({"sound\\Cr\\fm\\roar.wav", "meshes\\x.nif"});
        // The archive the original engine always loads.
        std::ofstream(dataFolder / "Morrowind.bsa", std::ios::binary) << bsaArchive({});
        showActive(window);
    }

    /// Writes the user's openmw.cfg with the data folder, its archive and
    /// `content` in order; the test plugins among them are copied into the
    /// data folder (the others are left to the test).
    void configure(const std::vector<std::string> &content)
    {
        const auto folder = toFilesystemPath(home.filePath("config/openmw"));
        std::filesystem::create_directories(folder);
        std::ofstream cfg(folder / "openmw.cfg");
        cfg << "data=\"" << utf8Path(dataFolder) << "\"\nfallback-archive=Sounds.bsa\n";
        for (const auto &name : content) {
            cfg << "content=" << name << '\n';
            std::error_code missing;
            std::filesystem::copy_file(std::filesystem::path(HW_TEST_PLUGINS) / name,
                                       dataFolder / name,
                                       std::filesystem::copy_options::overwrite_existing, missing);
        }
    }

    /// File › Load Game Data, answering the clear question, if it comes, with
    /// `answer`, then waits until the load has ended.
    void loadGameData(PromptAnswer answer = PromptAnswer::No)
    {
        prompts.answers = {answer};
        window.menu().loadGameData->trigger();
        waitForLoad();
        prompts.answers.clear();
    }

    void waitForLoad()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !game.loader().busy(); }, 30000));
    }

    QString names() const { return Window::namesOf(form); }
};

} // namespace hw::test
