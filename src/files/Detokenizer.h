#pragma once
// The detokenizer component that opening and saving call: it turns tokenized
// variable files into program text and program text into tokenized (or text-form)
// variable files. Every operation takes the file path first, returns its errors
// and never throws.
#include <string>

#include "files/Tokens.h"
#include "files/VariableFile.h"

namespace korvane {

struct DetokenizerAnswer {
    std::string value;
    std::string error;  // empty on success
    bool ok() const { return error.empty(); }
};

class Detokenizer {
public:
    // The argument list in parentheses, then the program lines separated by CR,
    // ending with EndPrgm or EndFunc: as stored for a text-form file, detokenized
    // for a tokenized one.
    DetokenizerAnswer ProgramText(const std::string& path) const;
    // The file's 88 header bytes (signature, folder, comment, name, type, attribute).
    DetokenizerAnswer HeaderString1(const std::string& path) const;
    // What the trailer of a rewritten file needs: "program,FF" or "function,FF",
    // FF being Flag 2 in hex.
    DetokenizerAnswer HeaderString2(const std::string& path) const;
    // The first byte of the variable data: "(" exactly when the file is text form.
    DetokenizerAnswer DataStart(const std::string& path) const;
    // Writes `text` (ProgramText's shape) to `target` with the header of `header1`
    // and the kind and flag of `header2`: text form, or tokenized when `tokenized`.
    // `one` is the number of variables in the file and must be 1. A text that does
    // not parse writes nothing. Returns an empty text or the reason.
    // `oneExpression` keeps a function read in the one-expression form in it.
    std::string WriteVariable(const std::string& target, const std::string& header1, const std::string& header2,
                              const std::string& text, int one, bool tokenized, bool oneExpression = false) const;
};

// HeaderString2's answer for the 12-byte trailer of a text-form file.
std::string headerString2Of(const Bytes& textFormTrailer);

// The only program or function of a calculator file (single, with a folder entry, or
// a group holding one) split into the header of its single-variable file and its
// variable data (the bytes that the size word counts).
struct VariableRecord {
    Bytes header;
    Bytes data;
    std::string error;  // empty on success
    bool ok() const { return error.empty(); }
};
VariableRecord splitVariableFile(const Bytes& file);
VariableRecord readVariableRecord(const std::string& path);

// A tokenized file: `header` (88 bytes) with its sizes and type byte set for the
// kind, the size word, the data and the check field (16-bit sum of the size word
// and the data, low byte first).
BuildResult buildTokenizedFile(const Bytes& header, const Bytes& variableData, ProgramKind kind);

// The bytes of a text-form file (as buildVariableFile writes it) made tokenized.
// A text that does not parse gives the parser's message ("line N: ...").
BuildResult tokenizeVariableFile(const Bytes& textFormFile, bool oneExpression = false);

// How the tokenizer writes a variable of the file whose header is `header`: a TI-92
// (original) file in the TI-92's style.
VariableFlags flagsForHeader(const Bytes& header, unsigned char flag2, bool oneExpression);

// The bytes of a tokenized file made into a text-form file that parseVariableFile
// reads, keeping the header and Flag 2.
BuildResult detokenizeVariableFile(const Bytes& tokenizedFile);
// The same from the variable's header, its tokenized data and that data detokenized.
BuildResult textFormFile(const Bytes& header, const Bytes& tokenizedData, const DetokenizeResult& detokenized);

}  // namespace korvane
