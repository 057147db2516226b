#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace hw::cli {

/// Reads `file` to its end, bytes unchanged: standard input is switched to
/// binary mode first, so that CR LF and Ctrl-Z reach the reader as they are.
/// nullopt on a read error (errno tells which).
std::optional<std::string> readAll(std::FILE *file);

/// Writes `bytes` to standard output unchanged (no CR LF translation) and
/// flushes it; false when the bytes could not all be written.
bool writeOutput(std::string_view bytes);

} // namespace hw::cli
