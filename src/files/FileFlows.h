#pragma once
// The rules of opening and saving that need no window: the browsers' file pattern,
// type list and path box, the command-line and drop checks, the messages, and the
// two file operations themselves (a Document written, text form or tokenized; a
// variable file read, through the detokenizer when it is tokenized).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/Detokenizer.h"
#include "files/Document.h"
#include "files/Messages.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"

namespace korvane {

// The fixed messages of opening and saving (MessageId::NotTi89File, DetokenizationFailed,
// SelectFile, EnterName, ReplaceQuestion) are rows of the message table.

// A write that failed: the fixed sentence, the path and the reason on their own lines,
// in UTF-8 for the message box. The reason is in calculator codes, as the writer and
// the tokenizer give it.
std::string saveFailureMessage(const std::string& path, const std::string& reason);
// A file refused on opening, named with the reason (calculator codes, as the readers give it).
std::string openFailureMessage(const std::string& path, const std::string& reason);

// The file list of both browsers: every program, function and group file that the
// reader takes, of the TI-89, the TI-92 Plus, the Voyage 200 and the TI-92, and the
// program text file.
inline constexpr std::string_view kBrowserPattern =
    "*.89p;*.92p;*.9xp;*.v2p;*.89f;*.92f;*.9xf;*.v2f;*.89g;*.92g;*.9xg;*.v2g;*.68kb";

// Whether `fileName` matches one of the ";"-separated globs of `pattern` ("*" any
// run, "?" one character). Letters match without regard to case, as the file lists
// of the desktop the program comes from do.
bool matchesPattern(std::string_view fileName, std::string_view pattern);

// The items of the save-as browser's type list for the kind setting, the program
// text file last.
std::vector<std::string> typeListItems(ProgramKind kind);

// The extension that a type-list item stands for: what stands between "(*" and ")"
// (".89p", ".92p", ".9xp", ".v2p" and the same for functions); empty for another text.
std::string extensionOfTypeItem(const std::string& item);

// The signature that a file name's extension implies: "**TI89**" for .89?,
// "**TI92P*" for .92?, .9x? and .v2? (any letter case); empty for another.
Bytes signatureForExtension(const std::string& path);

// The header of a Document saved to `path`. A TI-92 Plus or Voyage 200 file (.9x?,
// .v2?) takes the signature "**TI92P*". A .89? or .92? file keeps the header's own
// signature when it is saved again or saved as, but a new file (`newFile`: one that
// korvane-tool packs or imports) takes the one its extension implies.
Bytes headerForTarget(const Bytes& header, const std::string& path, bool newFile = false);

// A file list entry's name without its extension (four characters, five for the
// program text file's).
std::string nameWithoutExtension(const std::string& fileName);

// A directory and a name joined with one "/": a root directory gives "/name".
std::string joinBrowserPath(const std::string& directory, const std::string& name);

// The save-as browser asks for the target when the Document has no file yet or the
// command wants a new one.
bool needsSaveAsBrowser(const std::string& documentPath, bool toExistingPath);

// Whether a file name has an extension that the open routine takes (kBrowserPattern),
// in any letter case: a variable file's or the program text file's.
bool isOpenableFile(const std::string& path);

// The file named on the command line, or nothing when its extension is not one
// that the open routine takes (the caller then says MessageId::NotTi89File). A path in
// double quotes is checked against the file system first.
std::optional<std::string> commandLineFile(const std::string& commandLine);

// The main window's title: "Korvane", then the file name of the Document's path.
std::string windowTitleFor(const std::string& documentPath);

// The name field of a file read: the variable name and its argument list.
std::string nameFieldOf(const VariableFileContent& content);

// Writes the Document to `target`: the writer's text form, then, when `tokenized`,
// the same file rewritten by the detokenizer component. The text is tokenized in
// memory first, so a program that does not parse leaves `target` untouched; every
// write replaces the file whole, so a failed one leaves the old file as it was.
// Returns an empty text or the reason in calculator codes (the parser's "line N: ..."
// for a parse error). A program text file target (.68kb) is written as text whatever
// `tokenized` says: its name line, then the editor text.
std::string saveProgramFile(const VariableFileInput& input, const std::string& target, bool tokenized,
                            const Detokenizer& detokenizer);

// The largest file the open routine reads: a variable file cannot be larger than
// its 16-bit size word allows, so anything far beyond it is not one.
constexpr long long kLargestReadableFile = 1 << 20;

// What reading a variable file gave.
struct OpenedFile {
    enum class Failure { None, Damaged, Detokenization };
    Failure failure = Failure::None;
    std::string reason;           // why it failed, for the message (calculator codes)
    VariableFileContent content;  // the pieces read, when it did not: a single-variable file's
    bool tokenized = false;
    bool oneExpression = false;   // a function stored in the one-expression form
    bool wholeFile = true;        // the file holds this variable alone, so Save may rewrite it
    bool ok() const { return failure == Failure::None; }
};

// The programs and functions of a calculator file, for the choice of one.
struct ProgramListing {
    VariableTable table;  // read once, and handed on to open the one chosen
    std::string error;
    std::vector<const TableEntry*> programs() const { return table.programs(); }
    bool ok() const { return error.empty(); }
};
ProgramListing listPrograms(const Bytes& file);
// "folder\name  function  tokenized  313 bytes": one line of a listing.
std::string describeEntry(const TableEntry& entry);

// Reads the program or function `wanted` ("folder\name"; empty: the only one) of a
// file's table, detokenized in memory when it is tokenized. Failures are Damaged
// for the file and Detokenization for tokens that do not read.
OpenedFile readProgram(const VariableTable& table, const std::string& wanted);
OpenedFile readProgram(const Bytes& file, const std::string& wanted);

// Reads the program or function `wanted` of the file at `path`, which is read once.
// A text-form variable is taken as it stands. A tokenized one is turned into text
// by the detokenizer, written in text form to a unique temporary file in
// `temporaryFolder` (named after "tmp89_M.dat") and read from there; that file is
// deleted whatever happens.
OpenedFile openProgramFile(const std::string& path, const Detokenizer& detokenizer,
                           const std::string& temporaryFolder, const std::string& wanted = {});
// The same on the table of a file already read.
OpenedFile openProgramData(const VariableTable& table, const Detokenizer& detokenizer,
                           const std::string& temporaryFolder, const std::string& wanted);

// A program text file read as the editor opens it: a Document of the text form, its
// folder "main" when the name line names none, its kind from its second line.
OpenedFile readProgramTextFile(const Bytes& file, const std::string& path);

// Reads a file that the open routine takes, refusing one far larger than any
// calculator file. Returns an empty text or the reason, in calculator codes.
std::string readCalculatorFile(const std::string& path, Bytes& file);

// The system's temporary folder.
std::string systemTemporaryFolder();

}  // namespace korvane
