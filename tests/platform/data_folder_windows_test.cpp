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

constexpr const char *kBethesda = R"(HKLM\SOFTWARE\Bethesda Softworks\Morrowind)";
constexpr const char *kSteam =
    R"(HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Steam App 22320)";
constexpr const char *kGog = R"(HKLM\SOFTWARE\GOG.com\Games\1435828767)";

bool underWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Quotes one argument for the C runtime's command-line rules: backslashes are
// literal except before a quote, so those before the closing quote double.
std::string quoted(const std::string &text)
{
    std::string out = "\"" + text;
    for (auto it = text.rbegin(); it != text.rend() && *it == '\\'; ++it)
        out += '\\';
    return out + "\"";
}

// Runs reg.exe; true when it succeeded.
bool reg(const std::string &arguments)
{
    const std::string command = "reg " + arguments + " /reg:32 /f >NUL 2>NUL";
    return std::system(command.c_str()) == 0;
}

std::filesystem::path programFolder()
{
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, name, MAX_PATH);
    return std::filesystem::path(name).parent_path();
}

class RegistryDataFolder : public testing::Test
{
protected:
    void SetUp() override
    {
        removeKeys();
        if (!reg(std::string("add ") + quoted(kBethesda))) {
            if (underWine())
                FAIL() << "reg.exe cannot write the Wine prefix's registry";
            GTEST_SKIP() << "no right to write to HKEY_LOCAL_MACHINE";
        }
        reg(std::string("delete ") + quoted(kBethesda));
    }
    void TearDown() override { removeKeys(); }

    static void removeKeys()
    {
        for (const char *key : {kBethesda, kSteam, kGog})
            reg(std::string("delete ") + quoted(key));
    }

    static void setValue(const char *key, const char *name, const std::string &data)
    {
        ASSERT_TRUE(reg(std::string("add ") + quoted(key) + " /v " + quoted(name) +
                        " /t REG_SZ /d " + quoted(data)));
    }
};

struct Case
{
    const char *name;
    const char *key; // nullptr: no key at all
    const char *value; // nullptr: the key without the value
    std::string data;
    std::string expected; // empty: the program's own folder
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

class InstallPath : public RegistryDataFolder, public testing::WithParamInterface<Case>
{
};

TEST_P(InstallPath, givesTheDataFilesFolderOrTheProgramsFolder)
{
    const Case &c = GetParam();
    if (c.key && c.value) {
        setValue(c.key, c.value, c.data);
    } else if (c.key) {
        ASSERT_TRUE(reg(std::string("add ") + quoted(c.key)));
    }
    const std::filesystem::path expected =
        c.expected.empty() ? programFolder() : std::filesystem::path(c.expected);
    EXPECT_EQ(hw::findDataFolder().wstring(), expected.wstring());
}

const std::string kLong(1100, 'x');
const std::string kFits(1023, 'y'); // with its NUL, exactly the buffer

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallPath,
    testing::Values(Case {"normal", kBethesda, "Installed Path", R"(C:\Games\Game)",
                          R"(C:\Games\Game\Data Files)"},
                    Case {"trailingBackslash", kBethesda, "Installed Path", R"(C:\Games\Game\)",
                          R"(C:\Games\Game\\Data Files)"},
                    Case {"emptyValue", kBethesda, "Installed Path", "", R"(\Data Files)"},
                    Case {"fillsTheBuffer", kBethesda, "Installed Path", kFits,
                          kFits + R"(\Data Files)"},
                    Case {"overLong", kBethesda, "Installed Path", kLong, ""},
                    Case {"noValue", kBethesda, nullptr, "", ""},
                    Case {"noKey", nullptr, nullptr, "", ""},
                    Case {"steam", kSteam, "InstallLocation", R"(D:\Steam\Morrowind)",
                          R"(D:\Steam\Morrowind\Data Files)"},
                    Case {"gog", kGog, "path", R"(E:\GOG Games\Morrowind)",
                          R"(E:\GOG Games\Morrowind\Data Files)"}),
    [](const auto &p) { return std::string(p.param.name); });

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
    const std::string add64 = std::string("reg add ") + quoted(kBethesda) +
        R"( /v "Installed Path" /t REG_SZ /d "C:\Native" /reg:64 /f >NUL 2>NUL)";
    ASSERT_EQ(std::system(add64.c_str()), 0);
    EXPECT_EQ(hw::findDataFolder().wstring(), programFolder().wstring());
    const std::string delete64 =
        std::string("reg delete ") + quoted(kBethesda) + " /reg:64 /f >NUL 2>NUL";
    std::system(delete64.c_str());
}

} // namespace
