#include "ui/shell/start_arguments.hpp"

namespace hw {

StartArguments readStartArguments(const QStringList &arguments)
{
    StartArguments read;
    bool options = true;
    for (const QString &argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && argument.size() > 1 && argument.startsWith(QLatin1Char('-'))) {
            return {{}, QStringLiteral("unknown option '%1'").arg(argument)};
        } else if (!read.file.isEmpty()) {
            return {{}, QStringLiteral("only one FILE may be given")};
        } else {
            read.file = argument;
        }
    }
    return read;
}

} // namespace hw
