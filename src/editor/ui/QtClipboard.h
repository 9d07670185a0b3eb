#pragma once
// The desktop clipboard for the Edit commands: calculator codes go out as the
// Unicode units of the character table and come back through it.
#include "editor/Clipboard.h"

namespace korvane {

class QtClipboard : public ClipboardPort {
public:
    std::optional<std::string> text() const override;
    void clear() override;
    void setText(const std::string& text) override;
};

}  // namespace korvane
