#include "data/text_file.hpp"

#include "plugin/byte_source.hpp"

#include <system_error>

namespace hw {
namespace {

TextFile refused(std::string problem)
{
    return {TextFile::Status::Refused, {}, std::move(problem)};
}

std::string megabytes(std::uint64_t bytes)
{
    return std::to_string(bytes / (1024 * 1024)) + " MiB";
}

} // namespace

TextFile readTextFile(const std::filesystem::path &file, std::uint64_t limit)
{
    // FileSource opens only regular files, and never waits on a pipe.
    std::error_code error;
    const auto source = FileSource::open(file, error);
    if (!source) {
        if (error == std::errc::no_such_file_or_directory)
            return {};
        if (error == std::errc::is_a_directory)
            return refused("is a folder, not a file");
        if (error == FileError::NotRegularFile)
            return refused("is not a plain file (a pipe or a device, say), so it is not read");
        return refused("cannot be opened: " + error.message());
    }
    if (source->size() > limit)
        return refused("is larger than " + megabytes(limit) +
                       ", far more than any real one, so it is not read");
    TextFile out {TextFile::Status::Read, std::string(source->size(), '\0'), {}};
    const auto result = source->read(0, out.text);
    if (result.error)
        return refused("cannot be read: " + result.error.message());
    out.text.resize(result.count);
    return out;
}

} // namespace hw
