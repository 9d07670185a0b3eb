// Program text to tokenized variable data, as the calculator's own parser writes
// it: every item in postfix order (operands below their tag), statements from the
// last (lowest) to the first (highest), references to parameters and declared
// locals marked, and loop ends carrying the distance back to their head.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <vector>

#include "files/TokenNumbers.h"
#include "files/TokenTable.h"
#include "files/Tokens.h"

namespace korvane {
namespace {

using namespace tokens;

// The parser spends up to three calls per nesting level, and three more when the
// level is written in parentheses, as the detokenizer writes "#(#(x))". The item
// bound (kMaxNesting) is the real limit; this one only keeps the stack safe.
constexpr int kMaxDepth = 6 * kMaxNesting + 16;
constexpr size_t kMaxNameLength = 8;
constexpr size_t kMaxVariableData = kMaxFileSize - kHeaderSize - 2;

struct Failure {
    std::string message;
};

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isIdentChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_') return true;
    if (u >= 0x80 && u <= 0x94) return u != 0x8C && u != 0x8B && u != 0x8E;  // not π, Π, Σ
    if (u == 0xB5) return true;  // µ
    return u >= 0xC0 && u != 0xD7 && u != 0xF7;
}
bool isIdentStart(char c) { return isIdentChar(c) && !(c >= '0' && c <= '9'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

Bytes tagBytes(const TagInfo& t) {
    switch (t.space) {
    case Space::Primary: return Bytes(1, static_cast<char>(t.value));
    case Space::Secondary: return Bytes{static_cast<char>(t.value), static_cast<char>(kSecondary)};
    case Space::Command: return Bytes{static_cast<char>(t.value), static_cast<char>(kCommand)};
    case Space::System: return Bytes{static_cast<char>(t.value), static_cast<char>(kSystemTag)};
    }
    return {};
}

// All spellings of the tables, looked up by their first character without regard
// to ASCII case, longest first so that "sinh(" wins over "sin(" and "►DMS" over "►".
struct Spelling {
    std::string key;  // lower-cased
    std::vector<const TagInfo*> entries;
    bool wordLike = false;  // ends in a name character: must not run into a longer name
};

class Keywords {
public:
    Keywords() {
        std::map<std::string, Spelling> byKey;
        for (const TagInfo& t : allTags()) {
            if (t.shape == Shape::Special || t.has(kInternal)) continue;
            std::string key;
            for (const char c : t.spelling) key += lower(c);
            Spelling& s = byKey[key];
            s.key = key;
            s.wordLike = isIdentChar(key.back());
            s.entries.push_back(&t);
        }
        for (auto& [key, s] : byKey) spellings_.push_back(s);
        for (const Spelling& s : spellings_)
            byFirst_[static_cast<unsigned char>(s.key.front())].push_back(&s);
        for (auto& list : byFirst_)
            std::stable_sort(list.begin(), list.end(),
                             [](const Spelling* a, const Spelling* b) { return a->key.size() > b->key.size(); });
    }

    // The longest spelling at `pos` with an entry that `accept` takes.
    template <typename Accept>
    const Spelling* at(const std::string& text, size_t pos, Accept accept) const {
        for (const Spelling* s : byFirst_[static_cast<unsigned char>(lower(text[pos]))]) {
            if (pos + s->key.size() > text.size()) continue;
            bool same = true;
            for (size_t i = 0; i < s->key.size() && same; ++i) same = lower(text[pos + i]) == s->key[i];
            if (!same) continue;
            const size_t end = pos + s->key.size();
            if (s->wordLike && end < text.size() && isIdentChar(text[end])) continue;
            if (std::any_of(s->entries.begin(), s->entries.end(), accept)) return s;
        }
        return nullptr;
    }

private:
    std::vector<Spelling> spellings_;
    std::vector<const Spelling*> byFirst_[256];
};

const Keywords& keywords() {
    static const Keywords k;
    return k;
}

bool inExpression(const TagInfo* t) { return t->space != Space::Command; }
bool isCommand(const TagInfo* t) { return t->space == Space::Command; }

struct Expr {
    Bytes bytes;
    bool list = false;
    int depth = 1;  // nesting of the item: one level per tag over its operands
};

int deepest(const std::vector<Expr>& items) {
    int d = 0;
    for (const Expr& e : items) d = std::max(d, e.depth);
    return d;
}

Bytes nameBytes(const std::string& name) {
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') {
        for (const TagInfo& t : allTags())
            if (t.space == Space::Primary && t.shape == Shape::Special && !t.has(kInternal) && t.value <= 0x1B &&
                t.spelling == std::string_view(name))
                return Bytes(1, static_cast<char>(t.value));
    }
    return Bytes(1, '\0') + name + Bytes(1, '\0');
}

Bytes integerBytes(const std::string& magnitude, std::uint8_t tag) {
    if (magnitude.size() > 255) throw Failure{"an integer too large for the calculator"};
    return magnitude + static_cast<char>(magnitude.size()) + static_cast<char>(tag);
}

// One body statement and where it sits.
struct Item {
    Bytes statement;
    std::uint8_t indent = 0;
    bool newLine = true;
    int line = 0;
    bool thenMayFollow = false;  // "If c" or "ElseIf c", which a Then may follow on the next line
};

struct Jump {
    size_t from;  // item holding the jump command
    size_t to;    // item whose command tag the distance is measured to
};

struct Block {
    enum Kind { If, Try, Loop, Definition } kind;
    std::uint8_t endTag;  // for loops: the command that closes it
    size_t item;
    int line;
    std::vector<size_t> exits;  // Exit and Cycle items inside a loop
};

// The statements of a program or function. A function or program defined inside
// it ("Define f(x)=Func" ... "EndFunc") is stored inline, as ordinary statements.
struct Body {
    std::vector<Item> items;
    std::set<std::string> locals;
    std::vector<Block> blocks;
    std::vector<Jump> jumps;
    bool function = false;
    std::vector<std::string> params;
};

Bytes command(std::uint8_t value) { return Bytes{static_cast<char>(value), static_cast<char>(kCommand)}; }

// What closes every definition under its body: the parameter list, the flags and
// the program tag DC.
Bytes parametersAndFlags(const std::vector<std::string>& params, VariableFlags flags) {
    Bytes data(1, static_cast<char>(kEnd));
    for (auto it = params.rbegin(); it != params.rend(); ++it) data += nameBytes(*it);
    data += static_cast<char>(flags.inUse);
    data += static_cast<char>(flags.flag2);
    data += static_cast<char>(flags.flag1);
    data += static_cast<char>(kUserDef);
    return data;
}

// A whole definition as the program tag DC closes it: the statements last-lowest,
// each under its separator, then Prgm or Func, the parameters and the flags.
Bytes definitionBytes(const Body& body, VariableFlags flags) {
    Bytes data(1, static_cast<char>(kEndStack));
    const std::vector<Item>& items = body.items;
    std::vector<size_t> start(items.size());
    for (size_t k = items.size(); k-- > 0;) {
        start[k] = data.size();
        data += items[k].statement;
        data += static_cast<char>(items[k].indent);
        data += static_cast<char>(items[k].newLine ? kNewLine : kNextStatement);
    }
    // A jump's distance runs from its own command tag to the other command tag.
    auto commandTag = [&](size_t k) { return static_cast<long>(start[k] + items[k].statement.size() - 1); };
    for (const Jump& j : body.jumps) {
        const long d = commandTag(j.to) - commandTag(j.from) + 2;
        const long distance = d >= 0 ? d : commandTag(j.from) - commandTag(j.to) + 2;
        if (distance > 0xFFFF) throw Failure{"line " + std::to_string(items[j.from].line) + ": a loop too long to jump over"};
        data[start[j.from]] = static_cast<char>(distance & 0xFF);
        data[start[j.from] + 1] = static_cast<char>((distance >> 8) & 0xFF);
    }
    return data + command(body.function ? cmd::Func : cmd::Prgm) + parametersAndFlags(body.params, flags);
}

// A literal integer alone: its magnitude bytes, their count, and the tag.
bool isIntegerLiteral(const Bytes& b, std::uint8_t tag) {
    return b.size() >= 2 && static_cast<std::uint8_t>(b.back()) == tag &&
           static_cast<std::uint8_t>(b[b.size() - 2]) == b.size() - 2;
}

// The value of a literal integer of at most 8 magnitude bytes.
std::uint64_t smallMagnitude(const Bytes& literal) {
    std::uint64_t v = 0;
    for (size_t i = literal.size() - 2; i-- > 0;) v = (v << 8) | static_cast<std::uint8_t>(literal[i]);
    return v;
}

class Parser {
public:
    Parser(bool function, std::vector<std::string> params, bool simplified = false, bool markLocals = true)
        : simplified_(simplified), markLocals_(markLocals) {
        body_.function = function;
        body_.locals.insert(params.begin(), params.end());
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
                fail(std::string("nothing may follow the ") + (body_.function ? "EndFunc" : "EndPrgm") + " that ends the " +
                     (body_.function ? "function" : "program"));
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
            if (text[pos_] != ':') fail("expected ':' or the end of the line, found " + quoted(pos_));
            ++pos_;
        }
    }

    void finish() {
        checkBlocksClosed();
        if (!rootClosed_) fail(std::string("expected ") + (body_.function ? "EndFunc" : "EndPrgm") + " at the end");
    }

    const Body& body() const { return body_; }

    // One line that is a single expression and nothing else, or nothing.
    std::optional<Bytes> lone(const std::string& text, int line) {
        text_ = &text;
        pos_ = 0;
        line_ = line;
        skipSpaces();
        if (atEnd() || text[pos_] == ch::Copyright || keywordHere(true)) return std::nullopt;
        try {
            Bytes b = expression().bytes;
            skipSpaces();
            if (pos_ < text.size()) return std::nullopt;
            return b;
        } catch (const Failure&) {
            return std::nullopt;
        }
    }

    [[noreturn]] void fail(const std::string& message) const { throw Failure{"line " + std::to_string(line_) + ": " + message}; }

private:
    Body& current() { return body_; }
    std::set<std::string>& locals() { return body_.locals; }
    std::vector<Block>& blocks() { return body_.blocks; }

    static const char* unclosed(const Block& b) {
        switch (b.kind) {
        case Block::If: return "If ... Then without EndIf";
        case Block::Try: return "Try without EndTry";
        case Block::Loop: return "a loop without its end";
        case Block::Definition: return b.endTag == cmd::EndFunc ? "Define ... Func without its EndFunc"
                                                                 : "Define ... Prgm without its EndPrgm";
        }
        return "";
    }

    void checkBlocksClosed() {
        if (blocks().empty()) return;
        line_ = blocks().back().line;
        fail(unclosed(blocks().back()));
    }
    const std::string& text() const { return *text_; }
    bool atEnd() const { return pos_ >= text().size() || text()[pos_] == ':'; }
    void skipSpaces() {
        while (pos_ < text().size() && text()[pos_] == ' ') ++pos_;
    }
    char peekChar() {
        skipSpaces();
        return pos_ < text().size() ? text()[pos_] : '\0';
    }
    bool eat(char c) {
        if (peekChar() != c || pos_ >= text().size()) return false;
        ++pos_;
        return true;
    }
    std::string quoted(size_t at) const {
        if (at >= text().size()) return "the end of the line";
        size_t end = at;
        while (end < text().size() && end < at + 12 && text()[end] != ':') ++end;
        return "\"" + text().substr(at, std::max<size_t>(end - at, 1)) + "\"";
    }
    void expect(char c, const char* what) {
        if (!eat(c)) fail(std::string("expected ") + what + ", found " + quoted(pos_));
    }

    struct DepthGuard {
        explicit DepthGuard(Parser& p) : parser(p) {
            if (++parser.depth_ > kMaxDepth) parser.fail("the expression nests too deeply");
        }
        ~DepthGuard() { --parser.depth_; }
        Parser& parser;
    };

    // `e` becomes a tag over operands nested `below` deep.
    void nest(Expr& e, int below) {
        e.depth = below + 1;
        e.list = false;
        if (e.depth > kMaxNesting) fail("the expression nests too deeply");
    }

    // --- names ---------------------------------------------------------------

    std::string identifier() {
        std::string name;
        auto part = [&] {
            const size_t start = pos_;
            while (pos_ < text().size() && isIdentChar(text()[pos_])) name += lower(text()[pos_++]);
            if (pos_ - start > kMaxNameLength) fail("the name " + text().substr(start, pos_ - start) + " is longer than 8 characters");
        };
        part();
        // A folder ("main\\f") or a flash application ("tistat.fcdf") qualifies the name.
        for (const char qualifier : {'\\', '.'}) {
            if (pos_ + 1 < text().size() && text()[pos_] == qualifier && isIdentStart(text()[pos_ + 1])) {
                name += text()[pos_++];
                part();
            }
        }
        return name;
    }

    Bytes variable(const std::string& name) {
        Bytes b = nameBytes(name);
        if (markLocals_ && locals().count(name)) b += static_cast<char>(kLocal);
        return b;
    }

    // --- expressions -----------------------------------------------------------

    const Spelling* keywordHere(bool command) {
        skipSpaces();
        if (pos_ >= text().size()) return nullptr;
        return command ? keywords().at(text(), pos_, isCommand) : keywords().at(text(), pos_, inExpression);
    }

    // An operator that may follow an operand: infix, or a conversion written after it.
    const TagInfo* operatorHere(size_t& length) {
        const Spelling* s = keywordHere(false);
        if (!s) return nullptr;
        for (const TagInfo* t : s->entries) {
            if (!inExpression(t)) continue;
            if (t->shape == Shape::InfixLeftLow || t->shape == Shape::InfixLeftHigh ||
                (t->shape == Shape::Postfix && t->precedence == kConvert)) {
                length = s->key.size();
                return t;
            }
        }
        return nullptr;
    }

    bool startsOperand() {
        const char c = peekChar();
        if (pos_ >= text().size() || c == ':') return false;
        if (isDigit(c) || c == '(' || c == '{' || c == '[' || c == '"' || c == '#' || c == '@') return true;
        if (c == '.' && pos_ + 1 < text().size() && isDigit(text()[pos_ + 1])) return true;
        if (const Spelling* s = keywordHere(false)) {
            for (const TagInfo* t : s->entries)
                if (t->shape == Shape::Word || t->shape == Shape::Function) return true;
            return false;
        }
        if (keywordHere(true)) return false;
        return isIdentStart(c);
    }

    Expr expression(int minPrecedence = kStore) {
        DepthGuard guard(*this);
        Expr left = prefix();
        while (true) {
            size_t length = 0;
            const TagInfo* op = operatorHere(length);
            if (!op) {
                if (kMultiply >= minPrecedence && startsOperand()) {
                    Expr right = expression(kMultiply + 1);
                    left.bytes += right.bytes + static_cast<char>(kMultiplyTag);
                    nest(left, std::max(left.depth, right.depth));
                    continue;
                }
                break;
            }
            if (op->precedence < minPrecedence) break;
            pos_ += length;
            if (op->shape == Shape::Postfix) {
                left.bytes += tagBytes(*op);
                nest(left, left.depth);
                continue;
            }
            const bool rightAssoc = op->precedence == kPower || op->precedence == kConcat;
            // "expr→f(x)" defines f: its x is a formal parameter, never marked local.
            storeTarget_ = op->precedence == kStore;
            Expr right = expression(rightAssoc ? op->precedence : op->precedence + 1);
            storeTarget_ = false;
            if (simplified_ && op->space == Space::Primary && op->value == kDivideTag && fraction(left, right)) continue;
            left.bytes = op->shape == Shape::InfixLeftLow ? left.bytes + right.bytes + tagBytes(*op)
                                                          : right.bytes + left.bytes + tagBytes(*op);
            nest(left, std::max(left.depth, right.depth));
        }
        return left;
    }

    // n/d of two integers in lowest terms, as the calculator stores a value it has
    // simplified: d's magnitude, n's magnitude, then the fraction tag.
    static bool fraction(Expr& left, const Expr& right) {
        const bool negative = isIntegerLiteral(left.bytes, kNegInt);
        if (!negative && !isIntegerLiteral(left.bytes, kPosInt)) return false;
        if (!isIntegerLiteral(right.bytes, kPosInt) || left.bytes.size() > 10 || right.bytes.size() > 10) return false;
        const std::uint64_t n = smallMagnitude(left.bytes), d = smallMagnitude(right.bytes);
        if (n == 0 || d < 2 || std::gcd(n, d) != 1) return false;
        left.bytes = right.bytes.substr(0, right.bytes.size() - 1) + left.bytes.substr(0, left.bytes.size() - 1) +
                     static_cast<char>(negative ? kNegFrac : kPosFrac);
        left.depth = 1;
        return true;
    }

    Expr prefix() {
        DepthGuard guard(*this);
        const char c = peekChar();
        if (c == ch::Negate || c == '-') {
            ++pos_;
            Expr operand = expression(kNegate);
            // −∞ is a constant of its own.
            if (operand.bytes == Bytes(1, static_cast<char>(kInfinityTag))) {
                operand.bytes = Bytes(1, static_cast<char>(kNegInfinityTag));
                return operand;
            }
            if (simplified_ && isIntegerLiteral(operand.bytes, kPosInt) && operand.bytes.size() > 2) {
                operand.bytes.back() = static_cast<char>(kNegInt);
                return operand;
            }
            operand.bytes += static_cast<char>(kNegateTag);
            nest(operand, operand.depth);
            return operand;
        }
        if (const Spelling* s = keywordHere(false)) {
            for (const TagInfo* t : s->entries) {
                if (t->shape == Shape::Prefix && inExpression(t)) {
                    pos_ += s->key.size();
                    Expr operand = expression(t->precedence);
                    operand.bytes += tagBytes(*t);
                    nest(operand, operand.depth);
                    return operand;
                }
            }
        }
        return postfix(primary());
    }

    Expr postfix(Expr e) {
        while (true) {
            const char c = peekChar();
            if (pos_ >= text().size()) return e;
            if (c == '[') {
                ++pos_;
                std::vector<Expr> index = list(']', ',');
                if (index.empty() || index.size() > 2) fail("a subscript takes one or two indices");
                e.bytes = Bytes(1, static_cast<char>(kEnd)) + reversed(index) + e.bytes + static_cast<char>(kSubscript);
                nest(e, std::max(e.depth, deepest(index)));
                continue;
            }
            if (c == ch::Degree) {
                ++pos_;
                std::vector<Expr> parts{std::move(e)};
                for (const char mark : {'\'', '"'}) {
                    const size_t save = pos_;
                    if (!startsNumber()) break;
                    Expr part = number();
                    if (!eat(mark)) {
                        pos_ = save;
                        break;
                    }
                    parts.push_back(std::move(part));
                }
                e.bytes = Bytes(1, static_cast<char>(kEnd)) + reversed(parts) + static_cast<char>(kDms);
                nest(e, deepest(parts));
                continue;
            }
            if (c == ch::Squared || c == ch::Cubed || c == ch::Inverse) {
                // The marks stored as powers: x² is x^2, x³ x^3, and x⁻¹ x^-1, its -1 as a
                // typed -1 is stored: under the negation, or as a value where literals
                // are simplified.
                ++pos_;
                Bytes exponent = integerBytes(std::string(1, c == ch::Squared ? '\x02' : c == ch::Cubed ? '\x03' : '\x01'),
                                              c == ch::Inverse && simplified_ ? kNegInt : kPosInt);
                if (c == ch::Inverse && !simplified_) exponent += static_cast<char>(kNegateTag);
                e.bytes = exponent + e.bytes + static_cast<char>(kPowerTag);
                nest(e, e.depth + (c == ch::Inverse ? 1 : 0));
                continue;
            }
            const Spelling* s = keywordHere(false);
            const TagInfo* post = nullptr;
            if (s)
                for (const TagInfo* t : s->entries)
                    if (t->shape == Shape::Postfix && t->precedence == kPostfix && inExpression(t)) post = t;
            if (!post) return e;
            pos_ += s->key.size();
            e.bytes += tagBytes(*post);
            nest(e, e.depth);
        }
    }

    static Bytes reversed(const std::vector<Expr>& items) {
        Bytes b;
        for (auto it = items.rbegin(); it != items.rend(); ++it) b += it->bytes;
        return b;
    }

    // Expressions separated by `separator` up to `close`; an empty list is allowed.
    std::vector<Expr> list(char close, char separator) {
        std::vector<Expr> items;
        if (eat(close)) return items;
        while (true) {
            items.push_back(expression());
            if (eat(close)) return items;
            if (!eat(separator)) fail(std::string("expected '") + separator + "' or '" + close + "', found " + quoted(pos_));
        }
    }

    bool startsNumber() {
        const char c = peekChar();
        return pos_ < text().size() &&
               (isDigit(c) || (c == '.' && pos_ + 1 < text().size() && isDigit(text()[pos_ + 1])));
    }

    Expr number() {
        skipSpaces();
        const std::string& t = text();
        Expr e;
        if (t[pos_] == '0' && pos_ + 2 < t.size() && (lower(t[pos_ + 1]) == 'b' || lower(t[pos_ + 1]) == 'h')) {
            const bool hex = lower(t[pos_ + 1]) == 'h';
            size_t end = pos_ + 2;
            auto digitValue = [&](char c) -> int {
                if (isDigit(c)) return c - '0' < (hex ? 10 : 2) ? c - '0' : -1;
                if (hex && lower(c) >= 'a' && lower(c) <= 'f') return lower(c) - 'a' + 10;
                return -1;
            };
            std::vector<int> digits;
            while (end < t.size() && digitValue(t[end]) >= 0) digits.push_back(digitValue(t[end++]));
            if (!digits.empty()) {
                pos_ = end;
                std::string le;
                const int bitsPerDigit = hex ? 4 : 1;
                int bit = 0;
                for (auto it = digits.rbegin(); it != digits.rend(); ++it, bit += bitsPerDigit) {
                    if (bit / 8 >= static_cast<int>(le.size())) le += '\0';
                    le[static_cast<size_t>(bit / 8)] = static_cast<char>(le[static_cast<size_t>(bit / 8)] | (*it << (bit % 8)));
                }
                while (!le.empty() && le.back() == '\0') le.pop_back();
                e.bytes = integerBytes(le, kPosInt) + static_cast<char>(hex ? kHex : kBinary) + static_cast<char>(kSecondary);
                e.depth = 2;
                return e;
            }
        }
        std::string mantissa;
        bool isFloat = false;
        while (pos_ < t.size() && isDigit(t[pos_])) mantissa += t[pos_++];
        if (pos_ < t.size() && t[pos_] == '.') {
            isFloat = true;
            mantissa += t[pos_++];
            while (pos_ < t.size() && isDigit(t[pos_])) mantissa += t[pos_++];
        }
        int exponent = 0;
        if (pos_ < t.size() && t[pos_] == ch::Exponent) {
            isFloat = true;
            ++pos_;
            bool negative = false;
            if (pos_ < t.size() && (t[pos_] == ch::Negate || t[pos_] == '-')) {
                negative = true;
                ++pos_;
            }
            std::string digits;
            while (pos_ < t.size() && isDigit(t[pos_])) digits += t[pos_++];
            if (digits.empty() || digits.size() > 5) fail("expected the digits of an exponent");
            exponent = std::stoi(digits) * (negative ? -1 : 1);
        }
        if (!isFloat) {
            e.bytes = integerBytes(magnitudeOfDecimal(mantissa), kPosInt);
            return e;
        }
        const auto f = floatOfText(mantissa, exponent);
        if (!f) fail("a number out of the calculator's range");
        e.bytes.assign(f->begin(), f->end());
        e.bytes += static_cast<char>(kFloat);
        return e;
    }

    // The argument list of a function being defined, its names unmarked.
    std::vector<Expr> formalParameters() {
        const bool marks = markLocals_;
        markLocals_ = storeTarget_ = false;
        std::vector<Expr> params = list(')', ',');
        markLocals_ = marks;
        for (const Expr& p : params)
            if (auto name = nameOf(p.bytes)) formalNames_.insert(*name);
        return params;
    }

    // The name that a lone variable's bytes hold.
    static std::optional<std::string> nameOf(const Bytes& b) {
        if (b.size() >= 3 && b.front() == '\0' && b.back() == '\0') return b.substr(1, b.size() - 2);
        if (b.size() == 1)
            if (const TagInfo* t = findTag(Space::Primary, static_cast<std::uint8_t>(b[0])); t && t->shape == Shape::Special && t->value <= 0x1B)
                return std::string(t->spelling);
        return std::nullopt;
    }

    // An expression statement. In "value→f(x)" the value is the body of the function
    // f being defined, so its x is marked local there: it is read again once the
    // parameters are known.
    Bytes expressionStatement() {
        const size_t start = pos_;
        formalNames_.clear();
        Expr e = expression();
        if (!markLocals_ || formalNames_.empty()) return e.bytes;
        const std::set<std::string> saved = locals();
        locals().insert(formalNames_.begin(), formalNames_.end());
        pos_ = start;
        e = expression();
        locals() = saved;
        return e.bytes;
    }

    Expr primary() {
        DepthGuard guard(*this);
        const char c = peekChar();
        if (pos_ >= text().size() || c == ':') fail("expected an expression, found the end of the statement");
        Expr e;
        if (startsNumber()) return number();
        switch (c) {
        case '(': {
            ++pos_;
            Expr inner = expression();
            if (eat(ch::Angle)) {
                Expr angle = expression();
                expect(')', "')'");
                e.bytes = inner.bytes + angle.bytes + static_cast<char>(kPolarComplex) + static_cast<char>(kSecondary);
                nest(e, std::max(inner.depth, angle.depth));
                return e;
            }
            expect(')', "')'");
            return inner;
        }
        case '{': {
            ++pos_;
            const std::vector<Expr> items = list('}', ',');
            e.bytes = Bytes(1, static_cast<char>(kEnd)) + reversed(items) + static_cast<char>(kList);
            nest(e, deepest(items));
            e.list = true;
            return e;
        }
        case '[':
            ++pos_;
            return matrix();
        case '"': {
            // A quote mark inside a string is written twice.
            std::string content;
            size_t at = pos_ + 1;
            while (true) {
                const size_t close = text().find('"', at);
                if (close == std::string::npos) fail("a string without its closing '\"'");
                content += text().substr(at, close - at);
                at = close + 1;
                if (at >= text().size() || text()[at] != '"') break;
                content += '"';
                ++at;
            }
            e.bytes = Bytes(1, '\0') + content + Bytes(1, '\0') + static_cast<char>(kString);
            pos_ = at;
            return e;
        }
        case '#': {
            // "###x" is read as a loop rather than one call per '#': this function's
            // frame is large, and a long run of them would otherwise exhaust the stack
            // before the nesting bound is reached.
            int count = 0;
            while (eat('#')) ++count;
            e = primary();
            for (int i = 0; i < count; ++i) {
                e.bytes += static_cast<char>(kIndirection);
                e.bytes += static_cast<char>(kSecondary);
                nest(e, e.depth);
            }
            return e;
        }
        case '@': {
            ++pos_;
            const bool integer = pos_ < text().size() && lower(text()[pos_]) == 'n';
            if (integer) ++pos_;
            std::string digits;
            while (pos_ < text().size() && isDigit(text()[pos_]) && digits.size() < 4) digits += text()[pos_++];
            if (digits.empty() || std::stoi(digits) > 255) fail("expected the number of an arbitrary constant after '@'");
            e.bytes = Bytes{static_cast<char>(std::stoi(digits)), static_cast<char>(integer ? kArbInt : kArbReal)};
            return e;
        }
        default:
            break;
        }
        if (const Spelling* s = keywordHere(false)) {
            for (const TagInfo* t : s->entries) {
                if (t->shape == Shape::Word && inExpression(t)) {
                    pos_ += s->key.size();
                    e.bytes = tagBytes(*t);
                    return e;
                }
            }
            for (const TagInfo* t : s->entries) {
                if (t->shape == Shape::Function && inExpression(t)) {
                    pos_ += s->key.size();
                    return call(*s);
                }
            }
            fail("expected an expression, found " + quoted(pos_));
        }
        if (keywordHere(true)) fail("expected an expression, found the command " + quoted(pos_));
        if (!isIdentStart(c)) fail("expected an expression, found " + quoted(pos_));
        const std::string name = identifier();
        if (pos_ < text().size() && text()[pos_] == '(') {
            ++pos_;
            const std::vector<Expr> args = storeTarget_ ? formalParameters() : list(')', ',');
            e.bytes = Bytes(1, static_cast<char>(kEnd)) + reversed(args) + variable(name) + static_cast<char>(kUserCall);
            nest(e, std::max(1, deepest(args)));
            return e;
        }
        e.bytes = variable(name);
        if (markLocals_ && locals().count(name)) e.depth = 2;
        return e;
    }

    // A built-in function whose spelling (with its "(") was just read.
    Expr call(const Spelling& s) {
        bool semicolons = false;
        std::vector<Expr> args;
        if (!eat(')')) {
            while (true) {
                // An argument left out between two commas, as in subMat(m,1,1,,2).
                const char next = peekChar();
                if (pos_ < text().size() && (next == ',' || (next == ')' && !args.empty())))
                    args.push_back(Expr{Bytes(1, static_cast<char>(kNothing))});
                else args.push_back(expression());
                if (eat(')')) break;
                if (eat(';')) {
                    semicolons = true;
                    continue;
                }
                if (!eat(',')) fail("expected ',' or ')' in " + s.key + "...), found " + quoted(pos_));
            }
        }
        for (const TagInfo* t : s.entries) {
            if (t->shape != Shape::Function || !inExpression(t)) continue;
            if (semicolons != t->has(kSemicolon)) continue;
            if (args.size() < t->minArgs || args.size() > t->maxArgs) continue;
            Expr e;
            if (t->has(kEndList)) e.bytes += static_cast<char>(kEnd);
            e.bytes += reversed(args) + tagBytes(*t);
            nest(e, deepest(args));
            return e;
        }
        fail(std::string(s.entries.front()->spelling) + "...) does not take " + std::to_string(args.size()) + " arguments");
    }

    // "[" was read: [[a,b][c,d]], or rows separated by ";" as in [a,b;c,d].
    Expr matrix() {
        std::vector<Expr> rows;
        auto row = [this](std::vector<Expr> items) {
            Expr r;
            r.bytes = Bytes(1, static_cast<char>(kEnd)) + reversed(items) + static_cast<char>(kList);
            nest(r, deepest(items));
            return r;
        };
        if (peekChar() == '[') {
            while (eat('[')) rows.push_back(row(list(']', ',')));
            expect(']', "']' closing the matrix");
        } else {
            std::vector<Expr> items;
            while (true) {
                items.push_back(expression());
                if (eat(';')) {
                    rows.push_back(row(std::move(items)));
                    items.clear();
                    continue;
                }
                if (eat(']')) break;
                if (!eat(',')) fail("expected ',', ';' or ']' in a matrix, found " + quoted(pos_));
            }
            rows.push_back(row(std::move(items)));
        }
        Expr e;
        e.bytes = Bytes(1, static_cast<char>(kEnd)) + reversed(rows) + static_cast<char>(kList);
        nest(e, deepest(rows));
        return e;
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
            if (items.empty() || !items.back().thenMayFollow) fail("Then without If");
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
            fail(std::string(first.spelling) + " stands only after Define name(...)=");
        case cmd::EndFunc:
        case cmd::EndPrgm:
            // Only the last line closes the whole variable; an earlier one closes
            // the definition open here.
            if (blocks().empty()) {
                if ((v == cmd::EndFunc) != body_.function)
                    fail(std::string("expected ") + (body_.function ? "EndFunc" : "EndPrgm") + ", found " + std::string(first.spelling));
                rootClosed_ = true;
            } else {
                const Block& b = blocks().back();
                if (b.kind != Block::Definition) {
                    line_ = b.line;
                    fail(unclosed(b));
                }
                if (b.endTag != v)
                    fail(std::string(first.spelling) + " does not close the " + (b.endTag == cmd::EndFunc ? "Func" : "Prgm") +
                         " defined on line " + std::to_string(b.line));
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
                fail(std::string(first.spelling) + " without " + (kind == Block::If ? "If ... Then" : "Try"));
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
                fail(std::string(first.spelling) + " does not close the loop that is open here");
            const Block loop = blocks().back();
            blocks().pop_back();
            current().jumps.push_back({currentItem_, loop.item});
            for (const size_t exit : loop.exits) current().jumps.push_back({exit, currentItem_});
            return Bytes(2, '\0') + command(v);
        }
        case cmd::Exit:
        case cmd::Cycle: {
            auto loop = std::find_if(blocks().rbegin(), blocks().rend(), [](const Block& b) { return b.kind == Block::Loop; });
            if (loop == blocks().rend()) fail(std::string(first.spelling) + " outside a loop");
            loop->exits.push_back(currentItem_);
            return Bytes(2, '\0') + command(v);
        }
        case cmd::Define:
            return define();
        case cmd::Local: {
            std::vector<std::string> names;
            do {
                skipSpaces();
                if (pos_ >= text().size() || !isIdentStart(text()[pos_])) fail("expected a variable name in Local, found " + quoted(pos_));
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
        if (first.shape == Shape::Word) fail(std::string(first.spelling) + " takes no arguments, found " + quoted(pos_));
        fail(std::string(first.spelling) + " does not take " + std::to_string(args.size()) + " arguments");
    }

    // Define name=expr or Define name(params)=expr: the value lies below the target.
    // In "Define name(params)=Func" (or Prgm) the value is the Func tag alone; the
    // block's statements follow as the program's own, down to its EndFunc.
    Bytes define() {
        skipSpaces();
        if (pos_ >= text().size() || !isIdentStart(text()[pos_])) fail("expected a name after Define, found " + quoted(pos_));
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
        expect('=', "'=' after the defined name");
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
        if (!called) fail("a defined Func or Prgm needs its parameters in parentheses, such as " + name + "()");
        const std::uint8_t opened = (*std::find_if(head->entries.begin(), head->entries.end(), opens))->value;
        pos_ += head->key.size();
        if (blocks().size() > kMaxNesting) fail("blocks nest too deeply");
        blocks().push_back({Block::Definition, opened == cmd::Func ? cmd::EndFunc : cmd::EndPrgm, currentItem_, line_, {}});
        // Inside the block only its parameters and its own Local names are local;
        // after its end the program's own are back.
        outerLocals_.push_back(locals());
        locals() = std::set<std::string>(params.begin(), params.end());
        return command(opened) + statement;
    }

    const std::string* text_ = nullptr;
    size_t pos_ = 0;
    int line_ = 0;
    int depth_ = 0;
    Body body_;
    size_t currentItem_ = 0;
    bool simplified_;  // literals as the calculator's Define stores them: -5 and 1/2 as values
    bool markLocals_;  // a TI-92 (original) marks no local names
    bool storeTarget_ = false;  // the operand being read is the target of a store
    std::set<std::string> formalNames_;  // parameters of the functions the statement defines
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
        throw Failure{"line 1: expected the argument list in parentheses, such as () or (a,b)"};
    std::vector<std::string> names;
    const std::string inner = t.substr(1, t.size() - 2);
    if (trimmed(inner).empty()) return names;
    size_t start = 0;
    while (true) {
        const size_t comma = inner.find(',', start);
        std::string name = lowered(trimmed(inner.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        const bool valid = !name.empty() && name.size() <= kMaxNameLength && isIdentStart(name.front()) &&
                           std::all_of(name.begin(), name.end(), isIdentChar);
        if (!valid) throw Failure{"line 1: \"" + name + "\" is not a parameter name"};
        if (std::find(names.begin(), names.end(), name) != names.end())
            throw Failure{"line 1: the parameter " + name + " is listed twice"};
        names.push_back(name);
        if (names.size() > kMaxParameters) throw Failure{"line 1: more than 255 parameters"};
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
        if (lines.size() < 2) throw Failure{"line " + std::to_string(lines.size() + 1) + ": the program ends before EndPrgm or EndFunc"};
        // "Prgm" or "Func" opens the second line, alone or followed by ':' and statements.
        const std::string second = lowered(lines[1]);
        const size_t headAt = std::min(second.find_first_not_of(' '), second.size());
        const std::string head = second.substr(headAt, 4);
        size_t rest = std::min(second.find_first_not_of(' ', headAt + 4), second.size());
        if ((head != "prgm" && head != "func") || (rest < second.size() && second[rest] != ':'))
            throw Failure{"line 2: expected Prgm or Func"};
        const bool function = head == "func";
        result.kind = function ? ProgramKind::Function : ProgramKind::Program;

        for (size_t i = 2; i < lines.size(); ++i) {
            // Names, strings and comments are stored between NUL bytes, so none can hold one.
            if (lines[i].find('\0') != std::string::npos)
                throw Failure{"line " + std::to_string(i + 1) + ": the character 00 cannot stand in a program"};
        }
        if (flags.ti92) flags.flag1 |= 0x40;
        Bytes data;
        // A function read in the one-expression form keeps it while its body is one
        // expression: the expression alone, its parameters unmarked, its literals as
        // values, as Define stores it.
        std::optional<Bytes> lone;
        if (function && flags.oneExpression && lines.size() == 4 && rest == second.size() &&
            lowered(trimmed(lines[3])) == "endfunc")
            lone = Parser(true, {}, true).lone(lines[2], 3);
        if (lone) {
            data = Bytes(1, static_cast<char>(kEndStack)) + *lone + parametersAndFlags(params, flags);
        } else {
            Parser parser(function, params, false, !flags.ti92);
            if (rest < second.size()) parser.parseLine(lines[1], 2, rest + 1, false);
            for (size_t i = 2; i < lines.size(); ++i) {
                line = static_cast<int>(i) + 1;
                parser.parseLine(lines[i], line);
            }
            parser.finish();
            data = definitionBytes(parser.body(), flags);
        }
        if (data.size() > kMaxVariableData) throw Failure{"the tokenized program is too long for a variable file"};
        result.data = std::move(data);
    } catch (const Failure& f) {
        result.error = f.message;
        result.line = f.message.rfind("line ", 0) == 0 ? std::atoi(f.message.c_str() + 5) : line;
    }
    return result;
}

}  // namespace korvane
