#pragma once

#include <span>
#include <string_view>

namespace hw::cli {

/// The arguments after the command's name.
using Args = std::span<const std::string_view>;

/// Each command prints its result on standard output and its messages on
/// standard error, and returns the process's exit status: 0 done, 1 refused
/// or failed, 2 wrong usage.
int runActions(Args args);
int runSchedule(Args args);
int runCentral(Args args);
int runNpcs(Args args);
int runIds(Args args);
int runLoadOrder(Args args);
int runPlugin(Args args);

} // namespace hw::cli
