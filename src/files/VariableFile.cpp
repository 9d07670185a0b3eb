#include "files/VariableFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "editor/CharTable.h"
#include "files/Messages.h"

namespace korvane {
namespace {

using namespace layout;

std::string argumentListOf(const std::string& nameField) {
    const auto paren = nameField.find('(');
    return paren == std::string::npos ? std::string() : nameField.substr(paren);
}

std::string variableNameOf(const std::string& nameField) {
    return nameField.substr(0, nameField.find('('));
}

// Clears bytes 2 to 8 of a name field and writes the characters from its first
// byte on: with an empty value the first byte keeps what it held.
void putName(Bytes& header, int offset, const std::string& value) {
    for (size_t i = 1; i < kFieldWidth; ++i) header[offset + i] = '\0';
    for (size_t i = 0; i < value.size() && i < kFieldWidth; ++i) header[offset + i] = value[i];
}

std::string nulTerminated(const Bytes& bytes, size_t offset, size_t maxLength) {
    std::string out;
    for (size_t i = offset; i < bytes.size() && i < offset + maxLength && bytes[i] != '\0'; ++i) out += bytes[i];
    return out;
}

}  // namespace

bool isCalculatorName(const std::string& name) {
    if (name.empty() || name.size() > kFieldWidth || !isNameLetter(name.front())) return false;
    for (const char c : name)
        if (!isNameLetter(c) && !(c >= '0' && c <= '9') && c != '_') return false;
    return true;
}

Bytes newDocumentHeader() {
    Bytes h(kHeaderSize, '\0');
    h.replace(0, 8, "**TI89**");
    h[8] = 0x01;
    h.replace(kFolder, 4, "main");
    h[58] = 0x01;
    h[60] = 0x52;
    h.replace(kName, 7, "nouveau");
    h[72] = 0x12;
    h[76] = 0x56;  // placeholder file size 0x0156
    h[77] = 0x01;
    h[80] = static_cast<char>(0xA5);
    h[81] = 0x5A;
    h[86] = 0x00;  // placeholder variable size 0x00FC, big-endian
    h[87] = static_cast<char>(0xFC);
    return h;
}

Bytes programTrailer() {
    return Bytes("\x00\x00\x08\x19\xE4\xE5\x00\x00\x08\xDC\xA4\x11", kTrailerSize);
}

Bytes functionTrailer() {
    return Bytes("\x00\x00\x05\x17\xE4\xE5\x00\x00\x08\xDC\x9F\x0B", kTrailerSize);
}

BuildResult buildVariableFile(const VariableFileInput& input) {
    if (input.variableHeader.size() != kHeaderSize) return {{}, calcMessage(MessageId::HeaderNot88Bytes)};
    if (input.variableTrailer.size() != kTrailerSize) return {{}, calcMessage(MessageId::TrailerNot12Bytes)};

    // The calculator refuses a variable it cannot name, whatever the rest holds.
    const std::string name = variableNameOf(input.nameField);
    if (name.empty()) return {{}, atLine(1, calcMessage(MessageId::NoName))};
    if (!isCalculatorName(name))
        return {{}, atLine(1, calcMessage(MessageId::InvalidVariableName, {name, calcMessage(MessageId::NameRule)}))};
    if (!input.folderField.empty() && !isCalculatorName(input.folderField))
        return {{}, calcMessage(MessageId::InvalidFolderName, {input.folderField, calcMessage(MessageId::NameRule)})};

    Bytes file = input.variableHeader;
    putName(file, kName, name);
    // An empty folder is the calculator's current folder: no byte of the old name stays.
    if (input.folderField.empty()) file.replace(kFolder, kFieldWidth, kFieldWidth, '\0');
    else putName(file, kFolder, input.folderField);

    file += argumentListOf(input.nameField);
    // Only the LF of each CR LF goes: a line feed alone is a calculator character.
    for (size_t i = 0; i < input.editorText.size(); ++i)
        if (input.editorText[i] != '\n' || i == 0 || input.editorText[i - 1] != '\r') file += input.editorText[i];
    file += input.variableTrailer;

    const size_t n = file.size();
    if (n > kMaxFileSize)
        return {{}, calcMessage(MessageId::ProgramTooLong, {n})};
    file[kFileSize] = static_cast<char>(n & 0xFF);
    file[kFileSize + 1] = static_cast<char>((n >> 8) & 0xFF);
    const size_t varSize = n - 90;
    file[kSizeWord] = static_cast<char>((varSize >> 8) & 0xFF);
    file[kSizeWord + 1] = static_cast<char>(varSize & 0xFF);
    return {std::move(file), {}};
}

ParseResult parseVariableFile(const Bytes& bytes) {
    ParseResult result;
    if (bytes.size() < kHeaderSize + 1 + kTrailerSize)
        return {{}, calcMessage(MessageId::TooShortForVariableFile, {bytes.size()})};
    const size_t trailerStart = bytes.size() - kTrailerSize;
    const size_t close = bytes.find(')', kHeaderSize + 1);
    if (close == std::string::npos || close >= trailerStart)
        return {{}, calcMessage(MessageId::NoTextProgram)};

    auto& c = result.content;
    c.header = bytes.substr(0, kHeaderSize);
    c.folder = nulTerminated(bytes, kFolder, kFieldWidth);
    c.name = nulTerminated(bytes, kName, kFieldWidth);
    c.arguments = bytes.substr(kHeaderSize + 1, close - (kHeaderSize + 1));
    c.programText = bytes.substr(close + 1, trailerStart - (close + 1));
    c.trailer = bytes.substr(trailerStart);
    return result;
}

void setVariableSizes(Bytes& header, size_t dataSize) {
    const size_t n = kHeaderSize + dataSize + 2;
    for (size_t i = 0; i < 4; ++i) header[kFileSize + i] = static_cast<char>((n >> (8 * i)) & 0xFF);
    header[kSizeWord] = static_cast<char>((dataSize >> 8) & 0xFF);
    header[kSizeWord + 1] = static_cast<char>(dataSize & 0xFF);
}

void appendCheckSum(Bytes& file) {
    unsigned sum = 0;
    for (size_t i = kSizeWord; i < file.size(); ++i) sum += static_cast<unsigned char>(file[i]);
    file += static_cast<char>(sum & 0xFF);
    file += static_cast<char>((sum >> 8) & 0xFF);
}

std::string editorTextOf(const std::string& programText) {
    std::string out;
    out.reserve(programText.size() + programText.size() / 16);
    for (const char c : programText) {
        out += c;
        if (c == '\r') out += '\n';
    }
    return out;
}

std::string readWholeFile(const std::string& path, Bytes& out) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return message(MessageId::IsAFolder);
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::strerror(errno);
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return message(MessageId::CouldNotBeRead);
    return {};
}

