#pragma once

#include "plugin/byte_source.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace hw::cli {

/// The path named by a command-line argument. Arguments are UTF-8; on Windows
/// the path is made from that text, elsewhere the bytes go through unchanged.
std::filesystem::path argumentPath(std::string_view arg);

/// Writes `bytes` to standard output unchanged (no CR LF translation) and
/// flushes it; false when the bytes could not all be written (errno tells why).
bool writeOutput(std::string_view bytes);

/// Reads the next bytes of a stream into the front of `into`: how many were
/// read (0 at its end), or the system's reason why reading failed.
using ReadNext = std::function<ReadResult(std::span<char>)>;

/// `source` read from its first byte to its last, one call after the other.
/// The source must outlive the result.
ReadNext readInOrder(ByteSource &source);

/// Standard input read as it comes, bytes unchanged (binary mode on Windows,
/// so that CR LF and Ctrl-Z reach the reader as they are).
ReadNext readStandardInput();

/// The most bytes of standard input that standardInput() holds in memory.
inline constexpr std::uint64_t kStandardInputLimit = 256ull << 20;

/// Standard input for a reader that reads by position, or why there is none.
struct StandardInput
{
    std::unique_ptr<ByteSource> source;
    /// Why there is no source, in words for a message: standard input holds
    /// more than the limit, or cannot be read (with the system's reason).
    std::string problem;
};

/// Standard input as bytes read by position (the plugin reader's ByteSource).
/// A regular file redirected in ("< file.esp") is read in place through its
/// descriptor, whatever its size; anything else (a pipe, a terminal, a device)
/// is read to its end into memory first, and refused when it holds more than
/// `limit` bytes; only its first four bytes are read when they are not those
/// of a plugin ("TES3"), which the reader then refuses. Use it once per process.
StandardInput standardInput(std::uint64_t limit = kStandardInputLimit);

} // namespace hw::cli
