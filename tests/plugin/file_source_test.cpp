#include "plugin/byte_source.hpp"
#include "plugin/es_read.hpp"

#include "plugin_writer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A folder of its own under the system's temporary folder, with characters
// outside ASCII and the ANSI code pages in its name.
class TempFolder
{
public:
    TempFolder()
    {
        std::random_device random;
        m_path = fs::temp_directory_path() / fs::path(u8"hourwright-é-Ж-");
        m_path += std::to_string(random());
        fs::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path &path() const { return m_path; }

    fs::path write(const fs::path &name, const std::string &bytes) const
    {
        const auto file = m_path / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    fs::path m_path;
};

TEST(FileSource, readsAnyRangeInAnyOrder)
{
    TempFolder folder;
    std::string bytes(300000, '\0');
    std::mt19937 random(3);
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random()); });
    const auto file = folder.write("bytes.bin", bytes);

    std::error_code error;
    const auto source = hw::FileSource::open(file, error);
    ASSERT_NE(source, nullptr) << error.message();
    EXPECT_EQ(source->size(), bytes.size());
    struct Read
    {
        std::uint64_t offset;
        std::size_t length;
        std::size_t expected;
    };
    // Forwards, backwards, again at the same place, across and past the end.
    const Read reads[] = {{0, 16, 16},        {16, 65536, 65536}, {200000, 100, 100},
                          {100, 50, 50},      {100, 50, 50},      {150, 0, 0},
                          {299990, 100, 10},  {300000, 10, 0},    {1ull << 40, 10, 0},
                          {0, 300000, 300000}};
    for (const auto &r : reads) {
        std::vector<char> into(r.length + 8, '?');
        const auto got = source->read(r.offset, std::span<char>(into).first(r.length));
        EXPECT_FALSE(got.error) << r.offset;
        ASSERT_EQ(got.count, r.expected) << r.offset;
        EXPECT_EQ(std::string_view(into.data(), got.count),
                  std::string_view(bytes).substr(std::min<std::uint64_t>(r.offset, bytes.size()),
                                                 got.count))
            << r.offset;
        EXPECT_EQ(into[r.length], '?') << "wrote past the span at " << r.offset;
    }
}

TEST(ReadNPCNamesFromAFile, readsAFileWhosePathIsNotAscii)
{
    TempFolder folder;
    const auto file = folder.write(fs::path(u8"Ébène_Дом.esp"),
                                   hw::test::headerRecord() + hw::test::npcRecord("a") +
                                       hw::test::npcRecord("b"));
    hw::ESRead reader;
    const auto outcome = reader.ReadNPCNames(file);
    EXPECT_TRUE(outcome.complete()) << hw::scanMessage(file, outcome);
    EXPECT_EQ(reader.NPCNames, (std::vector<std::string> {"a", "b"}));
}

TEST(ReadNPCNamesFromAFile, readsAnEmptyFile)
{
    TempFolder folder;
    hw::ESRead reader;
    const auto outcome = reader.ReadNPCNames(folder.write("empty.esp", ""));
    EXPECT_TRUE(outcome.complete());
    EXPECT_EQ(reader.NPCNames, std::vector<std::string> {""});
}

TEST(ReadNPCNamesFromAFile, reportsWhatCannotBeOpened)
{
    TempFolder folder;
    struct Case
    {
        fs::path path;
        std::errc reason;
    };
    const Case cases[] = {{folder.path() / "missing.esp", std::errc::no_such_file_or_directory},
                          {folder.path(), std::errc::is_a_directory}};
    for (const auto &c : cases) {
        hw::ESRead reader;
        reader.NPCNames = {"old"};
        const auto outcome = reader.ReadNPCNames(c.path);
        EXPECT_EQ(outcome.fault, hw::ScanFault::CannotOpen) << c.path;
        EXPECT_EQ(outcome.error, c.reason) << c.path;
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
        if (!fs::is_directory(folder, error))
            continue;
        for (const auto &entry : fs::directory_iterator(folder)) {
            const auto extension = entry.path().extension();
            if (entry.is_regular_file() && extension != ".ids" && extension != ".md")
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string readAll(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RealPlugin : public testing::TestWithParam<fs::path>
{
};

TEST_P(RealPlugin, givesTheIdsOfItsIdsFile)
{
    const auto &file = GetParam();
    const auto idsFile = fs::path(file) += ".ids";
    ASSERT_TRUE(fs::exists(idsFile)) << idsFile << " is missing";
    hw::ESRead reader;
    const auto outcome = reader.ReadNPCNames(file);
    ASSERT_TRUE(outcome.complete()) << hw::scanMessage(file, outcome);
    std::string lines;
    for (std::size_t i = 0; i < outcome.idCount; ++i)
        lines += reader.NPCNames[i] + '\n';
    EXPECT_EQ(lines, readAll(idsFile));
    if (outcome.idCount == 0) {
        EXPECT_EQ(reader.NPCNames, std::vector<std::string> {""});
    }
}

INSTANTIATE_TEST_SUITE_P(TestData, RealPlugin, testing::ValuesIn(realPlugins()), [](const auto &p) {
    // Test names allow letters, digits and underscores only; the
    // index keeps a file of both folders apart.
    std::string name = std::to_string(p.index) + "_";
    for (const char c : p.param.filename().string())
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

} // namespace
