#pragma once

#include <QString>
#include <QStringList>

namespace hw {

/// What the window program's command line asks for, after Qt has taken its
/// own options (-platform and the like).
struct StartArguments
{
    QString file; ///< the task-list file to open; empty for none
    QString error; ///< what is wrong with the arguments; empty when nothing
};

/// The usage line of the window program.
inline constexpr char kStartUsage[] = "Usage: hourwright [FILE.hwtasks]";

/// Reads `arguments` (without the program's name): at most one file, and no
/// option; "--" ends the options, so a file may begin with "-".
StartArguments readStartArguments(const QStringList &arguments);

} // namespace hw
