// Feeds arbitrary bytes to the link's readers of outside text: a hand-edited
// settings file's Calc, Cable and Port, and the command line's names, port and
// timeout. Every answer stays within what a link can be opened with.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "link/LinkOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane::link;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LinkOptions options = optionsFromSettings(text);
    if (options.port < 1 || options.port > 4) std::abort();
    if (!calcFromName(nameOf(options.calc)) || !cableFromName(nameOf(options.cable))) std::abort();
    if (const auto port = portFromText(text); port && (*port < 1 || *port > 4)) std::abort();
    if (const auto tenths = timeoutTenthsFromSeconds(text); tenths && (*tenths < 1 || *tenths > kMaxTimeoutTenths))
        std::abort();
    if (const auto calc = calcFromName(text); calc && !calcFromName(nameOf(*calc))) std::abort();
    return 0;
}
