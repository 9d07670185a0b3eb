#include "files/Detokenizer.h"

#include "files/TokenTable.h"
#include "files/VariableTable.h"

namespace korvane {
namespace {

// Under the text of a text-form variable: end of text, cursor (2), kind command
// (2), END, in-use, Flag 2, Flag 1, type tag.
constexpr size_t kTextTail = 10;

struct Trailer {
    ProgramKind kind = ProgramKind::Program;
    unsigned char flag2 = 0;
};

std::string hex2(unsigned v) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string{digits[(v >> 4) & 0xF], digits[v & 0xF]};
}

std::string encodeTrailer(const Trailer& t) {
    return std::string(t.kind == ProgramKind::Function ? "function," : "program,") + hex2(t.flag2);
}

bool decodeTrailer(const std::string& s, Trailer& t) {
    const size_t comma = s.find(',');
    if (comma == std::string::npos || s.size() != comma + 3) return false;
    const std::string kind = s.substr(0, comma);
    if (kind != "program" && kind != "function") return false;
    t.kind = kind == "function" ? ProgramKind::Function : ProgramKind::Program;
    unsigned value = 0;
    for (const char c : s.substr(comma + 1)) {
        value <<= 4;
        if (c >= '0' && c <= '9') value |= static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F') value |= static_cast<unsigned>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f') value |= static_cast<unsigned>(c - 'a' + 10);
        else return false;
    }
    t.flag2 = static_cast<unsigned char>(value);
    return true;
}

unsigned char at(const Bytes& b, size_t i) { return static_cast<unsigned char>(b[i]); }

// The text part of text-form variable data, checked against its tail.
std::string textOf(const Bytes& data, std::string& error) {
    if (data.size() < kTextTail + 2 || at(data, data.size() - 1) != tokens::kUserDef ||
        at(data, data.size() - kTextTail) != 0 || at(data, data.size() - 6) != tokens::kCommand) {
        error = "the program text is not followed by the end of a text-form variable";
        return {};
    }
    return data.substr(0, data.size() - kTextTail);
}

Trailer trailerOf(const Bytes& data, std::string& error) {
    Trailer t;
    t.flag2 = data.size() >= 3 ? at(data, data.size() - 3) : 0;
    if (isProgramText(data)) {
        if (textOf(data, error).empty() && !error.empty()) return t;
        t.kind = at(data, data.size() - 7) == tokens::cmd::Func ? ProgramKind::Function : ProgramKind::Program;
        return t;
    }
    const DetokenizeResult d = detokenize(data);
    if (!d.ok()) error = d.error;
    t.kind = d.kind;
    return t;
}

// The header with its sizes set for `data`.
Bytes sizedFile(Bytes header, const Bytes& data) {
    setVariableSizes(header, data.size());
    return header;
}

// CR LF line breaks made into the CR that variable data uses; a line feed alone is
// a calculator character and stays.
std::string crLines(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\n' || i == 0 || text[i - 1] != '\r') out += text[i];
    return out;
}

ProgramKind kindOfText(const std::string& text, ProgramKind fallback) {
    const size_t first = text.find('\r');
    if (first == std::string::npos) return fallback;
    std::string second = text.substr(first + 1, text.find('\r', first + 1) - first - 1);
    for (char& c : second) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (second.find("func") != std::string::npos) return ProgramKind::Function;
    if (second.find("prgm") != std::string::npos) return ProgramKind::Program;
    return fallback;
}

BuildResult buildTextFile(const Bytes& header, const std::string& text, const Trailer& trailer) {
    if (!isProgramText(text)) return {{}, "the program text does not start with its argument list \"(\""};
    Bytes tail = trailer.kind == ProgramKind::Function ? functionTrailer() : programTrailer();
    tail[7] = static_cast<char>(trailer.flag2);
    const Bytes data = text + tail.substr(0, kTrailerSize - 2);
    if (kHeaderSize + data.size() + 2 > static_cast<size_t>(kMaxFileSize))
        return {{}, "the program is too long for a variable file"};
    // The check pair of a text-form file is the fixed pair of its template.
    return {sizedFile(header, data) + data + tail.substr(kTrailerSize - 2), {}};
}

}  // namespace

std::string headerString2Of(const Bytes& textFormTrailer) {
    Trailer t;
    if (textFormTrailer.size() == kTrailerSize) {
        t.kind = at(textFormTrailer, 3) == tokens::cmd::Func ? ProgramKind::Function : ProgramKind::Program;
        t.flag2 = at(textFormTrailer, 7);
    }
    return encodeTrailer(t);
}

VariableRecord splitVariableFile(const Bytes& file) {
    VariableRecord r;
    const VariableTable table = readVariableTable(file);
    if (!table.ok()) {
        r.error = table.error;
        return r;
    }
    const ChosenEntry chosen = chooseProgram(table, {});
    if (!chosen.ok()) {
        r.error = chosen.error;
        return r;
    }
    if (chosen.entry->data.empty()) {
        r.error = "the variable is empty";
        return r;
    }
    r.header = singleVariableHeader(table, *chosen.entry);
    r.data = chosen.entry->data;
    return r;
}

