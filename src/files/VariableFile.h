#pragma once
// The single-variable file of the TI-89 link format, in the text form that Korvane
// writes and reads itself (.89p, .92p, .89f, .92f share one layout).
#include <cstdint>
#include <string>

namespace korvane {

using Bytes = std::string;  // raw bytes; text inside is calculator codes

constexpr int kHeaderSize = 88;
constexpr int kTrailerSize = 12;
constexpr int kMaxFileSize = 65535;

// Where the fields of a variable file's header stand.
namespace layout {
inline constexpr size_t kFolder = 0x0A;
inline constexpr size_t kComment = 0x12;
inline constexpr size_t kCommentSize = 40;
inline constexpr size_t kEntryCount = 0x3A;
inline constexpr size_t kTable = 0x3C;  // the first 16-byte entry
inline constexpr size_t kName = 0x40;
inline constexpr size_t kType = 0x48;
inline constexpr size_t kAttribute = 0x49;
inline constexpr size_t kFileSize = 0x4C;
inline constexpr size_t kSizeWord = 86;  // big-endian, the last two bytes of the 88
inline constexpr size_t kFieldWidth = 8;  // a folder or variable name
}  // namespace layout

// A letter that the calculator takes in a name: the ASCII letters, its Greek letters
// but π, Π and Σ (a constant and two operators), µ, and the letters of the Latin-1
// half of its character set (not × and ÷).
inline bool isNameLetter(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')) return true;
    if (u >= 0x80 && u <= 0x94) return u != 0x8C && u != 0x8B && u != 0x8E;
    if (u == 0xB5) return true;
    return u >= 0xC0 && u != 0xD7 && u != 0xF7;
}

// Whether the calculator takes `name` (calculator codes) for a variable or a folder:
// a letter, then letters, digits or "_", eight characters at most.
bool isCalculatorName(const std::string& name);

// The 88 header bytes of a new document: "**TI89**", folder "main", name "nouveau".
Bytes newDocumentHeader();
// The 12 trailer bytes of a new program or function.
Bytes programTrailer();
Bytes functionTrailer();

// What the writer takes from the Document.
struct VariableFileInput {
    std::string nameField;    // "nouveau()" or "abc(x)": name, then the argument list
    std::string folderField;  // "main"
    std::string editorText;   // CR LF line breaks
    Bytes variableHeader;     // 88 bytes
    Bytes variableTrailer;    // 12 bytes
    bool oneExpression = false;  // a function read in the one-expression form keeps it
};

// What the reader gives back.
struct VariableFileContent {
    Bytes header;             // offsets 0-87
    Bytes trailer;            // the last 12 bytes
    std::string folder;       // from offset 10, up to the first NUL (at most 8)
    std::string name;         // from offset 64, up to the first NUL (at most 8)
    std::string arguments;    // between the "(" at 88 and the first ")" after it
    std::string programText;  // after that ")" up to the trailer; CR line breaks as stored
};

struct BuildResult {
    Bytes bytes;
    std::string error;  // empty on success
    int column = -1;    // a tokenizer's error: where on its line it stands, -1 when not known
    bool ok() const { return error.empty(); }
};

// The file's bytes for a Document. Refuses a variable name or a folder that the
// calculator would not take (an empty folder is its current one; the variable
// name's error is on line 1, which stands for the name field), texts whose file
// would not fit the 16-bit size fields, and a header or trailer of the wrong length.
// Errors are in calculator codes.
BuildResult buildVariableFile(const VariableFileInput& input);

struct ParseResult {
    VariableFileContent content;
    std::string error;  // empty on success
    bool ok() const { return error.empty(); }
};

// Splits a text-form file's bytes. Refuses data too short for a header and a
// trailer, and data with no ")" closing the argument list before the trailer. The
// error is in calculator codes.
ParseResult parseVariableFile(const Bytes& bytes);

// Writes the file beside the target and renames it over the target, so a failed
// write never destroys the previous file. Returns an empty text or the reason.
std::string writeVariableFile(const VariableFileInput& input, const std::string& path);

// Reads and parses a text-form file; the error gives the reason.
ParseResult readVariableFile(const std::string& path);

// The editor text of program text as a variable stores it: each CR becomes the
// editor's CR LF; a line feed alone is a calculator character and stays.
std::string editorTextOf(const std::string& programText);

// Sets the file size (32 bits, little-endian) and the size word (big-endian) of a
// single-variable header for `dataSize` bytes of variable data.
void setVariableSizes(Bytes& header, size_t dataSize);

// Appends the check field: the 16-bit byte sum from the size word on, low byte first.
void appendCheckSum(Bytes& file);

// Whole-file helpers shared by the file formats. Both return an empty text on
// success or a readable reason in UTF-8 (the system's words for a system error).
std::string readWholeFile(const std::string& path, Bytes& out);
std::string writeFileAtomically(const std::string& path, const Bytes& bytes);

}  // namespace korvane
