#include "plugin/byte_source.hpp"
#include "plugin/es_read.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kPlugins = HW_TEST_PLUGINS;

std::string contents(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Names beyond ASCII are opened by the command-line tests.
TEST(FileSource, readsAnyRangeInAnyOrder)
{
    const auto file = kPlugins / "firemoth.esm";
    const std::string bytes = contents(file);
    std::error_code error;
    const auto source = hw::FileSource::open(file, error);
    ASSERT_NE(source, nullptr) << error.message();
    const std::uint64_t end = bytes.size();
    EXPECT_EQ(source->size(), end);
    // Forwards, backwards, again at the same place, across and past the end.
    const std::pair<std::uint64_t, std::size_t> reads[] = {
        {0, 16},         {600000, 100}, {100, 50},        {100, 50},
        {end - 10, 100}, {end, 10},     {1ull << 40, 10}, {0, end}};
    for (const auto &[offset, length] : reads) {
        std::vector<char> into(length + 8, '?');
        const auto got = source->read(offset, std::span<char>(into).first(length));
        const auto expected = std::string_view(bytes).substr(std::min(offset, end), length);
        EXPECT_FALSE(got.error) << offset;
        EXPECT_EQ(std::string_view(into.data(), got.count), expected) << offset;
        EXPECT_EQ(into[length], '?') << "wrote past the span at " << offset;
    }
}

TEST(ReadNPCNamesFromAFile, reportsWhatCannotBeOpened)
{
    hw::ESRead reader;
    for (const auto &[path, reason] :
         {std::pair {kPlugins / "missing.esp", std::errc::no_such_file_or_directory},
          std::pair {kPlugins, std::errc::is_a_directory}}) {
        reader.NPCNames = {"old"};
        const auto outcome = reader.ReadNPCNames(path);
        EXPECT_EQ(outcome.fault, hw::ScanFault::CannotOpen) << path;
        EXPECT_EQ(outcome.error, reason) << path;
        EXPECT_EQ(reader.NPCNames, std::vector<std::string> {""});
    }
}

// Every real plugin under the test data folders gives exactly the ids of its
// FILE.ids: UTF-8, one per line, each ending in LF; empty when it has none.
TEST(ReadNPCNamesFromAFile, givesTheIdsOfEveryRealPlugin)
{
    int plugins = 0;
    for (const fs::path folder : {HW_TEST_PLUGINS, HW_EXTRA_TEST_PLUGINS}) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; ++it) {
            const fs::path &file = it->path();
            if (file.extension() == ".ids" || file.extension() == ".md")
                continue;
            hw::ESRead reader;
            const auto outcome = reader.ReadNPCNames(file);
            EXPECT_TRUE(outcome.complete()) << hw::scanMessage(file, outcome);
            std::string lines;
            for (std::size_t i = 0; i < outcome.idCount; ++i)
                lines += reader.NPCNames[i] + '\n';
            EXPECT_EQ(lines, contents(fs::path(file) += ".ids")) << file;
            ++plugins;
        }
    }
    EXPECT_GE(plugins, 10);
}

} // namespace
