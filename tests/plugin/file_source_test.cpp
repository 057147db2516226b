#include "plugin/byte_source.hpp"
#include "plugin/es_read.hpp"

#include "plugin_writer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A folder of its own under the system's temporary folder, with characters
// outside ASCII and the ANSI code pages in its name, which Windows takes only
// in UTF-16.
struct TempFolder
{
    fs::path path = fs::temp_directory_path() / fs::path(u8"hourwright-é-Ж-");
    TempFolder()
    {
        path += std::to_string(std::random_device()());
        fs::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path write(const fs::path &name, const std::string &bytes) const
    {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return path / name;
    }
};

TEST(FileSource, readsAnyRangeInAnyOrder)
{
    TempFolder folder;
    std::string bytes(300000, '\0');
    std::mt19937 random(3);
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random()); });
    std::error_code error;
    const auto source = hw::FileSource::open(folder.write("bytes.bin", bytes), error);
    ASSERT_NE(source, nullptr) << error.message();
    EXPECT_EQ(source->size(), bytes.size());
    // Forwards, backwards, again at the same place, across and past the end.
    const std::pair<std::uint64_t, std::size_t> reads[] = {
        {0, 16},       {200000, 100}, {100, 50},        {100, 50},
        {299990, 100}, {300000, 10},  {1ull << 40, 10}, {0, 300000}};
    for (const auto &[offset, length] : reads) {
        std::vector<char> into(length + 8, '?');
        const auto got = source->read(offset, std::span<char>(into).first(length));
        const auto expected =
            std::string_view(bytes).substr(std::min<std::uint64_t>(offset, bytes.size()), length);
        EXPECT_FALSE(got.error) << offset;
        EXPECT_EQ(std::string_view(into.data(), got.count), expected) << offset;
        EXPECT_EQ(into[length], '?') << "wrote past the span at " << offset;
    }
}

TEST(ReadNPCNamesFromAFile, reportsWhatCannotBeOpened)
{
    TempFolder folder;
    const std::pair<fs::path, std::errc> cases[] = {
        {folder.path / "missing.esp", std::errc::no_such_file_or_directory},
        {folder.path, std::errc::is_a_directory}};
    for (const auto &[path, reason] : cases) {
        hw::ESRead reader;
        reader.NPCNames = {"old"};
        const auto outcome = reader.ReadNPCNames(path);
        EXPECT_EQ(outcome.fault, hw::ScanFault::CannotOpen) << path;
        EXPECT_EQ(outcome.error, reason) << path;
        EXPECT_EQ(reader.NPCNames, std::vector<std::string> {""});
    }
}

// Every real plugin under the test data folders gives exactly the ids of its
// FILE.ids: UTF-8, one per line, each ending in LF; empty when it has none.
std::vector<fs::path> realPlugins()
{
    std::vector<fs::path> files;
    for (const fs::path folder : {HW_TEST_PLUGINS, HW_EXTRA_TEST_PLUGINS}) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; ++it)
            if (it->is_regular_file() && it->path().extension() != ".ids" &&
                it->path().extension() != ".md")
                files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class RealPlugin : public testing::TestWithParam<fs::path>
{
};

TEST_P(RealPlugin, givesTheIdsOfItsIdsFile)
{
    const auto &file = GetParam();
    std::ifstream idsFile(fs::path(file) += ".ids", std::ios::binary);
    ASSERT_TRUE(idsFile) << file << ".ids is missing";
    hw::ESRead reader;
    const auto outcome = reader.ReadNPCNames(file);
    ASSERT_TRUE(outcome.complete()) << hw::scanMessage(file, outcome);
    std::string lines;
    for (std::size_t i = 0; i < outcome.idCount; ++i)
        lines += reader.NPCNames[i] + '\n';
    EXPECT_EQ(lines, std::string(std::istreambuf_iterator<char>(idsFile), {}));
}

INSTANTIATE_TEST_SUITE_P(TestData, RealPlugin, testing::ValuesIn(realPlugins()));

} // namespace
