#include "cli/line_reader.hpp"

#include <algorithm>
#include <cstring>

namespace hw::cli {

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
    return got.count > 0;
}

LineReader::Status LineReader::finish(std::string_view line)
{
    if (line.ends_with('\r'))
        line.remove_suffix(1);
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
        const char *start = m_block.data() + m_begin;
        const auto available = m_end - m_begin;
        const auto *lineEnd = static_cast<const char *>(std::memchr(start, '\n', available));
        const std::size_t length = lineEnd ? static_cast<std::size_t>(lineEnd - start) : available;
        m_begin += length + (lineEnd ? 1 : 0);
        // A line that lies whole in the block is not copied.
        if (lineEnd && m_held.empty())
            return finish({start, length});
        // One byte more than the limit may be the CR of a CR LF.
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
