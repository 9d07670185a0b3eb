// Program text to tokenized variable data, as the calculator's own parser writes
// it: every item in postfix order (operands below their tag), statements from the
// last (lowest) to the first (highest), references to parameters and declared
// locals marked, and loop ends carrying the distance back to their head.
//
// Three parts: the spellings of the text's words (TokenSpelling), the expressions
// (ExpressionParser), and here the statements, their blocks and the whole variable,
// written out as bytes by TokenWriting.
#include <algorithm>
#include <optional>
#include <set>
#include <vector>

#include "files/ExpressionParser.h"
#include "files/Messages.h"
#include "files/TokenSpelling.h"
#include "files/TokenWriting.h"
#include "files/Tokens.h"

namespace korvane {
namespace {

using namespace tokens;
using namespace tokenizing;

// The statements of the body, line after line, with the blocks they open and close.
class StatementParser : public ExpressionParser {
public:
    StatementParser(bool function, std::vector<std::string> params, bool markLocals)
        : ExpressionParser({params.begin(), params.end()}, false, markLocals) {
        body_.function = function;
        body_.params = std::move(params);
    }

    // The statements of one line from `from` on, appended to the body; the first
    // one starts a new line unless it follows a ':' (as after "Func:").
    void parseLine(const std::string& text, int line, size_t from = 0, bool newLine = true) {
        text_ = &text;
        pos_ = from;
        line_ = line;
        bool first = newLine;
        while (true) {
            const size_t start = pos_;
            while (pos_ < text.size() && text[pos_] == ' ') ++pos_;
            Item item;
            item.indent = static_cast<std::uint8_t>(std::min<size_t>(pos_ - start, 255));
            item.newLine = first;
            item.line = line;
            if (rootClosed_ && pos_ < text.size())
                fail(body_.function ? MessageId::NothingAfterEndFunc : MessageId::NothingAfterEndPrgm);
            currentItem_ = body_.items.size();
            thenMayFollow_ = dropItem_ = false;
            item.statement = statement();
            item.thenMayFollow = thenMayFollow_;
            if (!dropItem_) body_.items.push_back(std::move(item));
            first = false;
            skipSpaces();
            if (pos_ >= text.size()) break;
            // A comment may follow a statement without a ':'; it is the line's next
            // statement.
            if (text[pos_] == ch::Copyright) continue;
            if (text[pos_] != ':') fail(MessageId::ExpectedColonOrEndOfLine, {quoted(pos_)});
            ++pos_;
        }
    }

    void finish() {
        checkBlocksClosed();
        if (!rootClosed_) fail(MessageId::ExpectedAtTheEnd, {body_.function ? "EndFunc" : "EndPrgm"});
    }

    const Body& body() const { return body_; }

private:
    Body& current() { return body_; }
    std::vector<Block>& blocks() { return body_.blocks; }

    static MessageId unclosed(const Block& b) {
        switch (b.kind) {
        case Block::If: return MessageId::IfWithoutEndIf;
        case Block::Try: return MessageId::TryWithoutEndTry;
        case Block::Loop: return MessageId::LoopWithoutEnd;
        case Block::Definition: break;
        }
        return b.endTag == cmd::EndFunc ? MessageId::FuncWithoutEndFunc : MessageId::PrgmWithoutEndPrgm;
    }

    void checkBlocksClosed() {
        if (blocks().empty()) return;
        failOnLine(blocks().back().line, unclosed(blocks().back()));
    }

    // --- statements ------------------------------------------------------------

