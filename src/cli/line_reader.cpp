#include "cli/line_reader.hpp"

#include <algorithm>
#include <cstring>

namespace hw::cli {

namespace {

// The first CR or LF among `count` bytes at `start`, or nullptr.
const char *findLineEnd(const char *start, std::size_t count)
{
    const auto *lf = static_cast<const char *>(std::memchr(start, '\n', count));
    const auto *cr = static_cast<const char *>(
        std::memchr(start, '\r', lf ? static_cast<std::size_t>(lf - start) : count));
    return cr ? cr : lf;
}

} // namespace

LineReader::LineReader(ReadNext read, std::size_t limit)
    : m_read(std::move(read))
    , m_limit(limit)
    , m_block(64 * 1024)
{ }

bool LineReader::fill()
{
    const ReadResult got = m_read(m_block);
    m_error = got.error;
    m_begin = 0;
    m_end = got.count;
    m_bytesRead += got.count;
    return got.count > 0;
}

LineReader::Status LineReader::finish(std::string_view line)
{
    m_line = line;
    if (line.size() <= m_limit)
        return Status::Line;
    m_done = true;
    return Status::TooLong;
}

LineReader::Status LineReader::next()
{
    if (m_done)
        return Status::End;
    m_held.clear();
    ++m_number;
    for (;;) {
        if (m_begin == m_end && !fill()) {
            m_done = true;
            if (m_error)
                return Status::Failed;
            return m_held.empty() ? Status::End : finish(m_held);
        }
        // The LF of a CR LF whose CR ended the line before.
        if (m_afterCr) {
            m_afterCr = false;
            if (m_block[m_begin] == '\n' && ++m_begin == m_end)
                continue;
        }
        const char *start = m_block.data() + m_begin;
        const auto available = m_end - m_begin;
        const char *lineEnd = findLineEnd(start, available);
        const std::size_t length = lineEnd ? static_cast<std::size_t>(lineEnd - start) : available;
        m_begin += length + (lineEnd ? 1 : 0);
        m_afterCr = lineEnd && *lineEnd == '\r';
        // A line that lies whole in the block is not copied.
        if (lineEnd && m_held.empty())
            return finish({start, length});
        // One byte beyond the limit tells a line that is too long.
        const std::size_t room = m_limit + 1 - m_held.size();
        m_held.append(start, std::min(length, room));
        if (length > room) {
            m_line = m_held;
            m_done = true;
            return Status::TooLong;
        }
        if (lineEnd)
            return finish(m_held);
    }
}

} // namespace hw::cli
