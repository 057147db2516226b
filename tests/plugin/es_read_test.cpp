#include "plugin/es_read.hpp"
#include "plugin/subrecords.hpp"

#include "plugin_writer.hpp"
#include "temp_folder.hpp"
#include "test_source.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

using hw::ScanFault;
using namespace hw::test;

struct ScanCase
{
    const char *name;
    std::string file;
    std::vector<std::string> ids; // none leaves NPCNames holding one empty string
    ScanFault fault = ScanFault::None;
    std::uint64_t offset = 0; // where the record at fault starts
    std::uint64_t unreadable = 0; // bytes the source claims after `file` but cannot read
    hw::CodePage page = hw::CodePage::Windows1252;
};

std::vector<ScanCase> scanCases()
{
    using enum ScanFault;
    using enum hw::CodePage;
    const auto header = headerRecord();
    const auto x = npcRecord("X");
    const auto y = npcRecord("Y");
    const auto hx = header + x;
    const auto stop = [&](const char *name, const std::string &rest, ScanFault fault,
                          std::uint64_t unreadable = 0) {
        return ScanCase {name, hx + rest, {"X"}, fault, hx.size(), unreadable};
    };
    // Records of every size around the block sizes, with "NPC_NAME" inside.
    ScanCase mixed {"MixedSizes", header, {}};
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        if (random() % 3 == 0) {
            mixed.ids.push_back("npc " + std::to_string(i));
            mixed.file += npcRecord(mixed.ids.back(), std::string(random() % 300, 'f'));
            continue;
        }
        std::string data(random() % 2 ? random() % 200 : random() % 200000, 'x');
        for (std::size_t at = 0; at + 8 < data.size(); at += 4096)
            data.replace(at, 8, "NPC_NAME");
        mixed.file += record(i % 2 ? "LAND" : "PGRD", data);
    }
    return {
        mixed,
        {"EmptyFile", "", {}, NotAPlugin},
        {"NoHeaderFirst", x + header + y, {}, NotAPlugin},
        {"ShorterThanATag", "TE", {}, NotAPlugin},
        {"OnlyTheTagNpc_Counts",
         header + record("CELL", textSubrecord("NAME", "X")) +
             idRecord("BOOK", "b", textSubrecord("TEXT", "NPC_ NAME X")) + record("npc_", "NAME") +
             record("NPC ", "NAME"),
         {}},
        {"DuplicateAndEmptyIdsStay",
         header + npcRecord("") + x + x + npcRecord(""),
         {"", "X", "X", ""}},
        {"IdKeepsBlanksInUtf8",
         header + npcRecord(" Fr\xE9\x80\x81 "),
         {" Fr\xC3\xA9\xE2\x82\xAC\xC2\x81 "}},
        {"IdInCodePage1251",
         header + npcRecord("\xC0\xE1"),
         {"\xD0\x90\xD0\xB1"},
         None,
         0,
         0,
         Windows1251},
        // The scan stops at the record after X, and X stays.
        stop("DataSizePastTheEnd", record("CELL", "abc", 4), DataCutShort),
        stop("EndsInsideAHeader", y.substr(0, 15), HeaderCutShort),
        stop("NegativeDataSize", record("CELL", "abcd", -1) + y, NegativeDataSize),
        stop("NpcWithoutName", record("NPC_", textSubrecord("FNAM", "N")) + y, NoNameSubrecord),
        stop("NameRunsPastTheRecord", record("NPC_", subrecord("NAME", "abc", 9)) + y,
             SubrecordCutShort),
        stop("ReadFails", "", CannotRead, 1000),
        stop("FileShrinksWhileRead", y.substr(0, 40), DataCutShort, 1000),
        // Refused before its 2 GiB of data are read (reading them fails).
        stop("RecordLargerThanAnyTheGameWrites", record("NPC_", "NAME", 0x7FFFFFF0) + y,
             RecordTooLarge, 3ull << 30),
    };
}

// In place, and copied in blocks of the smallest size, an odd one and the default.
TEST(ESRead, givesTheIdsAndTheOutcome)
{
    for (const auto &c : scanCases())
        for (const std::size_t bufferSize : {0, 16, 23, 256 * 1024}) {
            SCOPED_TRACE(c.name + std::string(" at ") + std::to_string(bufferSize));
            CopyingSource copying(c.file, c.unreadable);
            hw::MemorySource inPlace(c.file);
            if (bufferSize == 0 && c.unreadable > 0)
                continue;
            hw::ByteSource &source =
                bufferSize == 0 ? static_cast<hw::ByteSource &>(inPlace) : copying;
            hw::ESRead reader(bufferSize);
            reader.NPCNames = {"left over", "from before"};
            const auto outcome = reader.ReadNPCNames(source, c.page);
            EXPECT_EQ(reader.NPCNames, c.ids.empty() ? std::vector<std::string> {""} : c.ids);
            EXPECT_EQ(outcome.idCount, c.ids.size());
            EXPECT_EQ(outcome.fault, c.fault);
            EXPECT_EQ(outcome.offset, c.offset);
            EXPECT_EQ(outcome.error == std::errc::io_error, c.fault == ScanFault::CannotRead);
            if (outcome.status() == hw::ScanStatus::Truncated) {
                EXPECT_EQ(outcome.endOffset, c.file.size());
            }
            // Only headers and NPC data are read, not the large records.
            if (c.file.size() > 1000000) {
                EXPECT_LT(copying.bytesRead, c.file.size() / 2);
            }
        }
}