    Bytes statement() {
        skipSpaces();
        if (atEnd()) return {};
        if (text()[pos_] == ch::Copyright) {
            Bytes b = Bytes(1, '\0') + text().substr(pos_ + 1) + Bytes{'\0', '\0', static_cast<char>(kComment)};
            pos_ = text().size();
            return b;
        }
        const Spelling* s = keywordHere(true);
        if (!s) return expressionStatement();
        pos_ += s->key.size();
        const TagInfo& first = **std::find_if(s->entries.begin(), s->entries.end(), isCommand);
        const std::uint8_t v = first.value;
        switch (v) {
        case cmd::If:
        case cmd::IfThen: {
            const Bytes condition = expression().bytes;
            const Spelling* then = keywordHere(true);
            if (then && then->entries.front()->value == cmd::Then) {
                pos_ += then->key.size();
                blocks().push_back({Block::If, cmd::EndIf, currentItem_, line_, {}});
                return condition + command(cmd::IfThen);
            }
            thenMayFollow_ = true;
            return condition + command(cmd::If);
        }
        case cmd::ElseIf: {
            const Bytes condition = expression().bytes;
            const Spelling* then = keywordHere(true);
            if (then && then->entries.front()->value == cmd::Then)
                pos_ += then->key.size();
            else
                thenMayFollow_ = true;
            return condition + command(cmd::ElseIf);
        }
        case cmd::Then: {
            // "If c" then "Then" on the next line (or after a ':') is the one If ... Then:
            // the calculator stores no Then tag.
            std::vector<Item>& items = current().items;
            if (items.empty() || !items.back().thenMayFollow) fail(MessageId::ThenWithoutIf);
            Item& head = items.back();
            head.thenMayFollow = false;
            dropItem_ = true;
            if (head.statement.size() >= 2 && static_cast<std::uint8_t>(head.statement[head.statement.size() - 2]) == cmd::If) {
                head.statement[head.statement.size() - 2] = static_cast<char>(cmd::IfThen);
                blocks().push_back({Block::If, cmd::EndIf, items.size() - 1, head.line, {}});
            }
            return {};
        }
        case cmd::Func:
        case cmd::Prgm:
            fail(MessageId::OnlyAfterDefine, {first.spelling});
        case cmd::EndFunc:
        case cmd::EndPrgm:
            // Only the last line closes the whole variable; an earlier one closes
            // the definition open here.
            if (blocks().empty()) {
                if ((v == cmd::EndFunc) != body_.function)
                    fail(MessageId::ExpectedFound, {body_.function ? "EndFunc" : "EndPrgm", first.spelling});
                rootClosed_ = true;
            } else {
                const Block& b = blocks().back();
                if (b.kind != Block::Definition) {
                    failOnLine(b.line, unclosed(b));
                }
                if (b.endTag != v)
                    fail(MessageId::DoesNotCloseDefinition,
                         {first.spelling, b.endTag == cmd::EndFunc ? "Func" : "Prgm", b.line});
                blocks().pop_back();
                locals() = std::move(outerLocals_.back());
                outerLocals_.pop_back();
            }
            return command(v);
        case cmd::Else:
        case cmd::ElseTry:
            return command(!blocks().empty() && blocks().back().kind == Block::Try ? cmd::ElseTry : cmd::Else);
        case cmd::Try:
            blocks().push_back({Block::Try, cmd::EndTry, currentItem_, line_, {}});
            return command(v);
        case cmd::EndIf:
        case cmd::EndTry: {
            const Block::Kind kind = v == cmd::EndIf ? Block::If : Block::Try;
            if (blocks().empty() || blocks().back().kind != kind)
                fail(MessageId::EndWithout, {first.spelling, kind == Block::If ? "If ... Then" : "Try"});
            blocks().pop_back();
            return command(v);
        }
        case cmd::Loop:
            blocks().push_back({Block::Loop, cmd::EndLoop, currentItem_, line_, {}});
            return command(v);
        case cmd::EndFor:
        case cmd::EndWhile:
        case cmd::EndLoop: {
            if (blocks().empty() || blocks().back().kind != Block::Loop || blocks().back().endTag != v)
                fail(MessageId::DoesNotCloseLoop, {first.spelling});
            const Block loop = blocks().back();
            blocks().pop_back();
            current().jumps.push_back({currentItem_, loop.item});
            for (const size_t exit : loop.exits) current().jumps.push_back({exit, currentItem_});
            return Bytes(2, '\0') + command(v);
        }
        case cmd::Exit:
        case cmd::Cycle: {
            auto loop = std::find_if(blocks().rbegin(), blocks().rend(), [](const Block& b) { return b.kind == Block::Loop; });
            if (loop == blocks().rend()) fail(MessageId::OutsideLoop, {first.spelling});
            loop->exits.push_back(currentItem_);
            return Bytes(2, '\0') + command(v);
        }
        case cmd::Define:
            return define();
        case cmd::Local: {
            std::vector<std::string> names;
            do {
                skipSpaces();
                if (pos_ >= text().size() || !isIdentStart(text()[pos_])) fail(MessageId::ExpectedLocalName, {quoted(pos_)});
                names.push_back(identifier());
            } while (eat(','));
            Bytes b(1, static_cast<char>(kEnd));
            for (auto it = names.rbegin(); it != names.rend(); ++it) b += variable(*it);
            for (const std::string& n : names) locals().insert(n);
            return b + command(v);
        }
        default:
            break;
        }
        std::vector<Expr> args;
        // Blanks after the command, as the menus leave them, are no argument.
        const char next = peekChar();
        if (first.shape != Shape::Word && next != '\0' && next != ':' && next != ch::Copyright) {
            do {
                // An argument left out, as in NewPlot 1,1,x,,,,4.
                const char c = peekChar();
                if (c == ',' || (!args.empty() && (atEnd() || c == ch::Copyright))) args.push_back(Expr{Bytes(1, static_cast<char>(kNothing))});
                else args.push_back(expression());
            } while (eat(','));
        }
        for (const TagInfo* t : s->entries) {
            if (!isCommand(t) || args.size() < t->minArgs || args.size() > t->maxArgs) continue;
            if (t->shape == Shape::Word && !args.empty()) continue;
            Bytes b;
            if (t->has(kEndList)) b += static_cast<char>(kEnd);
            b += reversed(args) + tagBytes(*t);
            if (t->value == cmd::For || t->value == cmd::While)
                blocks().push_back({Block::Loop, t->value == cmd::For ? cmd::EndFor : cmd::EndWhile, currentItem_, line_, {}});
            return b;
        }
        if (first.shape == Shape::Word) fail(MessageId::TakesNoArguments, {first.spelling, quoted(pos_)});
        fail(MessageId::WrongArgumentCount, {first.spelling, args.size()});
    }

