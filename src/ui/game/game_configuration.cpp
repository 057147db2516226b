#include "ui/game/game_configuration.hpp"

#include "data/morrowind_ini.hpp"
#include "data/openmw_config.hpp"
#include "model/caseless.hpp"
#include "platform/openmw_paths.hpp"
#include "ui/base/file_path.hpp"
#include "ui/base/prompts.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include <system_error>

namespace hw {

namespace {

namespace fs = std::filesystem;

const char kKey[] = "gameConfiguration";
const char kFilter[] = "Game configuration (openmw.cfg Morrowind.ini);;All files (*)";

bool isThere(const fs::path &path)
{
    std::error_code error;
    return !path.empty() && fs::exists(path, error);
}

} // namespace

fs::path rememberedConfiguration()
{
    const QString remembered = QSettings().value(QLatin1String(kKey)).toString();
    if (remembered.isEmpty())
        return {};
    const fs::path file = toFilesystemPath(remembered);
    std::error_code error;
    if (fs::is_regular_file(file, error))
        return file;
    forgetConfiguration();
    return {};
}

void rememberConfiguration(const fs::path &file)
{
    QSettings().setValue(QLatin1String(kKey), fromFilesystemPath(file));
}

void forgetConfiguration()
{
    QSettings().remove(QLatin1String(kKey));
}

LoadOrder readChosenConfiguration(const fs::path &file)
{
    // The original engine's settings are an .ini file; anything else is read
    // as OpenMW's, whose file may have any name when chosen by hand.
    if (lowerCase(utf8Path(file.extension())) == ".ini")
        return readMorrowindIniLoadOrder(file);
    return readOpenMwLoadOrder(file, openMwPaths());
}

std::optional<LoadOrder> askForConfiguration(QWidget &window, Prompts &prompts,
                                             const LoadOrder &notFound, const fs::path &dataFolder)
{
    const QString where = notFound.problems.empty()
        ? QString()
        : QString::fromStdString(notFound.problems.front().message) + QStringLiteral(".\n\n");
    const QString text =
        QCoreApplication::translate("GameCommands",
                                    "HourWright %1Do you want to choose an openmw.cfg or a "
                                    "Morrowind.ini yourself?")
            .arg(where);
    if (prompts.ask(&window, QString::fromUtf8(kApplicationTitle), text, PromptButtons::YesNo,
                    PromptAnswer::Yes) != PromptAnswer::Yes)
        return std::nullopt;
    const fs::path userConfig = openMwPaths().userConfig;
    const fs::path start = isThere(userConfig) ? userConfig : dataFolder.parent_path();
    const QString chosen =
        prompts.openFile(&window, fromFilesystemPath(start), QString::fromUtf8(kFilter));
    if (chosen.isEmpty())
        return std::nullopt;
    const fs::path file = toFilesystemPath(chosen);
    LoadOrder order = readChosenConfiguration(file);
    // Kept for the next time only when it names files to load: a file chosen
    // by mistake would otherwise stand in the way of every later load.
    if (!order.contentFiles.empty())
        rememberConfiguration(file);
    return order;
}

QString loadGameDataTip()
{
    const fs::path chosen = rememberedConfiguration();
    if (chosen.empty())
        return QCoreApplication::translate(
            "GameCommands",
            "Load the game's data in the load order of OpenMW's openmw.cfg or, without it, "
            "of the original game's Morrowind.ini.");
    return QCoreApplication::translate("GameCommands",
                                       "Load the game's data in the load order of %1, chosen "
                                       "by hand.")
        .arg(QDir::toNativeSeparators(fromFilesystemPath(chosen)));
}

} // namespace hw
