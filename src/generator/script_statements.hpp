#pragma once

// The parts of a script that ScriptInterpreter keeps, and the reading of a
// script's text into them; for the interpreter's own files only.
#include "generator/script_interpreter.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hw {
namespace script {

enum class Kind {
    Nothing,
    Declare,
    If,
    ElseIf,
    Else,
    EndIf,
    Set,
    Return,
    StopScript,
    Command,
    End
};
enum class Compare { None, Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

} // namespace script

struct ScriptInterpreter::Operand
{
    enum class Source { Number, Variable, GameHour, MenuMode, Health, SeenByPlayer };
    Source source = Source::Number;
    double number = 0;
    std::size_t variable = 0;
};

// A statement is kept small, as a script holds a line for each entry of a
// list that may be long: its comparison or its Set lies apart.
struct ScriptInterpreter::Statement
{
    script::Kind kind = script::Kind::Nothing;
    std::uint32_t item = 0; ///< If, ElseIf: the condition; Set: the assignment; a command's number
    std::uint32_t next = 0; ///< If, ElseIf, Else: the next branch of the block, or its EndIf
    std::uint32_t end = 0; ///< If, ElseIf, Else: the block's EndIf
};

struct ScriptInterpreter::Condition
{
    Operand left, right;
    script::Compare compare = script::Compare::None;
};

struct ScriptInterpreter::Assignment
{
    std::size_t variable = 0;
    Operand value;
};

namespace script {

/// A script's text read: one statement a line, or the problem that stopped
/// the reading.
struct Read
{
    std::vector<ScriptInterpreter::Statement> statements;
    std::vector<ScriptInterpreter::Condition> conditions;
    std::vector<ScriptInterpreter::Assignment> assignments;
    std::size_t commandCount = 0;
    std::vector<std::string> names; ///< the declared variables, by number
    std::vector<bool> whole; ///< the variable is a Short or a Long
    std::string problem; ///< "line 12: ...", empty when read
};

/// Reads `text` (lines end in LF or CR LF).
Read readScript(std::string_view text);

} // namespace script
} // namespace hw