    // Define name=expr or Define name(params)=expr: the value lies below the target.
    // In "Define name(params)=Func" (or Prgm) the value is the Func tag alone; the
    // block's statements follow as the program's own, down to its EndFunc.
    Bytes define() {
        skipSpaces();
        if (pos_ >= text().size() || !isIdentStart(text()[pos_])) fail(MessageId::ExpectedNameAfterDefine, {quoted(pos_)});
        const std::string name = identifier();
        Bytes target;
        std::vector<std::string> params;
        bool called = false;
        if (pos_ < text().size() && text()[pos_] == '(') {
            ++pos_;
            called = true;
            const size_t paramsAt = pos_;
            target = Bytes(1, static_cast<char>(kEnd)) + reversed(formalParameters()) + variable(name) + static_cast<char>(kUserCall);
            const size_t after = pos_;
            pos_ = paramsAt;
            if (!eat(')')) {
                do {
                    skipSpaces();
                    if (pos_ < text().size() && isIdentStart(text()[pos_])) params.push_back(identifier());
                    else params.clear();
                } while (eat(','));
            }
            pos_ = after;
        } else {
            target = variable(name);
        }
        expect('=', MessageId::ExpectedEqualsAfterName);
        const Bytes statement = target + command(cmd::Define);
        const Spelling* head = keywordHere(true);
        const auto opens = [](const TagInfo* t) { return isCommand(t) && (t->value == cmd::Func || t->value == cmd::Prgm); };
        if (!head || std::none_of(head->entries.begin(), head->entries.end(), opens)) {
            // The parameters are local in the defined value.
            const std::set<std::string> saved = locals();
            if (markLocals_) locals().insert(params.begin(), params.end());
            const Bytes value = expression().bytes;
            locals() = saved;
            return value + statement;
        }
        if (!called) fail(MessageId::DefinitionNeedsParentheses, {name});
        const std::uint8_t opened = (*std::find_if(head->entries.begin(), head->entries.end(), opens))->value;
        pos_ += head->key.size();
        if (blocks().size() > kMaxNesting) fail(MessageId::BlocksTooDeep);
        blocks().push_back({Block::Definition, opened == cmd::Func ? cmd::EndFunc : cmd::EndPrgm, currentItem_, line_, {}});
        // Inside the block only its parameters and its own Local names are local;
        // after its end the program's own are back.
        outerLocals_.push_back(locals());
        locals() = std::set<std::string>(params.begin(), params.end());
        return command(opened) + statement;
    }

