#pragma once
// Qt key events as the virtual-key codes the typing rules read. A release gets
// the code of the press it ends, so that releasing Shift first does not turn the
// "(" of Shift+9 into a "9".
#include <QtGlobal>
#include <unordered_map>

class QKeyEvent;

namespace korvane {

class VirtualKeyTracker {
public:
    // The code of a press, remembered until its release.
    int pressed(const QKeyEvent& event);
    // The code that the press of this key had (the event's own code when the press
    // was not seen).
    int released(const QKeyEvent& event);

    // Return/Enter 13, Space 32, Right 39, Backspace 8, Delete 46, Home 36, the
    // other arrows, End, letters and main-block digits as their codes; the main
    // block's "5" and any key typing "(" give 53; anything else 0.
    static int codeOf(const QKeyEvent& event);

private:
    static quint64 keyOf(const QKeyEvent& event);
    std::unordered_map<quint64, int> down_;
};

}  // namespace korvane
