#include "files/TokenWriting.h"

#include "files/Messages.h"
#include "files/TokenSpelling.h"

namespace korvane::tokenizing {

using namespace tokens;

Bytes tagBytes(const TagInfo& t) {
    switch (t.space) {
    case Space::Primary: return Bytes(1, static_cast<char>(t.value));
    case Space::Secondary: return Bytes{static_cast<char>(t.value), static_cast<char>(kSecondary)};
    case Space::Command: return Bytes{static_cast<char>(t.value), static_cast<char>(kCommand)};
    case Space::System: return Bytes{static_cast<char>(t.value), static_cast<char>(kSystemTag)};
    }
    return {};
}


Bytes nameBytes(const std::string& name) {
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') {
        for (const TagInfo& t : allTags())
            if (t.space == Space::Primary && t.shape == Shape::Special && !t.has(kInternal) && t.value <= 0x1B &&
                t.spelling == std::string_view(name))
                return Bytes(1, static_cast<char>(t.value));
    }
    return Bytes(1, '\0') + name + Bytes(1, '\0');
}

Bytes integerBytes(const std::string& magnitude, std::uint8_t tag) {
    if (magnitude.size() > 255) throw Failure{calcMessage(MessageId::IntegerTooLarge)};
    return magnitude + static_cast<char>(magnitude.size()) + static_cast<char>(tag);
}

Bytes command(std::uint8_t value) { return Bytes{static_cast<char>(value), static_cast<char>(kCommand)}; }

Bytes parametersAndFlags(const std::vector<std::string>& params, VariableFlags flags) {
    Bytes data(1, static_cast<char>(kEnd));
    for (auto it = params.rbegin(); it != params.rend(); ++it) data += nameBytes(*it);
    data += static_cast<char>(flags.inUse);
    data += static_cast<char>(flags.flag2);
    data += static_cast<char>(flags.flag1);
    data += static_cast<char>(kUserDef);
    return data;
}

// A whole definition as the program tag DC closes it: the statements last-lowest,
// each under its separator, then Prgm or Func, the parameters and the flags.
Bytes definitionBytes(const Body& body, VariableFlags flags) {
    Bytes data(1, static_cast<char>(kEndStack));
    const std::vector<Item>& items = body.items;
    std::vector<size_t> start(items.size());
    for (size_t k = items.size(); k-- > 0;) {
        start[k] = data.size();
        data += items[k].statement;
        data += static_cast<char>(items[k].indent);
        data += static_cast<char>(items[k].newLine ? kNewLine : kNextStatement);
    }
    // A jump's distance runs from its own command tag to the other command tag.
    auto commandTag = [&](size_t k) { return static_cast<long>(start[k] + items[k].statement.size() - 1); };
    for (const Jump& j : body.jumps) {
        const long d = commandTag(j.to) - commandTag(j.from) + 2;
        const long distance = d >= 0 ? d : commandTag(j.from) - commandTag(j.to) + 2;
        if (distance > 0xFFFF) throw Failure{atLine(items[j.from].line, calcMessage(MessageId::LoopTooLong))};
        data[start[j.from]] = static_cast<char>(distance & 0xFF);
        data[start[j.from] + 1] = static_cast<char>((distance >> 8) & 0xFF);
    }
    return data + command(body.function ? cmd::Func : cmd::Prgm) + parametersAndFlags(body.params, flags);
}

bool isIntegerLiteral(const Bytes& b, std::uint8_t tag) {
    return b.size() >= 2 && static_cast<std::uint8_t>(b.back()) == tag &&
           static_cast<std::uint8_t>(b[b.size() - 2]) == b.size() - 2;
}

// The value of a literal integer of at most 8 magnitude bytes.
std::uint64_t smallMagnitude(const Bytes& literal) {
    std::uint64_t v = 0;
    for (size_t i = literal.size() - 2; i-- > 0;) v = (v << 8) | static_cast<std::uint8_t>(literal[i]);
    return v;
}
}  // namespace korvane::tokenizing