std::string writeFileAtomically(const std::string& path, const Bytes& bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(path, ec)) return message(MessageId::FolderOfThatName);
    const fs::path target(path);
    fs::path temp = target;
    temp += ".korvane-tmp";
    {
        std::FILE* f = std::fopen(temp.c_str(), "wb");
        if (!f) return std::strerror(errno);
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        const int savedErrno = errno;
        const bool closed = std::fclose(f) == 0;
        if (!written || !closed) {
            fs::remove(temp, ec);
            return std::strerror(written ? errno : savedErrno);
        }
    }
    // A read-only target stays protected: renaming over it would bypass its mode
    // (and a check of access rights alone would let the superuser through).
    const auto st = fs::status(target, ec);
    constexpr auto anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (!ec && fs::exists(st) && (st.permissions() & anyWrite) == fs::perms::none) {
        fs::remove(temp, ec);
        return std::strerror(EACCES);
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return ec.message();
    }
    return {};
}

std::string writeVariableFile(const VariableFileInput& input, const std::string& path) {
    const BuildResult built = buildVariableFile(input);
    if (!built.ok()) return built.error;
    return writeFileAtomically(path, built.bytes);
}

ParseResult readVariableFile(const std::string& path) {
    Bytes bytes;
    if (auto error = readWholeFile(path, bytes); !error.empty()) return {{}, utf8ToCalc(error)};
    return parseVariableFile(bytes);
}

}  // namespace korvane