// The word-wise search gives what a plain one does: every length around the
// word size, a NUL, a byte beyond ASCII or neither at every place.
TEST(UntilNul, takesTheTextUpToItsFirstNulAndSaysWhetherItIsAscii)
{
    for (std::size_t size = 0; size <= 26; ++size)
        for (std::size_t at = 0; at <= size; ++at)
            for (const char odd : {'\0', '\x80', '\xFF', 'Z'})
                for (const bool closed : {false, true}) {
                    std::string bytes(size, 'a');
                    if (at < size)
                        bytes[at] = odd;
                    if (closed)
                        bytes += '\0';
                    const std::string expected = bytes.substr(0, bytes.find('\0'));
                    bool ascii = false;
                    SCOPED_TRACE(testing::PrintToString(bytes));
                    EXPECT_EQ(hw::untilNul(bytes, ascii), expected);
                    EXPECT_EQ(ascii, std::ranges::none_of(expected, [](char c) { return c < 0; }));
                }
}

// On every cut of a cell's references, and with each length one or 2 GiB too
// large. A cut is a view of the whole: the bytes after it are there to be read
// by mistake.
TEST(Subrecords, passOverRestGivesTheVerdictOfNext)
{
    const std::string parts[] = {subrecord("FRMR", le32(1)),
                                 subrecord("NAME", std::string("static_01\0", 10)),
                                 subrecord("DATA", std::string(24, 'd')),
                                 subrecord("FRMR", le32(2)),
                                 subrecord("XSCL", ""),
                                 subrecord("FRMR", le32(3)),
                                 subrecord("DELE", le32(0)),
                                 subrecord("FNAM", "abcd"),
                                 subrecord("NAME", "x")};
    std::string whole;
    std::vector<std::size_t> lengthsAt;
    for (const auto &part : parts) {
        lengthsAt.push_back(whole.size() + 4);
        whole += part;
    }
    std::vector<std::string> wrongs; // outlive the views of `cases`
    std::vector<std::string_view> cases;
    for (std::size_t size = 0; size <= whole.size(); ++size)
        cases.push_back(std::string_view(whole).substr(0, size));
    for (const auto at : lengthsAt)
        for (const std::uint32_t more : {1u, 0x80000000u})
            wrongs.emplace_back(whole).replace(at, 4, le32(hw::loadLe32(whole.data() + at) + more));
    cases.insert(cases.end(), wrongs.begin(), wrongs.end());
    for (const auto &data : cases) {
        SCOPED_TRACE(testing::PrintToString(data));
        hw::Subrecords walked(data), fromStart(data), afterOne(data);
        while (walked.next()) { }
        EXPECT_EQ(fromStart.passOverRest(), !walked.broken());
        EXPECT_EQ(fromStart.broken(), walked.broken());
        if (afterOne.next())
            afterOne.passOverRest();
        EXPECT_EQ(afterOne.broken(), walked.broken());
    }
}

const fs::path kPlugins = HW_TEST_PLUGINS;

#ifdef _WIN32
const auto kDescriptor = _fileno;
#else
const auto kDescriptor = fileno;
#endif

// By name and through a descriptor (standard input): forwards, backwards,
// again at the same place, across and past the end.
TEST(FileSource, readsAnyRangeInAnyOrder)
{
    const auto file = kPlugins / "firemoth.esm";
    const std::string bytes = fileBytes(file);
    const std::uint64_t end = bytes.size();
    std::error_code error;
    const auto byName = hw::FileSource::open(file, error);
    ASSERT_NE(byName, nullptr) << error.message();
    std::FILE *open = std::fopen(file.string().c_str(), "rb");
    ASSERT_NE(open, nullptr);
    const auto byDescriptor = hw::FileSource::fromDescriptor(kDescriptor(open), error);
    std::fclose(open);
    ASSERT_NE(byDescriptor, nullptr) << error.message();
    const std::pair<std::uint64_t, std::size_t> reads[] = {
        {0, 16},         {600000, 100}, {100, 50},        {100, 50},
        {end - 10, 100}, {end, 10},     {1ull << 40, 10}, {0, end}};
    for (const auto &source : {byName.get(), byDescriptor.get()}) {
        EXPECT_EQ(source->size(), end);
        for (const auto &[offset, length] : reads) {
            std::vector<char> into(length + 8, '?');
            const auto got = source->read(offset, std::span<char>(into).first(length));
            EXPECT_FALSE(got.error) << offset;
            EXPECT_EQ(std::string_view(into.data(), got.count),
                      std::string_view(bytes).substr(std::min(offset, end), length))
                << offset;
            EXPECT_EQ(into[length], '?') << "wrote past the span at " << offset;
        }
    }
}

