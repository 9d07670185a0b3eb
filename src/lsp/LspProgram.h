#pragma once
// A program as a language client holds it: UTF-8 text as `korvane-tool text`
// prints it (the name line, then Prgm or Func ... EndPrgm or EndFunc), each line
// turned into calculator codes with the UTF-16 column where each code begins, so
// that the editor's knowledge (the syntax check, the help while writing, the
// command help) answers in the client's positions. Lines here are the document's,
// counted from 0; the syntax check counts editor lines from 1.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/WritingHelp.h"
#include "insert/CommandHelp.h"

namespace korvane {

struct TextPosition {
    int line = 0;
    int character = 0;  // UTF-16 units
    bool operator==(const TextPosition&) const = default;
};
struct TextRange {
    TextPosition start;
    TextPosition end;
    bool operator==(const TextRange&) const = default;
};

class ProgramDocument {
public:
    explicit ProgramDocument(std::string_view utf8 = {});

    int lineCount() const { return static_cast<int>(lines_.size()); }
    // The calculator codes of a line ("" past the end).
    const std::string& codes(int line) const;
    // The UTF-16 column where code `index` of `line` begins (its length at the end).
    int columnOf(int line, int index) const;
    // The code that a UTF-16 column falls in, the line's length past its end; a
    // column inside ⁻¹ or inside a dropped character gives the code after it.
    int indexOf(int line, int character) const;
    TextRange rangeOf(int line, int start, int length) const;

    // Whether line 0 is the name line; the first line of the program itself.
    bool hasNameLine() const { return hasNameLine_; }
    int firstProgramLine() const { return hasNameLine_ ? 1 : 0; }
    // The document as the syntax check reads it.
    const std::string& nameField() const { return nameField_; }
    const std::string& folder() const { return folder_; }
    const std::string& editorText() const { return editorText_; }
    bool isFunction() const { return function_; }
    int documentLineOf(int editorLine) const { return editorLine - (hasNameLine_ ? 1 : 2); }

private:
    struct Line {
        std::string codes;
        std::vector<int> columns;  // one per code, then the line's length
    };
    std::vector<Line> lines_;
    bool hasNameLine_ = false;
    std::string nameField_;
    std::string folder_;
    std::string editorText_;
    bool function_ = false;
};

// A word's place: its line and its codes [start, start + length).
struct WordSpan {
    int line = 0;
    int start = 0;
    int length = 0;
    bool operator==(const WordSpan&) const = default;
};

enum class Severity { Error = 1, Warning = 2 };
struct Diagnostic {
    TextRange range;
    Severity severity = Severity::Error;
    std::string message;  // UTF-8
};
// The syntax check's error on its line, then what the calculator would only say
// when the program runs: a Goto to a label not defined, a label defined twice, a
// Local name never used, a name longer than 8 characters, an End... without its
// opening line. Messages in the current message language.
std::vector<Diagnostic> diagnosticsOf(const ProgramDocument& document);

// The blocks, from their opening line to their closing one.
struct LineSpan {
    int start = 0;
    int end = 0;
    bool operator==(const LineSpan&) const = default;
};
std::vector<LineSpan> blocksOf(const ProgramDocument& document);

// The word under (or just before) a code index, outside strings and comments.
std::optional<WordSpan> wordAt(const ProgramDocument& document, int line, int index);
// Every whole-word use of `name` (ASCII letters in either case) outside strings
// and comments.
std::vector<WordSpan> occurrencesOf(const ProgramDocument& document, std::string_view name);

// The names the program defines, each where its statement names it.
struct ProgramSymbol {
    ProgramName name;  // a Define'd function keeps its "(" in name.name
    WordSpan span;
};
std::vector<ProgramSymbol> symbolsOf(const ProgramDocument& document);
// The definition of the name at a place: its Lbl, Local, Define or parameter.
std::optional<ProgramSymbol> definitionAt(const ProgramDocument& document, int line, int index);

// The words completion offers at a place, and where the word they replace begins.
struct CompletionAt {
    int start = 0;
    std::vector<Completion> words;
};
CompletionAt completionAt(const ProgramDocument& document, int line, int index);

// The command whose parentheses hold a place, and the argument the place is in.
struct SignatureAt {
    const CommandHelp* help = nullptr;
    int activeParameter = 0;
};
std::optional<SignatureAt> signatureAt(const ProgramDocument& document, int line, int index);
// The arguments of a syntax ("mid(string, start [, count])": "string", "start", "[count]").
std::vector<std::string> parametersOf(std::string_view syntax);

// A name a label or local may take: 1 to 8 name characters, not starting with a digit.
bool isNameText(std::string_view codes);

}  // namespace korvane
