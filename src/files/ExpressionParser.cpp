#include "files/ExpressionParser.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "files/TokenNumbers.h"
#include "files/TokenWriting.h"

namespace korvane::tokenizing {

using namespace tokens;

int deepest(const std::vector<Expr>& items) {
    int d = 0;
    for (const Expr& e : items) d = std::max(d, e.depth);
    return d;
}

std::optional<Bytes> ExpressionParser::lone(const std::string& text, int line) {
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

void ExpressionParser::skipSpaces() {
    while (pos_ < text().size() && text()[pos_] == ' ') ++pos_;
}

char ExpressionParser::peekChar() {
    skipSpaces();
    return pos_ < text().size() ? text()[pos_] : '\0';
}

bool ExpressionParser::eat(char c) {
    if (peekChar() != c || pos_ >= text().size()) return false;
    ++pos_;
    return true;
}

std::string ExpressionParser::quoted(size_t at) const {
    if (at >= text().size()) return calcMessage(MessageId::TheEndOfTheLine);
    size_t end = at;
    while (end < text().size() && end < at + 12 && text()[end] != ':') ++end;
    return "\"" + text().substr(at, std::max<size_t>(end - at, 1)) + "\"";
}

void ExpressionParser::expect(char c, MessageId expected) {
    if (!eat(c)) fail(expected, {quoted(pos_)});
}

void ExpressionParser::nest(Expr& e, int below) {
    e.depth = below + 1;
    e.list = false;
    if (e.depth > kMaxNesting) fail(MessageId::NestsTooDeeply);
}

std::string ExpressionParser::identifier() {
    std::string name;
    auto part = [&] {
        const size_t start = pos_;
        while (pos_ < text().size() && isIdentChar(text()[pos_])) name += lower(text()[pos_++]);
        if (pos_ - start > kMaxNameLength) fail(MessageId::NameTooLong, {text().substr(start, pos_ - start)});
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

Bytes ExpressionParser::variable(const std::string& name) {
    Bytes b = nameBytes(name);
    if (markLocals_ && locals().count(name)) b += static_cast<char>(kLocal);
    return b;
}

const Spelling* ExpressionParser::keywordHere(bool command) {
    skipSpaces();
    if (pos_ >= text().size()) return nullptr;
    // Lambdas rather than function pointers, so that the search inlines the test.
    if (command) return keywords().at(text(), pos_, [](const TagInfo* t) { return isCommand(t); });
    return keywords().at(text(), pos_, [](const TagInfo* t) { return inExpression(t); });
}

const TagInfo* ExpressionParser::operatorHere(size_t& length) {
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

bool ExpressionParser::startsOperand() {
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

Expr ExpressionParser::expression(int minPrecedence) {
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
        const int rightPrecedence = rightAssoc ? op->precedence : op->precedence + 1;
        Expr right = op->precedence == kStore ? storeTarget(rightPrecedence) : expression(rightPrecedence);
        if (simplified_ && op->space == Space::Primary && op->value == kDivideTag && fraction(left, right)) continue;
        left.bytes = op->shape == Shape::InfixLeftLow ? left.bytes + right.bytes + tagBytes(*op)
                                                      : right.bytes + left.bytes + tagBytes(*op);
        nest(left, std::max(left.depth, right.depth));
    }
    return left;
}

bool ExpressionParser::fraction(Expr& left, const Expr& right) {
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

Expr ExpressionParser::prefix() {
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

Expr ExpressionParser::postfix(Expr e) {
    while (true) {
        const char c = peekChar();
        if (pos_ >= text().size()) return e;
        if (c == '[') {
            ++pos_;
            std::vector<Expr> index = list(']', ',');
            if (index.empty() || index.size() > 2) fail(MessageId::SubscriptIndices);
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

Bytes ExpressionParser::reversed(const std::vector<Expr>& items) {
    Bytes b;
    for (auto it = items.rbegin(); it != items.rend(); ++it) b += it->bytes;
    return b;
}

std::vector<Expr> ExpressionParser::list(char close, char separator) {
    std::vector<Expr> items;
    if (eat(close)) return items;
    while (true) {
        items.push_back(expression());
        if (eat(close)) return items;
        if (!eat(separator))
            fail(MessageId::ExpectedSeparatorOrClose, {std::string(1, separator), std::string(1, close), quoted(pos_)});
    }
}

bool ExpressionParser::startsNumber() {
    const char c = peekChar();
    return pos_ < text().size() &&
           (isDigit(c) || (c == '.' && pos_ + 1 < text().size() && isDigit(text()[pos_ + 1])));
}

Expr ExpressionParser::number() {
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
        if (digits.empty() || digits.size() > 5) fail(MessageId::ExpectedExponentDigits);
        exponent = std::stoi(digits) * (negative ? -1 : 1);
    }
    if (!isFloat) {
        e.bytes = integerBytes(magnitudeOfDecimal(mantissa), kPosInt);
        return e;
    }
    const auto f = floatOfText(mantissa, exponent);
    if (!f) fail(MessageId::NumberOutOfRange);
    e.bytes.assign(f->begin(), f->end());
    e.bytes += static_cast<char>(kFloat);
    return e;
}

Expr ExpressionParser::storeTarget(int precedence) {
    // "value→f(x)" defines f: its x is a formal parameter, never marked local. Only a
    // target that is the call alone defines a function; any other is read again as
    // an ordinary expression.
    const size_t start = pos_;
    const std::set<std::string> namesBefore = formalNames_;
    storeTarget_ = true;
    definedCall_.clear();
    Expr target = expression(precedence);
    storeTarget_ = false;
    if (definedCall_.empty() || target.bytes == definedCall_) return target;
    formalNames_ = namesBefore;
    pos_ = start;
    return expression(precedence);
}

std::vector<Expr> ExpressionParser::formalParameters() {
    const bool marks = markLocals_;
    markLocals_ = false;
    std::vector<Expr> params = list(')', ',');
    markLocals_ = marks;
    for (const Expr& p : params)
        if (auto name = nameOf(p.bytes)) formalNames_.insert(*name);
    return params;
}

std::optional<std::string> ExpressionParser::nameOf(const Bytes& b) {
    if (b.size() >= 3 && b.front() == '\0' && b.back() == '\0') return b.substr(1, b.size() - 2);
    if (b.size() == 1)
        if (const TagInfo* t = findTag(Space::Primary, static_cast<std::uint8_t>(b[0])); t && t->shape == Shape::Special && t->value <= 0x1B)
            return std::string(t->spelling);
    return std::nullopt;
}

Bytes ExpressionParser::expressionStatement() {
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

Expr ExpressionParser::primary() {
    DepthGuard guard(*this);
    const char c = peekChar();
    if (pos_ >= text().size() || c == ':')
        fail(MessageId::ExpectedExpression, {calcMessage(MessageId::TheEndOfTheStatement)});
    // Only the store's first item can be the function it defines: "value→f(x)".
    const bool storeTarget = std::exchange(storeTarget_, false);
    const bool nameOnly = std::exchange(nameOnly_, false);
    Expr e;
    if (startsNumber()) return number();
    switch (c) {
    case '(': {
        ++pos_;
        Expr inner = expression();
        if (eat(ch::Angle)) {
            Expr angle = expression();
            expect(')', MessageId::ExpectedClosingParenthesis);
            e.bytes = inner.bytes + angle.bytes + static_cast<char>(kPolarComplex) + static_cast<char>(kSecondary);
            nest(e, std::max(inner.depth, angle.depth));
            return e;
        }
        expect(')', MessageId::ExpectedClosingParenthesis);
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
            if (close == std::string::npos) fail(MessageId::UnclosedString);
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
        // A name after '#' is what it indirects, never a call: in "#f(x)" the '('
        // calls the function that #f names, as the calculator's parser reads it.
        nameOnly_ = true;
        e = primary();
        for (int i = 0; i < count; ++i) {
            e.bytes += static_cast<char>(kIndirection);
            e.bytes += static_cast<char>(kSecondary);
            nest(e, e.depth);
        }
        if (pos_ < text().size() && text()[pos_] == '(') {
            ++pos_;
            const std::vector<Expr> args = list(')', ',');
            e.bytes = Bytes(1, static_cast<char>(kEnd)) + reversed(args) + e.bytes + static_cast<char>(kUserCall);
            nest(e, std::max(e.depth, deepest(args)));
        }
        return e;
    }
    case '@': {
        ++pos_;
        const bool integer = pos_ < text().size() && lower(text()[pos_]) == 'n';
        if (integer) ++pos_;
        std::string digits;
        while (pos_ < text().size() && isDigit(text()[pos_]) && digits.size() < 4) digits += text()[pos_++];
        if (digits.empty() || std::stoi(digits) > 255) fail(MessageId::ExpectedArbitraryConstant);
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
        fail(MessageId::ExpectedExpression, {quoted(pos_)});
    }
    if (keywordHere(true)) fail(MessageId::ExpectedExpression, {calcMessage(MessageId::TheCommand, {quoted(pos_)})});
    if (!isIdentStart(c)) fail(MessageId::ExpectedExpression, {quoted(pos_)});
    const std::string name = identifier();
    e.bytes = variable(name);
    // A local's marker is one more level under the name.
    if (markLocals_ && locals().count(name)) e.depth = 2;
    if (!nameOnly && pos_ < text().size() && text()[pos_] == '(') {
        ++pos_;
        const std::vector<Expr> args = storeTarget ? formalParameters() : list(')', ',');
        e.bytes = Bytes(1, static_cast<char>(kEnd)) + reversed(args) + e.bytes + static_cast<char>(kUserCall);
        nest(e, std::max(e.depth, deepest(args)));
        if (storeTarget) definedCall_ = e.bytes;
    }
    return e;
}

Expr ExpressionParser::call(const Spelling& s) {
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
            if (!eat(',')) fail(MessageId::ExpectedCommaOrCloseIn, {s.key, quoted(pos_)});
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
    fail(MessageId::WrongArgumentCount, {std::string(s.entries.front()->spelling) + "...)", args.size()});
}

Expr ExpressionParser::matrix() {
    std::vector<Expr> rows;
    auto row = [this](std::vector<Expr> items) {
        Expr r;
        r.bytes = Bytes(1, static_cast<char>(kEnd)) + reversed(items) + static_cast<char>(kList);
        nest(r, deepest(items));
        return r;
    };
    if (peekChar() == '[') {
        while (eat('[')) rows.push_back(row(list(']', ',')));
        expect(']', MessageId::ExpectedMatrixClose);
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
            if (!eat(',')) fail(MessageId::ExpectedMatrixSeparator, {quoted(pos_)});
        }
        rows.push_back(row(std::move(items)));
    }
    Expr e;
    e.bytes = Bytes(1, static_cast<char>(kEnd)) + reversed(rows) + static_cast<char>(kList);
    nest(e, deepest(rows));
    return e;
}
}  // namespace korvane::tokenizing