// A folder, a FIFO or a device is never opened: a FIFO's open would wait for a writer.
TEST(ReadNPCNamesFromAFile, refusesWhatIsNotARegularFile)
{
    std::vector<std::pair<fs::path, std::error_code>> cases = {
        {kPlugins, std::make_error_code(std::errc::is_a_directory)}};
#ifndef _WIN32
    const TempFolder folder;
    const fs::path fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    cases.push_back({fifo, hw::FileError::NotRegularFile});
    cases.push_back({"/dev/zero", hw::FileError::NotRegularFile});
#endif
    for (const auto &[path, error] : cases) {
        hw::ESRead reader;
        reader.NPCNames = {"old"};
        const auto outcome = reader.ReadNPCNames(path);
        EXPECT_EQ(outcome.fault, hw::ScanFault::CannotOpen) << path;
        EXPECT_EQ(outcome.error, error) << path;
        EXPECT_EQ(reader.NPCNames, std::vector<std::string> {""});
    }
#ifndef _WIN32
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::error_code error;
    EXPECT_EQ(hw::FileSource::fromDescriptor(ends[0], error), nullptr);
    EXPECT_EQ(error, hw::FileError::NotRegularFile);
    ::close(ends[0]), ::close(ends[1]);
#endif
}

#ifndef _WIN32
// Mapped pages past the new end raise SIGBUS and a last page cut short reads
// as zeros: neither ends the program or passes for a whole read.
TEST(ReadNPCNamesFromAFile, noticesAFileCutShorterWhileItIsRead)
{
    const TempFolder folder;
    std::string plugin = headerRecord();
    std::vector<std::string> ids;
    std::vector<std::size_t> ends; // of each NPC record
    for (int n = 0; n < 300; ++n) {
        ids.push_back("npc " + std::to_string(n));
        plugin += npcRecord(ids.back(), std::string(100, 'f'));
        ends.push_back(plugin.size());
    }
    for (const std::size_t cutTo : {plugin.size() / 2, plugin.size() - 10}) {
        SCOPED_TRACE(cutTo);
        const auto file = folder.write("cut.esp", plugin);
        std::error_code error;
        // Windows of one page, so that the reader maps past the cut anew.
        const auto source = hw::FileSource::open(file, error, 1);
        ASSERT_NE(source, nullptr) << error.message();
        fs::resize_file(file, cutTo);
        hw::ESRead reader;
        const auto outcome = reader.ReadNPCNames(*source);
        EXPECT_EQ(outcome.fault, ScanFault::ChangedWhileRead);
        const auto whole =
            std::count_if(ends.begin(), ends.end(), [&](auto end) { return end <= cutTo; });
        EXPECT_GE(outcome.idCount, static_cast<std::size_t>(whole));
        ASSERT_LE(outcome.idCount, reader.NPCNames.size());
        EXPECT_TRUE(std::equal(reader.NPCNames.begin(),
                               reader.NPCNames.begin() + static_cast<long>(outcome.idCount),
                               ids.begin()));
    }
}

// The reader's SIGBUS handler takes only faults in its own windows.
TEST(ReadNPCNamesFromAFileDeathTest, leavesOtherBusErrorsFatal)
{
    const TempFolder folder;
    const auto file = folder.write("other.bin", std::string(3 * 4096, 'x'));
    hw::ESRead reader;
    reader.ReadNPCNames(kPlugins / "firemoth.esm"); // puts the handler in place
    const auto touchPastTheEnd = [&] {
        const int fd = ::open(file.c_str(), O_RDWR);
        auto *mapped =
            static_cast<volatile char *>(::mmap(nullptr, 3 * 4096, PROT_READ, MAP_SHARED, fd, 0));
        ::ftruncate(fd, 0);
        std::exit(mapped[2 * 4096] == 'x' ? 0 : 0);
    };
    // Ended by the signal or by a sanitizer's handler: anything but carrying on.
    const auto stopped = [](int status) { return !WIFEXITED(status) || WEXITSTATUS(status) != 0; };
    EXPECT_EXIT(touchPastTheEnd(), stopped, "");
}
#endif

} // namespace
