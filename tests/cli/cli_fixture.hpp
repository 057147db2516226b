#pragma once

// Runs the built command-line program as a user would: arguments, standard
// input, standard output and error, exit status.
#include "data/timing_notes.hpp"
#include "generator/schedule_script.hpp"
#include "plugin_writer.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace hw::test {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

struct Outcome
{
    int status = -1;
    std::string out, err;
};

#ifdef _WIN32
// One argument as the C runtime splits a command line: in double quotes, a
// quote inside escaped, and the backslashes before a quote doubled.
inline std::wstring quoteArg(std::string_view arg)
{
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : hw::pathFromUtf8(arg).wstring()) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        quoted += c;
        backslashes = 0;
    }
    return quoted.append(2 * backslashes, L'\\') + L'"';
}

inline HANDLE openInherited(const std::string &path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit {sizeof inherit, nullptr, TRUE};
    return CreateFileW(hw::pathFromUtf8(path).wstring().c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts the program itself, not through cmd.exe, whose quoting rules bend
// arguments that hold control characters.
inline int runProgram(const Args &args, const std::string &in, const std::string &out,
                      const std::string &err, const std::string & /*shell: POSIX only*/)
{
    const std::string program = utf8Path(fs::path(HOURWRIGHT_CLI).make_preferred());
    std::wstring line = quoteArg(program);
    for (const auto &arg : args)
        line += L' ' + quoteArg(arg);
    const HANDLE files[] = {openInherited(in, GENERIC_READ, OPEN_EXISTING),
                            openInherited(out, GENERIC_WRITE, CREATE_ALWAYS),
                            openInherited(err, GENERIC_WRITE, CREATE_ALWAYS)};
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = files[0];
    startup.hStdOutput = files[1];
    startup.hStdError = files[2];
    PROCESS_INFORMATION process {};
    DWORD status = static_cast<DWORD>(-1);
    // Wine, busy with other tests, now and then fails to start a process at
    // all; that says nothing of the program, so the start is tried again.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = CreateProcessW(hw::pathFromUtf8(program).wstring().c_str(), line.data(), nullptr,
                                 nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
        if (!started) {
            std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
            Sleep(200);
        }
    }
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (const HANDLE file : files)
        CloseHandle(file);
    return static_cast<int>(status);
}
#else
// Double quotes with \" inside read back the same through sh; the tests pass
// no $ or `.
inline std::string quoteArg(std::string_view arg)
{
    std::string quoted = "\"";
    for (const char c : arg)
        quoted.append(c == '"' ? "\\\"" : std::string(1, c));
    return quoted + "\"";
}

// `shell` runs in the program's shell before it: "ulimit -v N;" limits its
// memory, "cat |" hands it its input through a pipe.
inline int runProgram(const Args &args, const std::string &in, const std::string &out,
                      const std::string &err, const std::string &shell)
{
    std::string command = "(" + shell + " " + quoteArg(HOURWRIGHT_CLI);
    for (const auto &arg : args)
        command += " " + quoteArg(arg);
    command += ") < " + quoteArg(in) + " > " + quoteArg(out) + " 2> " + quoteArg(err);
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}
#endif

// A message of the program about `command`, as it begins a line of standard error.
inline std::string said(std::string_view command, std::string_view text)
{
    return "hourwright-cli " + std::string(command) + ": " + std::string(text);
}

// One run: arguments, standard input, exit status, standard output (its start
// when it ends in "*") and the start of standard error (empty when this is).
struct Row
{
    Args args;
    std::string input;
    int status;
    std::string out;
    std::string err;
};

// Each test works in a folder of its own whose name is not ASCII, so every
// file name the rows pass is not either.
class Cli : public testing::Test
{
protected:
    std::string path(std::string_view name) const { return utf8Path(m_dir / name); }
    std::string write(std::string_view name, std::string_view bytes) const
    {
        return utf8Path(m_dir.write(name, bytes));
    }

    // Runs the program with `args`, `input` on standard input and `outputTo`
    // (a file of the folder unless given) as standard output.
    Outcome run(const Args &args, std::string_view input = {}, std::string outputTo = {},
                const std::string &shell = {}) const
    {
        const std::string in = write("stdin", input);
        const std::string out = outputTo.empty() ? path("stdout") : outputTo;
        Outcome result;
        result.status = runProgram(args, in, out, path("stderr"), shell);
        result.out = fileBytes(m_dir / "stdout");
        result.err = fileBytes(m_dir / "stderr");
        std::erase(result.err, '\r'); // messages are text: CR LF on Windows
        return result;
    }

    void check(std::initializer_list<Row> rows, const std::string &shell = {}) const
    {
        for (const Row &row : rows) {
            const Outcome r = run(row.args, row.input, {}, shell);
            std::string trace = shell;
            for (const auto &arg : row.args)
                trace += " " + arg.substr(0, 40);
            EXPECT_EQ(r.status, row.status) << trace << "\n" << r.err;
            if (row.out.ends_with('*'))
                EXPECT_TRUE(r.out.starts_with(row.out.substr(0, row.out.size() - 1))) << trace;
            else
                EXPECT_EQ(r.out, row.out) << trace;
            const auto errStart =
                r.err.substr(0, row.err.empty() ? std::string::npos : row.err.size());
            EXPECT_EQ(errStart, row.err) << trace;
        }
    }

    const hw::test::TempFolder m_dir;
};

inline std::string script(std::string_view id, const Args &entries,
                          hw::ScheduleSwitches switches = {})
{
    return hw::generateSchedule(id, entries, switches).text;
}

// The notes on when the commands run, which follow every script on standard error.
inline std::string notesOn(std::string_view id, const Args &entries,
                           hw::ScheduleSwitches switches = {})
{
    std::string text;
    for (const auto &note : hw::timingNotes(id, entries, switches))
        text += said("schedule", "note: " + hw::noteLine(note, entries)) + "\n";
    return text;
}

// A run that succeeds and prints the script of `entries` for `id`, then its notes.
inline Row scripted(Args args, std::string input, std::string_view id, const Args &entries,
                    hw::ScheduleSwitches switches = {})
{
    return {std::move(args), std::move(input), 0, script(id, entries, switches),
            notesOn(id, entries, switches)};
}

inline std::string lines(const Args &entries)
{
    std::string text;
    for (const auto &entry : entries)
        text += entry + "\n";
    return text;
}

} // namespace hw::test
