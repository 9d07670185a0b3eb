#include "lsp/LspFraming.h"

#include <algorithm>
#include <cctype>

namespace korvane {
namespace {

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The Content-Length of a header, or npos when it has none or a bad one. Values
// past the cap come back as they are, so that the body can be skipped.
std::size_t contentLengthOf(std::string_view header, std::string& error) {
    std::size_t length = std::string::npos;
    while (!header.empty()) {
        const std::size_t end = header.find("\r\n");
        const std::string_view line = header.substr(0, end);
        header.remove_prefix(end == std::string_view::npos ? header.size() : end + 2);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            error = "header line without a colon";
            return std::string::npos;
        }
        if (!sameLetters(trimmed(line.substr(0, colon)), "Content-Length")) continue;
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (value.empty() || value.size() > 12 ||
            !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            error = "Content-Length is not a number";
            return std::string::npos;
        }
        length = std::stoull(std::string(value));
    }
    if (length == std::string::npos) error = "no Content-Length";
    return length;
}

}  // namespace

void FrameReader::push(std::string_view bytes) {
    if (skipping_ > 0) {
        const std::size_t dropped = std::min(skipping_, bytes.size());
        skipping_ -= dropped;
        bytes.remove_prefix(dropped);
    }
    buffer_.append(bytes);
}

FrameReader::Result FrameReader::next() {
    Result result;
    const std::size_t end = buffer_.find("\r\n\r\n");
    if (end == std::string::npos) {
        if (buffer_.size() > kMaxHeader) {
            // No blank line in sight: drop all but what could start one.
            buffer_.erase(0, buffer_.size() - 3);
            result.status = Status::BadHeader;
            result.error = "header too long";
        }
        return result;
    }
    if (end > kMaxHeader) {
        buffer_.erase(0, end + 4);
        result.status = Status::BadHeader;
        result.error = "header too long";
        return result;
    }
    std::string error;
    const std::size_t length = contentLengthOf(std::string_view(buffer_).substr(0, end), error);
    if (length == std::string::npos) {
        buffer_.erase(0, end + 4);
        result.status = Status::BadHeader;
        result.error = error;
        return result;
    }
    if (length > kMaxBody) {
        const std::size_t held = buffer_.size() - end - 4;
        const std::size_t dropped = std::min(held, length);
        buffer_.erase(0, end + 4 + dropped);
        skipping_ = length - dropped;
        result.status = Status::BadHeader;
        result.error = "message larger than " + std::to_string(kMaxBody) + " bytes";
        return result;
    }
    if (buffer_.size() - end - 4 < length) return result;
    result.status = Status::Message;
    result.body = buffer_.substr(end + 4, length);
    buffer_.erase(0, end + 4 + length);
    return result;
}

std::string writeFrame(std::string_view body) {
    std::string out = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    out.append(body);
    return out;
}

}  // namespace korvane
