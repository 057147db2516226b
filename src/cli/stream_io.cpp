#include "cli/stream_io.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace hw::cli {
namespace {

// Windows opens the standard streams in text mode, which would turn each CR LF
// of a script into CR CR LF.
void makeBinary([[maybe_unused]] std::FILE *stream)
{
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#endif
}

} // namespace

std::optional<std::string> readAll(std::FILE *file)
{
    if (file == stdin)
        makeBinary(stdin);
    std::string bytes;
    char buffer[1 << 14];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    if (std::ferror(file))
        return std::nullopt;
    return bytes;
}

bool writeOutput(std::string_view bytes)
{
    makeBinary(stdout);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && written;
}

} // namespace hw::cli
