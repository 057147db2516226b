#include "generator/script_statements.hpp"

#include <charconv>
#include <optional>
#include <utility>

namespace hw::script {
namespace {

bool isNameByte(char c)
{
    // Bytes from 0x80 on are the letters of other scripts than Latin.
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
        static_cast<unsigned char>(c) >= 0x80;
}

// The script language ignores letter case in keywords, functions and names.
bool sameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Reads the pieces of one line from left to right.
class Cursor
{
public:
    explicit Cursor(std::string_view text)
        : m_text(text)
    { }

    // Nothing but blanks or a comment is left.
    bool atEnd()
    {
        skipBlanks();
        return m_text.empty() || m_text.front() == ';';
    }

    bool startsWith(char c)
    {
        skipBlanks();
        return !m_text.empty() && m_text.front() == c;
    }

    bool take(std::string_view symbol)
    {
        skipBlanks();
        if (!m_text.starts_with(symbol))
            return false;
        m_text.remove_prefix(symbol.size());
        return true;
    }

    std::string_view word()
    {
        skipBlanks();
        std::size_t n = 0;
        while (n < m_text.size() && isNameByte(m_text[n]))
            ++n;
        const auto taken = m_text.substr(0, n);
        m_text.remove_prefix(n);
        return taken;
    }

    std::optional<std::string_view> quoted()
    {
        if (!startsWith('"'))
            return std::nullopt;
        const std::size_t close = m_text.find('"', 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        const auto taken = m_text.substr(1, close - 1);
        m_text.remove_prefix(close + 1);
        return taken;
    }

    std::optional<double> number()
    {
        skipBlanks();
        double value = 0;
        const auto [end, error] = std::from_chars(m_text.data(), m_text.data() + m_text.size(),
                                                  value, std::chars_format::fixed);
        if (error != std::errc() || (end != m_text.data() + m_text.size() && isNameByte(*end)))
            return std::nullopt;
        m_text.remove_prefix(static_cast<std::size_t>(end - m_text.data()));
        return value;
    }

    std::string_view rest() const { return m_text; }

private:
    void skipBlanks()
    {
        while (!m_text.empty() && (m_text.front() == ' ' || m_text.front() == '\t'))
            m_text.remove_prefix(1);
    }

    std::string_view m_text;
};

constexpr std::pair<std::string_view, Kind> kKeywords[] = {
    {"begin", Kind::Nothing}, {"end", Kind::End},       {"short", Kind::Declare},
    {"long", Kind::Declare},  {"float", Kind::Declare}, {"if", Kind::If},
    {"elseif", Kind::ElseIf}, {"else", Kind::Else},     {"endif", Kind::EndIf},
    {"set", Kind::Set},       {"return", Kind::Return}, {"stopscript", Kind::StopScript},
};

constexpr std::pair<std::string_view, Compare> kCompares[] = {
    {"==", Compare::Equal},        {"!=", Compare::NotEqual}, {"<=", Compare::LessEqual},
    {">=", Compare::GreaterEqual}, {"<", Compare::Less},      {">", Compare::Greater},
};

// Reads the lines of a script into statements, one a line.
class Reader : public Read
{
public:
    using Statement = ScriptInterpreter::Statement;
    using Operand = ScriptInterpreter::Operand;
    using Condition = ScriptInterpreter::Condition;
    using Assignment = ScriptInterpreter::Assignment;

    void readLine(std::string_view line)
    {
        const auto at = static_cast<std::uint32_t>(statements.size());
        Statement &s = statements.emplace_back();
        Cursor cursor(line);
        if (cursor.atEnd())
            return;
        if (cursor.startsWith('"')) {
            command(s);
            return;
        }
        const std::string_view word = cursor.word();
        const auto keyword = keywordOf(word);
        if (!keyword) {
            if (word.empty())
                return fail(at, "cannot be read: " + std::string(line));
            command(s);
            return;
        }
        s.kind = *keyword;
        switch (s.kind) {
        case Kind::Declare:
            declare(at, cursor.word(), !sameWord(word, "float"));
            break;
        case Kind::If:
        case Kind::ElseIf:
            condition(s, at, cursor);
            openOrContinue(s, at);
            break;
        case Kind::Else:
        case Kind::EndIf:
            openOrContinue(s, at);
            break;
        case Kind::Set:
            set(s, at, cursor);
            break;
        case Kind::StopScript:
        case Kind::Nothing: // Begin: the name is the record's, not the interpreter's
        case Kind::End:
            return;
        default:
            break;
        }
        if (problem.empty() && !cursor.atEnd())
            fail(at, "unexpected \"" + std::string(cursor.rest()) + "\"");
    }

