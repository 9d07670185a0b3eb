#pragma once
// What start-up restores from the settings file and what shutdown writes back, as
// plain data: the core reads and writes the keys, the main window applies the values.
// Captions are calculator codes; Chemin is the file system's path.
#include <optional>
#include <string>
#include <string_view>

#include "shell/IniStore.h"

namespace korvane {

// Text to Boolean as the original Basic runtime converts it on a French system:
// "True"/"False" and "Vrai"/"Faux" in any case, or a number (non-zero is true).
std::optional<bool> textToBoolean(std::string_view text);

// Text to a single-precision number: optional sign, digits with "." or "," as the
// decimal mark, optional exponent. Anything else, or a value out of range, gives
// nothing.
std::optional<float> textToSingle(std::string_view text);

// Shortest decimal text that reads back as the same single ("1095", "12.5").
std::string singleToText(float value);

// Main-window geometry in twips, outer frame.
struct WindowGeometry {
    std::optional<float> left;
    std::optional<float> top;
    std::optional<float> width;
    std::optional<float> height;
    bool operator==(const WindowGeometry&) const = default;
};

// Every setting that start-up reads. An empty optional is a text that did not
// convert: the window leaves that property as it was.
struct StartupSettings {
    bool firstLoad = false;                 // show the first-run message (MessageId::FirstRun)
    std::string langue;                     // "En" selects English; anything else French
    std::optional<int> taillePolice;        // font-size list index, 0 to 7
    bool catalogOpen = true;
    bool charSpecialOpen = true;
    bool prgmFunc = true;                   // new documents are programs
    bool openChxPrgmFunc = true;            // ask the kind of each new document
    std::string chemin;                     // last file; "1" or "" means none
    bool lockCat = true;                    // catalogue window locked to the main window
    bool lockChar = true;                   // special-characters window locked
    std::optional<float> hauteurCat;        // catalogue height
    std::optional<float> xCat;              // catalogue left
    std::optional<float> yCat;              // catalogue top
    std::optional<float> xChar;             // special-characters left
    std::optional<float> yChar;             // special-characters top
    std::string cmdGreek;                   // quick-insert captions, defaults applied
    std::string cmdMath;
    std::string cmdPonctuation;
    std::string cmdSpecial;
    std::string cmdCatalogue;
    std::optional<WindowGeometry> mainWindow;  // absent: keep the built-in geometry
    bool operator==(const StartupSettings&) const = default;
};

// Every setting that shutdown writes, as the window holds it. The member defaults
// are the window's built-in values except the main-window geometry, which the
// window fills in.
struct ShutdownSettings {
    int taillePolice = 1;
    bool catalogOpen = true;
    bool charSpecialOpen = true;
    bool prgmFunc = true;
    bool openChxPrgmFunc = true;
    std::string chemin;
    bool lockCat = true;
    bool lockChar = true;
    float hauteurCat = 1;
    float xCat = 1;
    float yCat = 1;
    float xChar = 1;
    float yChar = 1;
    std::string cmdGreek = "\x88";
    std::string cmdMath = "\x96";
    std::string cmdPonctuation = "~";
    std::string cmdSpecial = "\x16";
    std::string cmdCatalogue = "Disp";
    float xFrmP = 0;
    float yFrmP = 0;
    float largeurFrmP = 0;
    float hauteurFrmP = 0;
    std::string langue = "1";
    bool operator==(const ShutdownSettings&) const = default;
};

// Whether the first-run message is due: FirstLoad missing or converting to true.
bool firstRunPending(const Settings& settings);

// Records that the first-run message was shown, so it never returns.
void markFirstRunDone(Settings& settings);

// Reads every start-up key, in the order start-up applies them.
StartupSettings readStartupSettings(const Settings& settings);

// The window's state after start-up applied `read` to `current`: values that did not
// convert, and geometry that was not stored, keep their current value.
ShutdownSettings applyStartupSettings(const StartupSettings& read, ShutdownSettings current);

// Writes every shutdown key, in the order shutdown writes them.
void writeShutdownSettings(Settings& settings, const ShutdownSettings& state);

}  // namespace korvane
