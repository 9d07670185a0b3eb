#pragma once
// Expressions of program text read into the calculator's postfix items: operands
// below their tag, names of parameters and declared locals marked, literals as the
// calculator's parser stores them. The statement parser of the tokenizer builds on it.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "files/Messages.h"
#include "files/TokenSpelling.h"
#include "files/VariableFile.h"

namespace korvane::tokenizing {

// The parser spends up to three calls per nesting level, and three more when the
// level is written in parentheses, as the detokenizer writes "#(#(x))". The item
// bound (kMaxNesting) is the real limit; this one only keeps the stack safe.
constexpr int kMaxDepth = 6 * tokens::kMaxNesting + 16;

// One item as bytes, with what the items around it need to know.
struct Expr {
    Bytes bytes;
    bool list = false;
    int depth = 1;  // nesting of the item: one level per tag over its operands
};

int deepest(const std::vector<Expr>& items);

class ExpressionParser {
public:
    // `simplified`: literals as the calculator's Define stores them (-5 and 1/2 as
    // values); `markLocals`: false for a TI-92 (original), which marks no local names.
    ExpressionParser(std::set<std::string> locals, bool simplified, bool markLocals)
        : locals_(std::move(locals)), simplified_(simplified), markLocals_(markLocals) {}

    // One line that is a single expression and nothing else, or nothing.
    std::optional<Bytes> lone(const std::string& text, int line);

    // The error on the line being read.
    [[noreturn]] void fail(MessageId id, std::initializer_list<MessageArg> args = {}) const {
        throw Failure{atLine(line_, calcMessage(id, args)), static_cast<int>(pos_)};
    }
    // The error of a block that another line opened: no column on that line.
    [[noreturn]] void failOnLine(int line, MessageId id) const {
        throw Failure{atLine(line, calcMessage(id))};
    }

protected:
    const std::string& text() const { return *text_; }
    bool atEnd() const { return pos_ >= text().size() || text()[pos_] == ':'; }
    std::set<std::string>& locals() { return locals_; }

    struct DepthGuard {
        explicit DepthGuard(ExpressionParser& p) : parser(p) {
            if (++parser.depth_ > kMaxDepth) parser.fail(MessageId::NestsTooDeeply);
        }
        ~DepthGuard() { --parser.depth_; }
        ExpressionParser& parser;
    };

    void skipSpaces();
    char peekChar();
    bool eat(char c);
    // The text at `at` as an error quotes it, or the end of the line.
    std::string quoted(size_t at) const;
    // `c` or the error `expected`, which takes what stands there instead.
    void expect(char c, MessageId expected);
    // `e` becomes a tag over operands nested `below` deep.
    void nest(Expr& e, int below);
    std::string identifier();
    Bytes variable(const std::string& name);
    const Spelling* keywordHere(bool command);
    // An operator that may follow an operand: infix, or a conversion written after it.
    const TagInfo* operatorHere(size_t& length);
    bool startsOperand();
    Expr expression(int minPrecedence = tokens::kStore);
    // n/d of two integers in lowest terms, as the calculator stores a value it has
    // simplified: d's magnitude, n's magnitude, then the fraction tag.
    static bool fraction(Expr& left, const Expr& right);
    Expr prefix();
    Expr postfix(Expr e);
    static Bytes reversed(const std::vector<Expr>& items);
    // Expressions separated by `separator` up to `close`; an empty list is allowed.
    std::vector<Expr> list(char close, char separator);
    bool startsNumber();
    Expr number();
    // The target of a store, read at `precedence`.
    Expr storeTarget(int precedence);
    // The argument list of a function being defined, its names unmarked.
    std::vector<Expr> formalParameters();
    // The name that a lone variable's bytes hold.
    static std::optional<std::string> nameOf(const Bytes& b);
    // An expression statement. In "value→f(x)" the value is the body of the function
    // f being defined, so its x is marked local there: it is read again once the
    // parameters are known.
    Bytes expressionStatement();
    Expr primary();
    // A built-in function whose spelling (with its "(") was just read.
    Expr call(const Spelling& s);
    // "[" was read: [[a,b][c,d]], or rows separated by ";" as in [a,b;c,d].
    Expr matrix();

    const std::string* text_ = nullptr;
    size_t pos_ = 0;
    int line_ = 0;
    int depth_ = 0;
    std::set<std::string> locals_;
    bool simplified_;
    bool markLocals_;
    bool storeTarget_ = false;           // the operand being read is the target of a store
    bool nameOnly_ = false;              // the operand being read follows '#': a name is not called
    Bytes definedCall_;                  // the call read as a store's target, if any
    std::set<std::string> formalNames_;  // parameters of the functions the statement defines
};

}  // namespace korvane::tokenizing
