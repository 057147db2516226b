#pragma once

// A source of plugin bytes that only copies (as a file does on Windows or a
// pipe does everywhere), counts what it reads, and may claim bytes that
// cannot be read.

#include "plugin/byte_source.hpp"

#include <cstdint>
#include <span>
#include <string_view>
#include <system_error>

namespace hw::test {

struct CopyingSource final : ByteSource
{
    std::string_view bytes;
    std::uint64_t unreadable = 0; ///< claimed after `bytes`; reading them fails
    std::uint64_t bytesRead = 0;

    explicit CopyingSource(std::string_view from, std::uint64_t claimed = 0)
        : bytes(from)
        , unreadable(claimed)
    { }

    std::uint64_t size() const override { return bytes.size() + unreadable; }
    ReadResult read(std::uint64_t offset, std::span<char> into) override
    {
        if (offset >= bytes.size() && unreadable > 0)
            return {0, std::make_error_code(std::errc::io_error)};
        const auto got = MemorySource(bytes).read(offset, into);
        bytesRead += got.count;
        return got;
    }
};

} // namespace hw::test