    Body body_;
    size_t currentItem_ = 0;
    bool thenMayFollow_ = false;
    bool dropItem_ = false;
    bool rootClosed_ = false;     // the EndPrgm or EndFunc of the whole variable was read
    std::vector<std::set<std::string>> outerLocals_;  // around each open definition
};

std::string trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

std::string lowered(std::string s) {
    for (char& c : s) c = lower(c);
    return s;
}

// Lines end in CR or CR LF; a line feed alone is a character of the line, which
// the calculator keeps inside comments and strings.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    while (lines.size() > 1 && trimmed(lines.back()).empty()) lines.pop_back();
    return lines;
}

// "(a,b)" to its parameter names.
std::vector<std::string> parameters(const std::string& line) {
    const std::string t = trimmed(line);
    if (t.size() < 2 || t.front() != '(' || t.back() != ')')
        throw Failure{atLine(1, calcMessage(MessageId::ExpectedArgumentList))};
    std::vector<std::string> names;
    const std::string inner = t.substr(1, t.size() - 2);
    if (trimmed(inner).empty()) return names;
    size_t start = 0;
    while (true) {
        const size_t comma = inner.find(',', start);
        std::string name = lowered(trimmed(inner.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        const bool valid = !name.empty() && name.size() <= kMaxNameLength && isIdentStart(name.front()) &&
                           std::all_of(name.begin(), name.end(), isIdentChar);
        if (!valid) throw Failure{atLine(1, calcMessage(MessageId::NotParameterName, {name}))};
        if (std::find(names.begin(), names.end(), name) != names.end())
            throw Failure{atLine(1, calcMessage(MessageId::ParameterTwice, {name}))};
        names.push_back(name);
        if (names.size() > kMaxParameters) throw Failure{atLine(1, calcMessage(MessageId::TooManyParameters))};
        if (comma == std::string::npos) return names;
        start = comma + 1;
    }
}

}  // namespace

TokenizeResult tokenize(const std::string& programText, VariableFlags flags) {
    TokenizeResult result;
    int line = 1;
    try {
        const std::vector<std::string> lines = splitLines(programText);
        const std::vector<std::string> params = parameters(lines[0]);
        line = 2;
        if (lines.size() < 2)
            throw Failure{atLine(static_cast<int>(lines.size()) + 1, calcMessage(MessageId::EndsBeforeEnd))};
        // "Prgm" or "Func" opens the second line, alone or followed by ':' and statements.
        const std::string second = lowered(lines[1]);
        const size_t headAt = std::min(second.find_first_not_of(' '), second.size());
        const std::string head = second.substr(headAt, 4);
        size_t rest = std::min(second.find_first_not_of(' ', headAt + 4), second.size());
        if ((head != "prgm" && head != "func") || (rest < second.size() && second[rest] != ':'))
            throw Failure{atLine(2, calcMessage(MessageId::ExpectedPrgmOrFunc))};
        const bool function = head == "func";
        result.kind = function ? ProgramKind::Function : ProgramKind::Program;

        for (size_t i = 2; i < lines.size(); ++i) {
            // Names, strings and comments are stored between NUL bytes, so none can hold one.
            if (lines[i].find('\0') != std::string::npos)
                throw Failure{atLine(static_cast<int>(i) + 1, calcMessage(MessageId::NulCharacter))};
        }
        if (flags.ti92) flags.flag1 |= 0x40;
        Bytes data;
        // A function read in the one-expression form keeps it while its body is one
        // expression: the expression alone, its parameters unmarked, its literals as
        // values, as Define stores it.
        std::optional<Bytes> lone;
        if (function && flags.oneExpression && lines.size() == 4 && rest == second.size() &&
            lowered(trimmed(lines[3])) == "endfunc")
            lone = ExpressionParser({}, true, true).lone(lines[2], 3);
        if (lone) {
            data = Bytes(1, static_cast<char>(kEndStack)) + *lone + parametersAndFlags(params, flags);
        } else {
            StatementParser parser(function, params, !flags.ti92);
            if (rest < second.size()) parser.parseLine(lines[1], 2, rest + 1, false);
            for (size_t i = 2; i < lines.size(); ++i) {
                line = static_cast<int>(i) + 1;
                parser.parseLine(lines[i], line);
            }
            parser.finish();
            data = definitionBytes(parser.body(), flags);
        }
        if (data.size() > kMaxVariableData) throw Failure{calcMessage(MessageId::TokenizedTooLong)};
        result.data = std::move(data);
    } catch (const Failure& f) {
        result.error = f.message;
        const int named = lineOfMessage(f.message);
        result.line = named > 0 ? named : line;
        result.column = f.column;
    }
    return result;
}

}  // namespace korvane
