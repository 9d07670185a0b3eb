#include "editor/ui/VirtualKeys.h"

#include <QKeyEvent>

#include "editor/TypingColour.h"

namespace korvane {

int VirtualKeyTracker::codeOf(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (event.text() == QStringLiteral("(") || key == Qt::Key_ParenLeft) return vk::OpenParen;
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return vk::Return;
        case Qt::Key_Space: return vk::Space;
        case Qt::Key_Backspace: return vk::Backspace;
        case Qt::Key_Delete: return vk::Delete;
        case Qt::Key_Home: return vk::Home;
        case Qt::Key_End: return 35;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return vk::Right;
        case Qt::Key_Down: return 40;
        default: break;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
    if (key >= Qt::Key_0 && key <= Qt::Key_9 && !keypad) return key;
    return 0;
}

quint64 VirtualKeyTracker::keyOf(const QKeyEvent& event) {
    // The scan code names the physical key whatever the modifiers; without one
    // (synthetic events) the key code stands for it.
    if (event.nativeScanCode() != 0) return (quint64{1} << 32) | event.nativeScanCode();
    return static_cast<quint32>(event.key());
}

int VirtualKeyTracker::pressed(const QKeyEvent& event) {
    const int code = codeOf(event);
    down_[keyOf(event)] = code;
    return code;
}

int VirtualKeyTracker::released(const QKeyEvent& event) {
    const auto found = down_.find(keyOf(event));
    if (found == down_.end()) return codeOf(event);
    const int code = found->second;
    down_.erase(found);
    return code;
}

}  // namespace korvane
