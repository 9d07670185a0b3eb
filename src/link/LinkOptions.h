#pragma once
// Which calculator, which cable, which port and how long to wait: the choices of a
// link with the calculator, their names on the command line and in the settings
// file (keys Calc, Cable and Port, holding the same names: Calc=ti89,
// Cable=silverlink, Port=1).
#include <optional>
#include <string>
#include <string_view>

namespace korvane::link {

enum class Calc { TI89, TI89Titanium, TI92Plus, Voyage200 };

enum class Cable {
    SilverLink,  // TI's USB cable (grey-black), for every model
    DirectLink,  // the TI-89 Titanium's own USB port
    GrayLink,    // TI's serial cable
    BlackLink,   // the home-made serial cable
    Parallel,    // the parallel-port cable
    TiEmu,       // libticables' virtual cable between two programs of one machine
};

inline constexpr int kDefaultTimeoutTenths = 20;
inline constexpr int kMaxTimeoutTenths = 600;

struct LinkOptions {
    Calc calc = Calc::TI89;
    Cable cable = Cable::SilverLink;
    int port = 1;                               // 1 to 4
    int timeoutTenths = kDefaultTimeoutTenths;  // per packet, in tenths of a second
};

// "ti89", "ti89t", "ti92p", "v200"; letter case ignored.
std::optional<Calc> calcFromName(std::string_view name);
// "silverlink", "directlink", "graylink", "blacklink", "parallel", "tiemu".
std::optional<Cable> cableFromName(std::string_view name);
// "1" to "4".
std::optional<int> portFromText(std::string_view text);
// Seconds, decimals allowed ("1.5"), rounded to tenths: from 0.1 to 60.
std::optional<int> timeoutTenthsFromSeconds(std::string_view text);

const char* nameOf(Calc calc);    // "ti89"...
const char* nameOf(Cable cable);  // "silverlink"...
// "TI-89 Titanium", "SilverLink", "TiEmu"...: the products' own names, the same in
// both languages, for messages and option lists.
const char* displayName(Calc calc);
const char* displayName(Cable cable);

// The DirectLink cable is the TI-89 Titanium's USB port: no other model has it.
bool cableFits(Calc calc, Cable cable);

// The link options that the settings text `iniText` names with Calc, Cable and
// Port; a missing or unknown value keeps its default (TI-89, SilverLink, port 1).
LinkOptions optionsFromSettings(std::string_view iniText);
// The same from the settings file at `path` (the defaults when it cannot be read).
LinkOptions optionsFromSettingsFile(const std::string& path);

}  // namespace korvane::link
