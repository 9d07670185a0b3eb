#include "link/LinkOptions.h"

#include <array>
#include <cmath>
#include <utility>

#include "files/VariableFile.h"
#include "shell/IniStore.h"

namespace korvane::link {
namespace {

struct CalcRow {
    Calc calc;
    const char* name;
    const char* display;
};
constexpr std::array kCalcs{
    CalcRow{Calc::TI89, "ti89", "TI-89"},
    CalcRow{Calc::TI89Titanium, "ti89t", "TI-89 Titanium"},
    CalcRow{Calc::TI92Plus, "ti92p", "TI-92 Plus"},
    CalcRow{Calc::Voyage200, "v200", "Voyage 200"},
};

struct CableRow {
    Cable cable;
    const char* name;
    const char* display;
};
constexpr std::array kCables{
    CableRow{Cable::SilverLink, "silverlink", "SilverLink"},
    CableRow{Cable::DirectLink, "directlink", "DirectLink USB"},
    CableRow{Cable::GrayLink, "graylink", "GrayLink"},
    CableRow{Cable::BlackLink, "blacklink", "BlackLink"},
    CableRow{Cable::Parallel, "parallel", "Parallel"},
    CableRow{Cable::TiEmu, "tiemu", "TiEmu"},
};

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<Calc> calcFromName(std::string_view name) {
    for (const auto& row : kCalcs)
        if (sameIgnoringCase(name, row.name)) return row.calc;
    return std::nullopt;
}

std::optional<Cable> cableFromName(std::string_view name) {
    for (const auto& row : kCables)
        if (sameIgnoringCase(name, row.name)) return row.cable;
    return std::nullopt;
}

std::optional<int> portFromText(std::string_view text) {
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') return text[0] - '0';
    return std::nullopt;
}

std::optional<int> timeoutTenthsFromSeconds(std::string_view text) {
    // Digits with at most one decimal point; no sign, exponent or blank.
    if (text.empty() || text.size() > 12) return std::nullopt;
    double seconds = 0;
    double scale = 0;
    for (char c : text) {
        if (c == '.' && scale == 0) {
            scale = 1;
        } else if (c >= '0' && c <= '9') {
            if (scale == 0) {
                seconds = seconds * 10 + (c - '0');
            } else {
                scale /= 10;
                seconds += (c - '0') * scale;
            }
        } else {
            return std::nullopt;
        }
    }
    const long tenths = std::lround(seconds * 10);
    if (tenths < 1 || tenths > kMaxTimeoutTenths) return std::nullopt;
    return static_cast<int>(tenths);
}

const char* nameOf(Calc calc) {
    for (const auto& row : kCalcs)
        if (row.calc == calc) return row.name;
    return "";
}

const char* nameOf(Cable cable) {
    for (const auto& row : kCables)
        if (row.cable == cable) return row.name;
    return "";
}

const char* displayName(Calc calc) {
    for (const auto& row : kCalcs)
        if (row.calc == calc) return row.display;
    return "";
}

const char* displayName(Cable cable) {
    for (const auto& row : kCables)
        if (row.cable == cable) return row.display;
    return "";
}

bool cableFits(Calc calc, Cable cable) { return cable != Cable::DirectLink || calc == Calc::TI89Titanium; }

LinkOptions optionsFromSettings(std::string_view iniText) {
    LinkOptions options;
    if (const auto v = findIniValue(iniText, "Calc"))
        if (const auto calc = calcFromName(*v)) options.calc = *calc;
    if (const auto v = findIniValue(iniText, "Cable"))
        if (const auto cable = cableFromName(*v)) options.cable = *cable;
    if (const auto v = findIniValue(iniText, "Port"))
        if (const auto port = portFromText(*v)) options.port = *port;
    return options;
}

LinkOptions optionsFromSettingsFile(const std::string& path) {
    Bytes text;
    if (!readWholeFile(path, text).empty()) return {};
    return optionsFromSettings(text);
}

}  // namespace korvane::link