    void finish()
    {
        if (problem.empty() && !m_open.empty())
            fail(m_open.back().front(), "this If has no EndIf");
    }

private:
    static std::optional<Kind> keywordOf(std::string_view word)
    {
        for (const auto &[name, kind] : kKeywords)
            if (sameWord(word, name))
                return kind;
        return std::nullopt;
    }

    void fail(std::size_t at, std::string text)
    {
        if (problem.empty())
            problem = "line " + std::to_string(at + 1) + ": " + std::move(text);
    }

    void command(Statement &s)
    {
        s.kind = Kind::Command;
        s.item = static_cast<std::uint32_t>(commandCount++);
    }

    void declare(std::size_t at, std::string_view name, bool isWhole)
    {
        if (name.empty())
            return fail(at, "a variable needs a name");
        if (variable(name))
            return fail(at, "the variable " + std::string(name) + " is declared twice");
        names.emplace_back(name);
        whole.push_back(isWhole);
    }

    std::optional<std::size_t> variable(std::string_view name) const
    {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (sameWord(names[i], name))
                return i;
        return std::nullopt;
    }

    std::optional<Operand> operand(std::size_t at, Cursor &cursor)
    {
        using Source = Operand::Source;
        if (const auto number = cursor.number())
            return Operand {Source::Number, *number, 0};
        // A function may name the NPC it asks about: "id"-> GetHealth.
        const bool target = cursor.quoted().has_value();
        if (target && !cursor.take("->")) {
            fail(at, "\"->\" must follow the quoted id");
            return std::nullopt;
        }
        const std::string_view word = cursor.word();
        if (sameWord(word, "GetHealth"))
            return Operand {Source::Health, 0, 0};
        if (sameWord(word, "GetLOS")) {
            if (sameWord(cursor.word(), "Player"))
                return Operand {Source::SeenByPlayer, 0, 0};
            fail(at, "GetLOS is asked only about the Player here");
            return std::nullopt;
        }
        if (!target && sameWord(word, "GameHour"))
            return Operand {Source::GameHour, 0, 0};
        if (!target && sameWord(word, "MenuMode"))
            return Operand {Source::MenuMode, 0, 0};
        if (const auto known = variable(word); known && !target)
            return Operand {Source::Variable, 0, *known};
        fail(at, "unknown function or variable \"" + std::string(word) + "\"");
        return std::nullopt;
    }

    void condition(Statement &s, std::size_t at, Cursor &cursor)
    {
        if (!cursor.take("("))
            return fail(at, "the condition must be in parentheses");
        const auto left = operand(at, cursor);
        if (!left)
            return;
        Condition condition {*left, {}, Compare::None};
        for (const auto &[symbol, compare] : kCompares) {
            if (cursor.take(symbol)) {
                const auto right = operand(at, cursor);
                if (!right)
                    return;
                condition.compare = compare;
                condition.right = *right;
                break;
            }
        }
        if (!cursor.take(")"))
            return fail(at, "the condition's \")\" is missing");
        s.item = static_cast<std::uint32_t>(conditions.size());
        conditions.push_back(condition);
    }

    void set(Statement &s, std::size_t at, Cursor &cursor)
    {
        const auto target = variable(cursor.word());
        if (!target)
            return fail(at, "Set needs a declared variable");
        if (!sameWord(cursor.word(), "to"))
            return fail(at, "\"to\" must follow the variable");
        const auto value = operand(at, cursor);
        if (!value)
            return;
        s.item = static_cast<std::uint32_t>(assignments.size());
        assignments.push_back({*target, *value});
    }

    // Keeps the branches of each open If block: an If opens one, ElseIf and
    // Else add to the innermost, EndIf closes it and tells its branches where
    // the next branch and the block's end lie.
    void openOrContinue(Statement &s, std::uint32_t at)
    {
        if (s.kind == Kind::If) {
            m_open.push_back({at});
            return;
        }
        if (m_open.empty())
            return fail(at, "there is no If to go with this line");
        auto &block = m_open.back();
        if (statements[block.back()].kind == Kind::Else && s.kind != Kind::EndIf)
            return fail(at, "nothing but EndIf may follow the Else of a block");
        statements[block.back()].next = at;
        if (s.kind != Kind::EndIf) {
            block.push_back(at);
            return;
        }
        for (const std::uint32_t branch : block)
            statements[branch].end = at;
        m_open.pop_back();
    }

    std::vector<std::vector<std::uint32_t>> m_open;
};

} // namespace

Read readScript(std::string_view text)
{
    Reader reader;
    while (!text.empty() && reader.problem.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        reader.readLine(line);
    }
    reader.finish();
    return std::move(static_cast<Read &>(reader));
}

} // namespace hw::script
