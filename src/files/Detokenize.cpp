// Tokenized variable data to program text. The data is postfix, so reading starts
// at the last byte (the type tag) and walks down: each tag is read before its
// operands, which lie below it nearest-first.
#include <vector>

#include "files/TokenNumbers.h"
#include "files/TokenTable.h"
#include "files/Tokens.h"

namespace korvane {
namespace {

using namespace tokens;

struct Failure {
    std::string message;
};

// One item as text, with the binding strength of its outermost operator.
struct Piece {
    std::string text;
    int precedence = kAtom;
    bool list = false;      // a list literal: a list of lists is a matrix
    bool variable = false;  // a plain name
    bool string = false;    // a string literal
    bool call = false;      // a built-in function's call, which the calculator writes "(sin(x))^2"
    bool root = false;      // a square root, which it writes "1/(√(x))"
    // An indirection as a call's callee writes it: "#f" or "#\"f\"" for a name or a
    // string, else the indirected expression in parentheses, "#(a&b)".
    std::string callee;
};

std::string hexByte(unsigned v) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string{digits[(v >> 4) & 0xF], digits[v & 0xF]};
}

bool isWordSpelling(std::string_view s) {
    const unsigned char c = static_cast<unsigned char>(s.front());
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class Reader {
public:
    explicit Reader(const Bytes& data) : data_(data), pos_(static_cast<long>(data.size()) - 1) {}

    DetokenizeResult run() {
        DetokenizeResult result;
        if (take("the type tag") != kUserDef) fail("the data does not end with the program tag DC");
        const Definition d = definition();
        result.kind = d.kind;
        result.oneExpression = d.oneExpression;
        std::string text = "(";
        for (size_t i = 0; i < d.params.size(); ++i) text += (i ? "," : "") + d.params[i];
        text += ")\r";
        if (d.oneExpression) {
            // A one-expression function (Define f(x)=expr) has no Func and no lines.
            text += "Func\r" + expression().text + "\rEndFunc";
            if (peek("the end of the function") != kEndStack) fail("expected the end of the function");
        } else {
            text += body(d.kind == ProgramKind::Function);
        }
        if (pos_ != 0) fail("unexpected data below the end of the program");
        result.text = std::move(text);
        return result;
    }

private:
    [[noreturn]] void fail(const std::string& message) const {
        throw Failure{message + " (at offset " + std::to_string(pos_ < 0 ? 0 : pos_) + ")"};
    }
    std::uint8_t at(long i) const { return static_cast<std::uint8_t>(data_[static_cast<size_t>(i)]); }
    std::uint8_t peek(const char* what) const {
        if (pos_ < 0) fail(std::string("the data ends early, in ") + what);
        return at(pos_);
    }
    std::uint8_t take(const char* what) {
        const std::uint8_t b = peek(what);
        --pos_;
        return b;
    }

    struct DepthGuard {
        explicit DepthGuard(Reader& r) : reader(r) {
            if (++reader.depth_ > kMaxNesting) reader.fail("the expressions nest too deeply");
        }
        ~DepthGuard() { --reader.depth_; }
        Reader& reader;
    };

    // What lies under a program tag DC: flags, parameters, and Prgm or Func, unless
    // the function is a single expression.
    struct Definition {
        std::vector<std::string> params;
        ProgramKind kind = ProgramKind::Function;
        bool oneExpression = false;
    };
    Definition definition() {
        Definition d;
        take("the flags");
        take("the flags");
        take("the flags");
        while (peek("the parameter list") != kEnd) {
            if (d.params.size() == kMaxParameters) fail("more than 255 parameters");
            const Piece param = expression();
            if (!param.variable) fail("a parameter that is not a name");
            d.params.push_back(param.text);
        }
        take("the parameter list");
        if (peek("the program") == kCommand && pos_ >= 1 && (at(pos_ - 1) == cmd::Prgm || at(pos_ - 1) == cmd::Func)) {
            pos_ -= 1;
            d.kind = take("the program") == cmd::Func ? ProgramKind::Function : ProgramKind::Program;
        } else {
            d.oneExpression = true;
        }
        return d;
    }

    // "Prgm" or "Func", the statements with their separators, down to the end of the
    // body (E9), which is left unread.
    std::string body(bool function) {
        std::string text = function ? "Func" : "Prgm";
        std::string lastStatement;
        while (peek("the program body") != kEndStack) {
            const std::uint8_t separator = take("a line break");
            if (separator != kNewLine && separator != kNextStatement)
                fail("expected a line break, found tag " + hexByte(separator));
            const std::uint8_t indent = take("an indentation");
            text += separator == kNewLine ? "\r" : ":";
            text.append(indent, ' ');
            const std::uint8_t next = peek("a statement");
            if (next == kNewLine || next == kNextStatement || next == kEndStack) {
                lastStatement.clear();
                continue;
            }
            lastStatement = statement();
            text += lastStatement;
        }
        const char* end = function ? "EndFunc" : "EndPrgm";
        if (lastStatement != end) fail(std::string("the program does not end with ") + end);
        return text;
    }

    // Bytes between two NUL bytes, read downwards: the upper NUL is at the current position.
    std::string nulDelimited(const char* what) {
        if (take(what) != 0) fail(std::string("expected the start of ") + what);
        const long top = pos_;
        while (peek(what) != 0) --pos_;
        std::string s(data_.begin() + (pos_ + 1), data_.begin() + (top + 1));
        --pos_;
        return s;
    }

    std::string magnitude(const char* what) {
        const std::uint8_t count = take(what);
        std::string littleEndian(count, '\0');
        for (int i = count - 1; i >= 0; --i) littleEndian[static_cast<size_t>(i)] = static_cast<char>(take(what));
        return littleEndian;
    }

    // Operands up to the END tag, in source order.
    std::vector<Piece> untilEnd(const char* what) {
        std::vector<Piece> items;
        while (peek(what) != kEnd) items.push_back(expression());
        take(what);
        return items;
    }

    std::vector<Piece> operands(const TagInfo& tag) {
        std::vector<Piece> args;
        if (tag.has(kEndList)) {
            args = untilEnd("an argument list");
            if (args.size() < tag.minArgs || args.size() > tag.maxArgs)
                fail(std::string(tag.spelling) + " with " + std::to_string(args.size()) + " arguments");
        } else {
            for (int i = 0; i < tag.maxArgs; ++i) args.push_back(expression());
        }
        return args;
    }

    static std::string joined(const std::vector<Piece>& args, const char* separator = ",") {
        std::string s;
        for (size_t i = 0; i < args.size(); ++i) s += (i ? separator : "") + args[i].text;
        return s;
    }

    static std::string wrapped(const Piece& p, bool needParens) {
        return needParens ? "(" + p.text + ")" : p.text;
    }

    Piece infix(const TagInfo& tag) {
        Piece first = expression();
        Piece second = expression();
        const Piece& left = tag.shape == Shape::InfixLeftLow ? second : first;
        const Piece& right = tag.shape == Shape::InfixLeftLow ? first : second;
        const int p = tag.precedence;
        const bool rightAssoc = p == kPower || p == kConcat;
        const std::string spelling = isWordSpelling(tag.spelling) ? " " + std::string(tag.spelling) + " "
                                                                  : std::string(tag.spelling);
        Piece out;
        out.precedence = p;
        // The calculator's own print keeps parentheses around a function raised to a
        // power and around a square root divided by.
        const bool rootDivisor = right.root && tag.spelling == "/";
        const bool callBase = left.call && tag.spelling == "^";
        std::string leftText = wrapped(left, callBase || (rightAssoc ? left.precedence <= p : left.precedence < p));
        // "2 .-r", not "2.-r", which reads as the number 2. minus r.
        if (spelling.front() == '.' && !leftText.empty() && leftText.back() >= '0' && leftText.back() <= '9')
            leftText += ' ';
        const std::string rightText =
            wrapped(right, rootDivisor || (rightAssoc ? right.precedence < p : right.precedence <= p));
        // "(ℯ)^(-1)", not "ℯ^(-1)", which reads as the exponential function ℯ^(.
        if (tag.spelling == "^" && leftText == "\x96" && !rightText.empty() && rightText.front() == '(')
            leftText = "(" + leftText + ")";
        out.text = leftText + spelling + rightText;
        return out;
    }

    Piece fromTable(const TagInfo& tag) {
        Piece out;
        switch (tag.shape) {
        case Shape::Word:
            out.text = tag.spelling;
            return out;
        case Shape::Function: {
            const std::vector<Piece> args = operands(tag);
            out.text = std::string(tag.spelling) + joined(args, tag.has(kSemicolon) ? ";" : ",") + ")";
            out.call = true;
            out.root = tag.spelling == "\xA8(";
            return out;
        }
        case Shape::Prefix: {
            const Piece operand = expression();
            out.precedence = tag.precedence;
            out.text = std::string(tag.spelling) + (isWordSpelling(tag.spelling) ? " " : "") +
                       wrapped(operand, operand.precedence < tag.precedence);
            return out;
        }
        case Shape::Postfix: {
            const Piece operand = expression();
            out.precedence = tag.precedence;
            out.text = wrapped(operand, operand.precedence < tag.precedence) + std::string(tag.spelling);
            return out;
        }
        case Shape::InfixLeftLow:
        case Shape::InfixLeftHigh:
            return infix(tag);
        default:
            fail("tag " + hexByte(tag.value) + " cannot stand in an expression");
        }
    }

    Piece expression() {
        DepthGuard guard(*this);
        const std::uint8_t tag = take("an expression");
        Piece out;
        switch (tag) {
        case kVarName:
            ++pos_;
            out.text = nulDelimited("a name");
            if (out.text.empty()) fail("an empty name");
            out.variable = true;
            return out;
        case kSystemTag: {
            const std::uint8_t v = take("a system variable");
            const TagInfo* info = findTag(Space::System, v);
            if (!info) fail("unknown system variable " + hexByte(v));
            out.text = info->spelling;
            return out;
        }
        case kArbReal:
        case kArbInt:
            out.text = std::string(tag == kArbReal ? "@" : "@n") + std::to_string(take("a constant"));
            return out;
        case kPosInt:
        case kNegInt:
            out.text = decimalOfMagnitude(magnitude("an integer"));
            if (tag == kNegInt) {
                out.text = ch::Negate + out.text;
                out.precedence = kNegate;
            }
            return out;
        case kPosFrac:
        case kNegFrac: {
            const std::string numerator = decimalOfMagnitude(magnitude("a fraction"));
            const std::string denominator = decimalOfMagnitude(magnitude("a fraction"));
            out.text = (tag == kNegFrac ? std::string(1, ch::Negate) : "") + numerator + "/" + denominator;
            out.precedence = kMultiply;
            return out;
        }
        case kFloat: {
            FloatBytes f{};
            for (int i = 8; i >= 0; --i) f[static_cast<size_t>(i)] = take("a float");
            const auto text = textOfFloat(f);
            if (!text) fail("a float with digits that are not decimal");
            out.text = *text;
            if (out.text.front() == ch::Negate) out.precedence = kNegate;
            return out;
        }
        case kString:
            // A quote mark inside a string is written twice, so that the text reads back.
            for (const char c : nulDelimited("a string")) out.text += c == '"' ? std::string("\"\"") : std::string(1, c);
            out.text = "\"" + out.text + "\"";
            out.string = true;
            return out;
        case kNothing:
            return out;
        case kLocal:
            return expression();
        case kSubscript: {
            const Piece var = expression();
            const std::vector<Piece> index = untilEnd("a subscript");
            if (index.empty() || index.size() > 2) fail("a subscript with " + std::to_string(index.size()) + " indices");
            out.text = wrapped(var, var.precedence < kPostfix) + "[" + joined(index) + "]";
            out.precedence = kPostfix;
            return out;
        }
        case kList: {
            const std::vector<Piece> items = untilEnd("a list");
            bool matrix = !items.empty();
            for (const Piece& p : items) matrix = matrix && p.list;
            if (matrix) {
                out.text = "[";
                for (const Piece& row : items) out.text += "[" + row.text.substr(1, row.text.size() - 2) + "]";
                out.text += "]";
            } else {
                out.text = "{" + joined(items) + "}";
                out.list = true;
            }
            return out;
        }
        case kUserCall: {
            // The callee is a name, or the indirection of what names the function.
            const Piece name = expression();
            if (!name.variable && name.callee.empty()) fail("a call whose name is not a variable");
            out.text = (name.variable ? name.text : name.callee) + "(" + joined(untilEnd("a call")) + ")";
            return out;
        }
        case kDms: {
            const std::vector<Piece> parts = untilEnd("an angle");
            if (parts.empty() || parts.size() > 3) fail("an angle with " + std::to_string(parts.size()) + " parts");
            // The degree mark binds tighter than any operator: "(6^2)°".
            out.text = wrapped(parts[0], parts[0].precedence < kPostfix) + ch::Degree;
            if (parts.size() > 1) out.text += parts[1].text + "'";
            if (parts.size() > 2) out.text += parts[2].text + "\"";
            out.precedence = kPostfix;
            return out;
        }
        case kSecondary:
            return secondary();
        default:
            break;
        }
        const TagInfo* info = findTag(Space::Primary, tag);
        if (!info || info->shape == Shape::Special) {
            if (info && info->value <= 0x1B) {
                out.text = info->spelling;
                out.variable = true;
                return out;
            }
            fail("unknown tag " + hexByte(tag));
        }
        return fromTable(*info);
    }

    Piece secondary() {
        const std::uint8_t v = take("a function");
        Piece out;
        switch (v) {
        case kIndirection: {
            const Piece operand = expression();
            out.text = "#" + wrapped(operand, !operand.variable);
            out.callee = "#" + wrapped(operand, !operand.variable && !operand.string);
            return out;
        }
        case kBinary:
        case kHex: {
            if (take("a number") != kPosInt) fail("a binary or hexadecimal number that is not an integer");
            const std::string le = magnitude("an integer");
            std::string digits;
            for (const char c : le) {
                const unsigned b = static_cast<unsigned char>(c);
                if (v == kHex) {
                    digits.insert(0, hexByte(b));
                } else {
                    for (int bit = 0; bit < 8; ++bit) digits.insert(digits.begin(), static_cast<char>('0' + ((b >> bit) & 1)));
                }
            }
            const size_t first = digits.find_first_not_of('0');
            digits = first == std::string::npos ? "0" : digits.substr(first);
            out.text = (v == kHex ? "0h" : "0b") + digits;
            return out;
        }
        case kPolarComplex: {
            const Piece angle = expression();
            const Piece magnitude = expression();
            out.text = "(" + magnitude.text + ch::Angle + angle.text + ")";
            return out;
        }
        default:
            break;
        }
        const TagInfo* info = findTag(Space::Secondary, v);
        if (!info || info->shape == Shape::Special) fail("unknown function tag " + hexByte(v) + " E3");
        return fromTable(*info);
    }

    std::string statement() {
        const std::uint8_t tag = peek("a statement");
        if (tag == kComment) {
            take("a comment");
            take("a comment");
            return std::string(1, ch::Copyright) + nulDelimited("a comment");
        }
        if (tag != kCommand) return expression().text;
        take("a command");
        const std::uint8_t v = take("a command");
        const TagInfo* info = findTag(Space::Command, v);
        if (!info) fail("unknown command tag " + hexByte(v) + " E4");
        if (info->has(kJump)) {
            take("a jump");
            take("a jump");
        }
        switch (v) {
        case cmd::If:
            return "If " + expression().text;
        case cmd::IfThen:
            return "If " + expression().text + " Then";
        case cmd::ElseIf:
            return "ElseIf " + expression().text + " Then";
        case cmd::Define: {
            const Piece target = expression();
            const std::uint8_t below = peek("the defined value");
            // A function or program defined inside the program: Func or Prgm is the
            // Define's value, and the block's statements follow as the program's own.
            if (below == kCommand && pos_ >= 1 && (at(pos_ - 1) == cmd::Func || at(pos_ - 1) == cmd::Prgm)) {
                pos_ -= 2;
                return "Define " + target.text + "=" + (at(pos_ + 1) == cmd::Func ? "Func" : "Prgm");
            }
            if (below != kUserDef) return "Define " + target.text + "=" + expression().text;
            // A function or program defined inside the program: a whole definition
            // whose parameters are those of the target.
            DepthGuard guard(*this);
            take("the defined value");
            const Definition d = definition();
            if (d.oneExpression) fail("a defined function without Func or Prgm");
            const std::string block = body(d.kind == ProgramKind::Function);
            take("the end of the defined block");
            return "Define " + target.text + "=" + block;
        }
        default:
            break;
        }
        if (info->shape == Shape::Word) return std::string(info->spelling);
        const std::vector<Piece> args = operands(*info);
        return std::string(info->spelling) + (args.empty() ? "" : " " + joined(args));
    }

    const Bytes& data_;
    long pos_;
    int depth_ = 0;
};

}  // namespace

bool isProgramText(const Bytes& variableData) { return !variableData.empty() && variableData.front() == '('; }

DetokenizeResult detokenize(const Bytes& variableData) {
    if (variableData.empty()) return {{}, ProgramKind::Program, "the variable data is empty"};
    if (isProgramText(variableData)) return {{}, ProgramKind::Program, "the variable holds program text, not tokens"};
    if (static_cast<unsigned char>(variableData.front()) != kEndStack)
        return {{}, ProgramKind::Program, "the variable data does not start with the end-of-program tag E9"};
    try {
        return Reader(variableData).run();
    } catch (const Failure& f) {
        return {{}, ProgramKind::Program, f.message};
    }
}

}  // namespace korvane
