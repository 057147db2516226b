#pragma once

#include "data/load_order.hpp"

#include <QString>

#include <filesystem>
#include <optional>

class QWidget;

namespace hw {

// The game configuration (openmw.cfg or Morrowind.ini) that the author chose
// by hand when HourWright found none: kept in the settings, so that every
// later Load Game Data reads it without asking again.

/// The configuration chosen by hand while the file is still there; empty when
/// none was chosen. One that is gone is forgotten.
std::filesystem::path rememberedConfiguration();

/// Keeps `file`, a full path, as the configuration chosen by hand.
void rememberConfiguration(const std::filesystem::path &file);

/// Forgets the configuration chosen by hand.
void forgetConfiguration();

/// The load order of a configuration chosen by hand: the original engine's
/// for an .ini file, OpenMW's for any other name.
LoadOrder readChosenConfiguration(const std::filesystem::path &file);

class Prompts;

/// Says where the game's configuration was looked for (the first problem of
/// `notFound`) and offers to choose one by hand, starting in OpenMW's user
/// folder or else beside `dataFolder`. Returns the load order of the file
/// chosen, which is remembered when it names files to load; nothing when the
/// author declines or cancels.
std::optional<LoadOrder> askForConfiguration(QWidget &window, Prompts &prompts,
                                             const LoadOrder &notFound,
                                             const std::filesystem::path &dataFolder);

/// What Load Game Data reads, for its tooltip: the configuration chosen by
/// hand, or the game's configuration wherever it is found.
QString loadGameDataTip();

} // namespace hw
