// The look-up against the real registry: keys written with reg.exe into the 32-bit
// view, as the game's installer does; skipped on Windows without the right to.
#include "platform/data_folder.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kBethesda = R"(HKLM\SOFTWARE\Bethesda Softworks\Morrowind)";
const std::string kSteam =
    R"(HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Steam App 22320)";
const std::string kGog = R"(HKLM\SOFTWARE\GOG.com\Games\1435828767)";

// One argument quoted for the C runtime: backslashes before the closing quote double.
std::string quoted(const std::string &text)
{
    std::string out = "\"" + text;
    for (auto it = text.rbegin(); it != text.rend() && *it == '\\'; ++it)
        out += '\\';
    return out + "\"";
}

// Runs reg.exe with `arguments` in the registry view `view`; true when it succeeded.
bool reg(const std::string &arguments, const char *view = "32")
{
    return std::system(("reg " + arguments + " /reg:" + view + " /f >NUL 2>NUL").c_str()) == 0;
}

void removeKeys()
{
    for (const auto &key : {kBethesda, kSteam, kGog})
        reg("delete " + quoted(key));
    reg("delete " + quoted(kBethesda), "64");
}

std::wstring programFolder()
{
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, name, MAX_PATH);
    return std::filesystem::path(name).parent_path().wstring();
}

TEST(RegistryDataFolder, givesTheDataFilesFolderOrTheProgramsFolder)
{
    removeKeys();
    if (!reg("add " + quoted(kBethesda))) {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        if (ntdll && GetProcAddress(ntdll, "wine_get_version"))
            FAIL() << "reg.exe cannot write the Wine prefix's registry";
        GTEST_SKIP() << "no right to write to HKEY_LOCAL_MACHINE";
    }
    struct Value
    {
        std::string key;
        const char *name; // nullptr: the key without a value
        std::string data;
        const char *view = "32";
    };
    const auto bethesda = [](std::string data, const char *view = "32") {
        return Value {kBethesda, "Installed Path", std::move(data), view};
    };
    const std::string fits(1023, 'y'); // with its NUL, exactly the buffer
    const Value steam = {kSteam, "InstallLocation", R"(D:\Steam)"};
    const Value gog = {kGog, "path", R"(E:\GOG Games\Morrowind)"};
    // name, values, the data folder (empty: the program's own folder)
    const std::tuple<const char *, std::vector<Value>, std::wstring> cases[] = {
        {"normal", {bethesda(R"(C:\Game)")}, LR"(C:\Game\Data Files)"},
        {"trailingBackslash", {bethesda(R"(C:\Game\)")}, LR"(C:\Game\\Data Files)"},
        {"emptyValue", {bethesda("")}, LR"(\Data Files)"},
        {"fillsTheBuffer",
         {bethesda(fits)},
         std::wstring(fits.begin(), fits.end()) + LR"(\Data Files)"},
        {"overLong", {bethesda(std::string(1100, 'x'))}, L""},
        {"noValue", {{kBethesda, nullptr, ""}, steam}, L""},
        {"noKey", {}, L""},
        {"only64BitView", {bethesda(R"(C:\Native)", "64")}, L""},
        {"steamBeforeGog", {gog, steam}, LR"(D:\Steam\Data Files)"},
        {"gog", {gog}, LR"(E:\GOG Games\Morrowind\Data Files)"},
        {"bethesdaFirst", {gog, steam, bethesda(R"(C:\Game)")}, LR"(C:\Game\Data Files)"},
    };
    for (const auto &[name, values, expected] : cases) {
        removeKeys();
        for (const auto &v : values) {
            const std::string value =
                v.name ? " /v " + quoted(v.name) + " /t REG_SZ /d " + quoted(v.data) : "";
            EXPECT_TRUE(reg("add " + quoted(v.key) + value, v.view)) << name;
        }
        EXPECT_EQ(hw::findDataFolder().wstring(), expected.empty() ? programFolder() : expected)
            << name;
    }
    removeKeys();
}

} // namespace
