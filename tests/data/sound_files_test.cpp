// The sound files that Say can name, from Sound folders and archives.
#include "bsa_writer.hpp"
#include "data/animation_groups.hpp"
#include "data/sound_files.hpp"
#include "model/caseless.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

TEST(SoundFiles, listsSoundFoldersAndArchivesAsSayNamesThem)
{
    const hw::test::TempFolder root;
    // The later folder's spelling of Hit Heavy 1.wav wins.
    for (const char *file :
         {"Data Files/Sound/Vo/Misc/Hit Heavy 1.wav", "Data Files/Sound/Fx/readme.txt",
          "Data Files/Sound/Fx/Boom.MP3", "Data Files/Music/Explore/a.mp3",
          "Mod/sound/Vo/Données/Salut.mp3", "Mod/sound/Vo/misc/HIT HEAVY 1.WAV"})
        root.write(file, "");
    root.write("Data Files/Morrowind.bsa",
               hw::test::bsaArchive({"sound\\vo\\misc\\hit heavy 1.wav", "sound\\Cr\\rat.wav",
                                     "sound/fx/new.mp3", "music\\x.mp3", "sound\\fx\\x.nif",
                                     "soundfx\\y.wav", "Sound\\caf\xE9.wav"}));
    root.write("Data Files/Broken.bsa", "BSA\0");
    hw::LoadOrder order;
    order.dataFolders = {root / "Data Files", root / "Mod"};
    order.archives = {root / "Data Files/Morrowind.bsa", root / "Data Files/Broken.bsa"};
    const auto sounds = hw::listSoundFiles(order);
    EXPECT_EQ(sounds.files,
              (Lines {"caf\xC3\xA9.wav", "Cr\\rat.wav", "Fx\\Boom.MP3", "fx\\new.mp3",
                      "Vo\\Donn\xC3\xA9"
                      "es\\Salut.mp3",
                      "Vo\\misc\\HIT HEAVY 1.WAV"}));
    ASSERT_EQ(sounds.problems.size(), 1u);
    EXPECT_EQ(sounds.problems[0].file, root / "Data Files/Broken.bsa");
    EXPECT_EQ(sounds.problems[0].message,
              "is too small to be an archive: it has no 12-byte header");
}

// Completion finds a group by its name, whatever its letter case.
TEST(AnimationGroups, eachNameOnce)
{
    Lines names(hw::animationGroupNames().begin(), hw::animationGroupNames().end());
    std::sort(names.begin(), names.end(), hw::caselessLess);
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end(), hw::caselessEqual), names.end());
}

} // namespace
