#include "generator/script_interpreter.hpp"

#include "generator/script_statements.hpp"

#include <cmath>

namespace hw {

using script::Compare;
using script::Kind;

ScriptInterpreter::ScriptInterpreter(std::string_view text)
{
    read(text);
}

ScriptInterpreter::~ScriptInterpreter() = default;
ScriptInterpreter::ScriptInterpreter(ScriptInterpreter &&) noexcept = default;
ScriptInterpreter &ScriptInterpreter::operator=(ScriptInterpreter &&) noexcept = default;

void ScriptInterpreter::read(std::string_view text)
{
    script::Read read = script::readScript(text);
    m_problem = std::move(read.problem);
    if (!m_problem.empty())
        return;
    m_statements = std::move(read.statements);
    m_conditions = std::move(read.conditions);
    m_assignments = std::move(read.assignments);
    m_commandCount = read.commandCount;
    m_variables.assign(read.names.size(), 0.0);
    m_whole = std::move(read.whole);
}

double ScriptInterpreter::value(const Operand &operand, const ScriptWorld &world) const
{
    switch (operand.source) {
    case Operand::Source::Number:
        return operand.number;
    case Operand::Source::Variable:
        return m_variables[operand.variable];
    case Operand::Source::GameHour:
        return world.gameHour;
    case Operand::Source::MenuMode:
        return world.menuMode ? 1 : 0;
    case Operand::Source::Health:
        return world.health;
    case Operand::Source::SeenByPlayer:
        return world.seenByPlayer ? 1 : 0;
    }
    return 0;
}

bool ScriptInterpreter::holds(const Statement &s, const ScriptWorld &world) const
{
    const Condition &c = m_conditions[s.item];
    const double left = value(c.left, world);
    const double right = value(c.right, world);
    switch (c.compare) {
    case Compare::None:
        return left != 0;
    case Compare::Equal:
        return left == right;
    case Compare::NotEqual:
        return left != right;
    case Compare::Less:
        return left < right;
    case Compare::LessEqual:
        return left <= right;
    case Compare::Greater:
        return left > right;
    case Compare::GreaterEqual:
        return left >= right;
    }
    return false;
}

// From the branch at `at` on, the first one whose condition holds (an Else
// always does): the line after it; after the EndIf when none does.
std::size_t ScriptInterpreter::enterBranch(std::size_t at, const ScriptWorld &world) const
{
    while (m_statements[at].kind == Kind::ElseIf && !holds(m_statements[at], world))
        at = m_statements[at].next;
    return at + 1;
}

ScriptInterpreter::Frame ScriptInterpreter::runFrame(const ScriptWorld &world)
{
    Frame frame;
    for (std::size_t at = 0; at < m_statements.size();) {
        const Statement &s = m_statements[at];
        switch (s.kind) {
        case Kind::If:
            at = holds(s, world) ? at + 1 : enterBranch(s.next, world);
            break;
        case Kind::ElseIf:
        case Kind::Else:
            // Reached from the end of the branch before it, which ran.
            at = s.end + 1;
            break;
        case Kind::Set: {
            const Assignment &a = m_assignments[s.item];
            const double v = value(a.value, world);
            // A Short or Long keeps the whole part of a value only, as the
            // engine's conversion from a float does: 6.75 o'clock is hour 6.
            m_variables[a.variable] = m_whole[a.variable] ? std::trunc(v) : v;
            ++at;
            break;
        }
        case Kind::Return:
        case Kind::End:
            return frame;
        case Kind::StopScript:
            frame.stopped = true;
            ++at;
            break;
        case Kind::Command:
            frame.commands.push_back(s.item);
            ++at;
            break;
        default:
            ++at;
        }
    }
    return frame;
}

} // namespace hw
