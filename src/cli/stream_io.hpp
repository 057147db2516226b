#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hw::cli {

/// Reads `file` to its end, bytes unchanged: standard input is switched to
/// binary mode first, so that CR LF and Ctrl-Z reach the reader as they are.
/// nullopt on a read error (errno tells which).
std::optional<std::string> readAll(std::FILE *file);

/// The path named by a command-line argument. Arguments are UTF-8; on Windows
/// the path is made from that text, elsewhere the bytes go through unchanged.
std::filesystem::path argumentPath(std::string_view arg);

/// Opens `path` for binary reading, whatever characters it holds; nullptr
/// with errno set on failure.
std::FILE *openForReading(const std::filesystem::path &path);

/// Writes `bytes` to standard output unchanged (no CR LF translation) and
/// flushes it; false when the bytes could not all be written.
bool writeOutput(std::string_view bytes);

} // namespace hw::cli
