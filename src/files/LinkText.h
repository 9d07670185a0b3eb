#pragma once
// The text form in which TI's link software exports a program: a few header lines
// ("\START92\", "\COMMENT=", "\NAME=", "\FILE="), the program as the calculator
// shows it, a blank line and "\STOP92\". Characters beyond ASCII are written as
// backslash escapes such as "\->\" for the store arrow or "\theta\"; a backslash
// that opens no known escape (a folder path, "main\prog") stays as it is.
#include <string>
#include <string_view>

#include "files/VariableFile.h"

namespace korvane {

struct LinkText {
    std::string comment;
    std::string name;     // the variable's name
    std::string file;     // the link software's file name, "folder.name.89p"
    std::string program;  // calculator codes: "(args)", "Prgm" or "Func", ..., lines joined by CR LF
};

struct LinkTextResult {
    LinkText text;
    std::string error;  // empty on success; else why, in UTF-8 (it quotes nothing of the program)
    bool ok() const { return error.empty(); }
};

// Text from outside Korvane (an export, a text file to pack) in calculator codes,
// line breaks made CR LF. Bytes that are valid UTF-8 and hold more than ASCII are
// UTF-8 (a leading byte-order mark dropped), read through the character table;
// any other bytes are the link software's own 8-bit codes, the calculator's.
struct OutsideText {
    std::string text;
    std::string error;  // UTF-8: the line and column of a character without a code
    bool ok() const { return error.empty(); }
};
OutsideText readOutsideText(std::string_view bytes);

// Reads an exported file, in UTF-8 or in the link software's 8-bit codes (as
// readOutsideText). Lines may end in CR LF, CR or LF.
LinkTextResult readLinkText(std::string_view bytes);

// Writes the file as the link software does, CR LF line ends; in UTF-8 when its
// 8-bit codes would happen to read as UTF-8.
std::string writeLinkText(const LinkText& text);

// Calculator codes to the link software's escapes and back.
std::string escapeLinkText(std::string_view calc);
std::string unescapeLinkText(std::string_view escaped);

// The folder of a "folder.name.89p" file name; empty when the name holds none.
std::string linkTextFolder(std::string_view file);

// The Document of an exported program: its name field "name(args)", its folder
// (from the file name, else "main"), its editor text and kind (a function takes
// the type byte 0x13, as the calculator's own functions); a "**TI92P*" file when
// `ti92` (the calculator family the link software's file name gives).
VariableFileInput documentOfLinkText(const LinkText& text, bool ti92);

// The export of a Document: its name, its file name "folder.name.ext" and its
// program (the argument list, then the editor text's lines).
LinkText linkTextOf(const VariableFileContent& content, const std::string& editorText, const std::string& extension);

}  // namespace korvane
