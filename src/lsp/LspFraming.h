#pragma once
// The language server's message framing: a header of "Name: value" lines, one of
// them Content-Length, a blank line, then that many bytes of JSON. The reader
// takes bytes as they arrive and gives whole bodies; a broken header is skipped
// up to its blank line, and a body larger than the cap is skipped as it arrives,
// so that memory stays bounded whatever comes in.
#include <cstddef>
#include <string>
#include <string_view>

namespace korvane {

class FrameReader {
public:
    static constexpr std::size_t kMaxBody = 8u << 20;    // bytes of one message
    static constexpr std::size_t kMaxHeader = 4u << 10;  // bytes of its header

    enum class Status { Message, NeedMore, BadHeader };
    struct Result {
        Status status = Status::NeedMore;
        std::string body;   // the message, for Status::Message
        std::string error;  // why the header was refused, for Status::BadHeader
    };

    void push(std::string_view bytes);
    Result next();
    // Bytes held that make no whole message yet.
    std::size_t pending() const { return buffer_.size(); }

private:
    std::string buffer_;
    std::size_t skipping_ = 0;  // bytes of a refused body still to drop
};

// A body with its header.
std::string writeFrame(std::string_view body);

}  // namespace korvane
