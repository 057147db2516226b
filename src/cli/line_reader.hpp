#pragma once

#include "cli/stream_io.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace hw::cli {

/// Reads a text one line at a time, holding no more than one block of it and
/// one line of at most `limit` bytes, however long the text or its lines are.
class LineReader
{
public:
    enum class Status {
        Line, ///< line() holds the next line
        TooLong, ///< the next line is longer than the limit; line() holds its start
        End, ///< the text has no more lines
        Failed, ///< reading failed; error() tells why
    };

    LineReader(ReadNext read, std::size_t limit);

    /// Reads the next line, without its line end (LF, CR LF or a CR alone, as
    /// takeLine reads them). After TooLong, End or Failed there is nothing
    /// more to read.
    Status next();

    /// The line read last; valid until the next call.
    std::string_view line() const { return m_line; }
    /// Its number, counted from 1.
    std::size_t number() const { return m_number; }
    const std::error_code &error() const { return m_error; }
    /// The bytes of the text read so far (a block at a time).
    std::uint64_t bytesRead() const { return m_bytesRead; }

private:
    bool fill();
    Status finish(std::string_view line);

    ReadNext m_read;
    std::size_t m_limit;
    std::vector<char> m_block;
    std::size_t m_begin = 0, m_end = 0;
    std::string m_held; // the part of a line read from earlier blocks
    std::string_view m_line;
    std::size_t m_number = 0;
    bool m_done = false;
    bool m_afterCr = false; // the last line ended in a CR, which an LF may follow
    std::uint64_t m_bytesRead = 0;
    std::error_code m_error;
};

} // namespace hw::cli
