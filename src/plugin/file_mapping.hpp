#pragma once

#ifndef _WIN32

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace hw {

/// A regular file seen in memory through read-only mappings of it, one window
/// at a time, so that its bytes are read where the page cache holds them
/// instead of being copied. Only the length that fstat gave when the file was
/// opened is ever mapped, and at most one window (and the record asked for)
/// is mapped at once, so the pages that count against the process stay few
/// however large the file is.
///
/// A mapped file that another program cuts shorter raises SIGBUS at the first
/// touch of a page past its new end. A handler, installed once per process,
/// puts zero-filled pages in place of the lost ones and marks the window:
/// the reader goes on over zeros, which it takes like any other untrusted
/// bytes, and learns from lostPages() that what it read is wrong. No C++
/// frame is left by a jump. A SIGBUS at any other address goes on to the
/// handler that was there before, or ends the process as it would have.
class FileMapping
{
public:
    /// `fd` stays owned by the caller and must outlive the mapping;
    /// `windowSize` is rounded up to whole pages.
    FileMapping(int fd, std::uint64_t fileSize, std::size_t windowSize);
    ~FileMapping();
    FileMapping(const FileMapping &) = delete;
    FileMapping &operator=(const FileMapping &) = delete;

    /// The bytes from `offset` to the end of the window that holds them and
    /// at least `length` bytes (fewer only at the end of the file), valid
    /// until the next call; nothing when the system would not map them.
    std::optional<std::string_view> view(std::uint64_t offset, std::size_t length);

    /// True once a page of any window was lost since the file was opened.
    bool lostPages() const;

private:
    bool map(std::uint64_t offset, std::size_t length);
    void unmap();

    int m_fd;
    std::uint64_t m_fileSize;
    std::size_t m_windowSize;
    const char *m_window = nullptr;
    std::uint64_t m_start = 0; ///< the file offset of m_window
    std::size_t m_length = 0;
    int m_guard = -1; ///< the slot of the SIGBUS guard that watches the window
    bool m_lost = false; ///< of windows already unmapped
};

} // namespace hw

#endif