VariableRecord readVariableRecord(const std::string& path) {
    Bytes file;
    if (std::string error = readWholeFile(path, file); !error.empty()) {
        VariableRecord r;
        r.error = error;
        return r;
    }
    VariableRecord r = splitVariableFile(file);
    if (!r.ok()) r.error = path + ": " + r.error;
    return r;
}

BuildResult buildTokenizedFile(const Bytes& header, const Bytes& variableData, ProgramKind kind) {
    if (header.size() != kHeaderSize) return {{}, "the variable header is not 88 bytes long"};
    if (kHeaderSize + variableData.size() + 2 > static_cast<size_t>(kMaxFileSize))
        return {{}, "the program is too long for a variable file"};
    Bytes file = sizedFile(header, variableData);
    file[layout::kType] = static_cast<char>(kind == ProgramKind::Function ? kFunctionTypeId : kProgramTypeId);
    file += variableData;
    appendCheckSum(file);
    return {file, {}};
}

VariableFlags flagsForHeader(const Bytes& header, unsigned char flag2, bool oneExpression) {
    VariableFlags flags;
    flags.flag2 = flag2;
    flags.ti92 = header.compare(0, 8, "**TI92**") == 0;
    flags.oneExpression = oneExpression;
    return flags;
}

BuildResult tokenizeVariableFile(const Bytes& textFormFile, bool oneExpression) {
    const VariableRecord r = splitVariableFile(textFormFile);
    if (!r.ok()) return {{}, r.error};
    if (!isProgramText(r.data)) return {{}, "the variable is already tokenized"};
    std::string error;
    const std::string text = textOf(r.data, error);
    if (!error.empty()) return {{}, error};
    const TokenizeResult t = tokenize(text, flagsForHeader(r.header, at(r.data, r.data.size() - 3), oneExpression));
    if (!t.ok()) return {{}, t.error, t.column};
    return buildTokenizedFile(r.header, t.data, t.kind);
}

BuildResult detokenizeVariableFile(const Bytes& tokenizedFile) {
    const VariableRecord r = splitVariableFile(tokenizedFile);
    if (!r.ok()) return {{}, r.error};
    if (isProgramText(r.data)) return {{}, "the variable is already text"};
    const DetokenizeResult d = detokenize(r.data);
    if (!d.ok()) return {{}, d.error};
    return textFormFile(r.header, r.data, d);
}

BuildResult textFormFile(const Bytes& header, const Bytes& tokenizedData, const DetokenizeResult& detokenized) {
    return buildTextFile(header, detokenized.text, {detokenized.kind, at(tokenizedData, tokenizedData.size() - 3)});
}

DetokenizerAnswer Detokenizer::ProgramText(const std::string& path) const {
    const VariableRecord r = readVariableRecord(path);
    if (!r.ok()) return {{}, r.error};
    if (isProgramText(r.data)) {
        std::string error;
        std::string text = textOf(r.data, error);
        if (!error.empty()) return {{}, path + ": " + error};
        return {std::move(text), {}};
    }
    DetokenizeResult d = detokenize(r.data);
    if (!d.ok()) return {{}, path + ": " + d.error};
    return {std::move(d.text), {}};
}

DetokenizerAnswer Detokenizer::HeaderString1(const std::string& path) const {
    const VariableRecord r = readVariableRecord(path);
    if (!r.ok()) return {{}, r.error};
    return {r.header, {}};
}

DetokenizerAnswer Detokenizer::HeaderString2(const std::string& path) const {
    const VariableRecord r = readVariableRecord(path);
    if (!r.ok()) return {{}, r.error};
    std::string error;
    const Trailer t = trailerOf(r.data, error);
    if (!error.empty()) return {{}, path + ": " + error};
    return {encodeTrailer(t), {}};
}

DetokenizerAnswer Detokenizer::DataStart(const std::string& path) const {
    const VariableRecord r = readVariableRecord(path);
    if (!r.ok()) return {{}, r.error};
    return {r.data.substr(0, 1), {}};
}

std::string Detokenizer::WriteVariable(const std::string& target, const std::string& header1,
                                       const std::string& header2, const std::string& text, int one,
                                       bool tokenized, bool oneExpression) const {
    if (one != 1) return "a variable file holds exactly one variable here, not " + std::to_string(one);
    if (header1.size() != kHeaderSize) return "the first header string is not the 88 header bytes of a variable file";
    Trailer trailer;
    if (!decodeTrailer(header2, trailer)) return "the second header string is not \"program,FF\" or \"function,FF\"";
    const std::string program = crLines(text);
    trailer.kind = kindOfText(program, trailer.kind);
    BuildResult built;
    if (tokenized) {
        const TokenizeResult t = tokenize(program, flagsForHeader(header1, trailer.flag2, oneExpression));
        if (!t.ok()) return t.error;
        built = buildTokenizedFile(header1, t.data, t.kind);
    } else {
        built = buildTextFile(header1, program, trailer);
    }
    if (!built.ok()) return built.error;
    return writeFileAtomically(target, built.bytes);
}

}  // namespace korvane
