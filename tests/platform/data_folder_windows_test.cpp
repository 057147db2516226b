// The look-up against the real registry. The keys are written with reg.exe
// into the 32-bit view, where the 32-bit game's installer writes them, and
// removed again after each case. Under Wine (as in CI) the prefix is the
// build's own; on Windows the cases need the right to write to
// HKEY_LOCAL_MACHINE and are skipped without it.
#include "platform/data_folder.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const std::string kBethesda = R"(HKLM\SOFTWARE\Bethesda Softworks\Morrowind)";
const std::string kSteam =
    R"(HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Steam App 22320)";
const std::string kGog = R"(HKLM\SOFTWARE\GOG.com\Games\1435828767)";

// Quotes one argument for the C runtime's command-line rules: backslashes are
// literal except before a quote, so those before the closing quote double.
std::string quoted(const std::string &text)
{
    std::string out = "\"" + text;
    for (auto it = text.rbegin(); it != text.rend() && *it == '\\'; ++it)
        out += '\\';
    return out + "\"";
}

// Runs reg.exe on `key` in the registry view `view`; true when it succeeded.
bool reg(const char *command, const std::string &key, const std::string &more = "",
         const char *view = "32")
{
    const std::string line = std::string("reg ") + command + " " + quoted(key) + more +
        " /reg:" + view + " /f >NUL 2>NUL";
    return std::system(line.c_str()) == 0;
}

void setValue(const std::string &key, const std::string &name, const std::string &data,
              const char *view = "32")
{
    ASSERT_TRUE(reg("add", key, " /v " + quoted(name) + " /t REG_SZ /d " + quoted(data), view));
}

void removeKeys()
{
    for (const auto &key : {kBethesda, kSteam, kGog})
        reg("delete", key);
}

std::wstring programFolder()
{
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, name, MAX_PATH);
    return std::filesystem::path(name).parent_path().wstring();
}

class RegistryDataFolder : public testing::Test
{
protected:
    void SetUp() override
    {
        removeKeys();
        if (!reg("add", kBethesda)) {
            const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
            if (ntdll && GetProcAddress(ntdll, "wine_get_version"))
                FAIL() << "reg.exe cannot write the Wine prefix's registry";
            GTEST_SKIP() << "no right to write to HKEY_LOCAL_MACHINE";
        }
        reg("delete", kBethesda);
    }
    void TearDown() override { removeKeys(); }
};

TEST_F(RegistryDataFolder, givesTheDataFilesFolderOrTheProgramsFolder)
{
    struct Case
    {
        const char *name;
        std::string key; // empty: no key at all
        const char *value; // nullptr: the key without the value
        std::string data;
        std::wstring expected; // empty: the program's own folder
    };
    const std::string fits(1023, 'y'); // with its NUL, exactly the buffer
    const Case cases[] = {
        {"normal", kBethesda, "Installed Path", R"(C:\Games\Game)", LR"(C:\Games\Game\Data Files)"},
        {"trailingBackslash", kBethesda, "Installed Path", R"(C:\Games\Game\)",
         LR"(C:\Games\Game\\Data Files)"},
        {"emptyValue", kBethesda, "Installed Path", "", LR"(\Data Files)"},
        {"fillsTheBuffer", kBethesda, "Installed Path", fits,
         std::wstring(fits.begin(), fits.end()) + LR"(\Data Files)"},
        {"overLong", kBethesda, "Installed Path", std::string(1100, 'x'), L""},
        {"noValue", kBethesda, nullptr, "", L""},
        {"noKey", "", nullptr, "", L""},
        {"steam", kSteam, "InstallLocation", R"(D:\Steam\Morrowind)",
         LR"(D:\Steam\Morrowind\Data Files)"},
        {"gog", kGog, "path", R"(E:\GOG Games\Morrowind)", LR"(E:\GOG Games\Morrowind\Data Files)"},
    };
    for (const auto &c : cases) {
        removeKeys();
        if (c.value) {
            setValue(c.key, c.value, c.data);
        } else if (!c.key.empty()) {
            EXPECT_TRUE(reg("add", c.key)) << c.name;
        }
        EXPECT_EQ(hw::findDataFolder().wstring(), c.expected.empty() ? programFolder() : c.expected)
            << c.name;
    }
}

TEST_F(RegistryDataFolder, prefersTheGamesOwnKeyToSteamAndGog)
{
    setValue(kGog, "path", R"(E:\GOG)");
    setValue(kSteam, "InstallLocation", R"(D:\Steam)");
    EXPECT_EQ(hw::findDataFolder().wstring(), LR"(D:\Steam\Data Files)");
    setValue(kBethesda, "Installed Path", R"(C:\Morrowind)");
    EXPECT_EQ(hw::findDataFolder().wstring(), LR"(C:\Morrowind\Data Files)");
}

TEST_F(RegistryDataFolder, readsThe32BitViewOnly)
{
    setValue(kBethesda, "Installed Path", R"(C:\Native)", "64");
    EXPECT_EQ(hw::findDataFolder().wstring(), programFolder());
    reg("delete", kBethesda, "", "64");
}

} // namespace
