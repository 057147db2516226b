#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// What the functions of a script answer while it runs.
struct ScriptWorld
{
    double gameHour = 0; ///< GameHour, 0 to below 24
    bool menuMode = false; ///< MenuMode: the player has a menu open
    double health = 100; ///< GetHealth of the NPC the script names
    bool seenByPlayer = false; ///< GetLOS Player
};

/// A script in the part of the game's script language that the schedule
/// generators write: Begin and End; Short, Long and Float variables; If,
/// ElseIf, Else and EndIf over one comparison (==, !=, <, <=, >, >=) or a
/// lone value; Set ... to; Return; StopScript; the functions GameHour,
/// MenuMode, GetHealth and GetLOS Player; comments. Every other line is a
/// command of the game ("id"-> AITravel 1, 2, 3), which the interpreter does
/// not carry out but counts.
///
/// The script is read once; each call of runFrame then runs it from its top,
/// as the game does once a frame, and the variables keep their values
/// between frames.
class ScriptInterpreter
{
public:
    /// Reads `text` (lines end in LF or CR LF). What cannot be read is told by
    /// problem(), and such a script runs no frame.
    explicit ScriptInterpreter(std::string_view text);
    ~ScriptInterpreter();
    ScriptInterpreter(ScriptInterpreter &&) noexcept;
    ScriptInterpreter &operator=(ScriptInterpreter &&) noexcept;

    /// Why the script cannot be run ("line 12: ..."); empty when it can.
    const std::string &problem() const { return m_problem; }

    /// How many command lines the script holds, numbered from 0 in their order.
    std::size_t commandCount() const { return m_commandCount; }

    /// What one frame did.
    struct Frame
    {
        std::vector<std::size_t> commands; ///< the commands run, by number, in the order run
        bool stopped = false; ///< StopScript was reached
    };

    /// Runs the script once from its top in `world`, up to Return or End.
    /// Every jump goes forward, so a frame ends after at most one step a line.
    Frame runFrame(const ScriptWorld &world);

    // A line read, a value it reads, an If's or ElseIf's comparison and a
    // Set: kept in the source.
    struct Statement;
    struct Operand;
    struct Condition;
    struct Assignment;

private:
    void read(std::string_view text);
    double value(const Operand &operand, const ScriptWorld &world) const;
    bool holds(const Statement &statement, const ScriptWorld &world) const;
    std::size_t enterBranch(std::size_t at, const ScriptWorld &world) const;

    std::vector<Statement> m_statements; ///< one a line
    std::vector<Condition> m_conditions;
    std::vector<Assignment> m_assignments;
    std::size_t m_commandCount = 0;
    std::vector<double> m_variables;
    std::vector<bool> m_whole; ///< the variable is a Short or Long
    std::string m_problem;
};

} // namespace hw
