// The names of a BSA archive built in memory, whole and damaged.
#include "bsa_writer.hpp"
#include "data/bsa_names.hpp"

#include <gtest/gtest.h>

namespace {

using hw::BsaFault;
using hw::test::bsaArchive;
using Names = std::vector<std::string>;

const Names kNames = {"meshes\\a.nif", "sound\\Vo\\caf\xE9.mp3", "textures\\b.dds"};

// `bytes` with the 32-bit value at `offset` changed.
std::string with(std::string bytes, std::size_t offset, std::uint32_t value)
{
    return bytes.replace(offset, 4, hw::test::le32(value));
}

TEST(BsaNames, readsTheNameTableOrSaysWhereItIsDamaged)
{
    const std::string good = bsaArchive(kNames);
    const std::size_t names = 12 + 8 * 3; // where the names' offsets begin
    std::uint32_t nameBytes = 0; // the size of the name table: a name may not start at its end
    for (const auto &name : kNames)
        nameBytes += static_cast<std::uint32_t>(name.size() + 1);
    // name, bytes, fault, its offset, names read
    const std::tuple<const char *, std::string, BsaFault, std::uint64_t, std::size_t> cases[] = {
        {"whole", good, BsaFault::None, 0, 3},
        {"empty", bsaArchive({}), BsaFault::None, 0, 0},
        {"shortHeader", good.substr(0, 11), BsaFault::TooSmall, 0, 0},
        {"laterGame", with(good, 0, 0x67), BsaFault::NotMorrowind, 0, 0},
        {"tableLargerThanFile", with(good, 4, 0xFFFFFFF0), BsaFault::TableTooLarge, 4, 0},
        {"tooManyFiles", with(good, 8, 0x40000000), BsaFault::TableTooLarge, 4, 0},
        {"tableSmallerThanRecords", with(good, 4, 35), BsaFault::TableTooLarge, 4, 0},
        {"cutBeforeTheData", good.substr(0, good.size() - 1), BsaFault::DataOutside, 12 + 16, 2},
        {"nameOutsideTable", with(good, names + 4, 1000), BsaFault::NameOutside, names + 4, 1},
        {"nameAtTableEnd", with(good, names + 4, nameBytes), BsaFault::NameOutside, names + 4, 1},
        {"lastNameWithoutNul", std::string(good).replace(good.find(".dds") + 4, 1, "x"),
         BsaFault::NameUnterminated, names + 8, 2},
        {"dataPastTheEnd", with(good, 12 + 4, 0xFFFFFF00), BsaFault::DataOutside, 12, 0},
    };
    for (const auto &[name, bytes, fault, offset, namesRead] : cases) {
        hw::MemorySource source(bytes);
        const auto result = hw::readBsaNames(source);
        EXPECT_EQ(std::tuple(result.fault, result.offset, result.names.size(),
                             hw::bsaMessage(result).empty()),
                  std::tuple(fault, offset, namesRead, fault == BsaFault::None))
            << name;
    }
    hw::MemorySource source(good);
    EXPECT_EQ(hw::readBsaNames(source).names,
              (Names {"meshes\\a.nif", "sound\\Vo\\caf\xC3\xA9.mp3", "textures\\b.dds"}));
    hw::MemorySource damaged(std::get<1>(cases[8]));
    EXPECT_EQ(hw::bsaMessage(hw::readBsaNames(damaged)),
              "is damaged: a file's name lies outside its name table (at offset 0x28)");
}

} // namespace
