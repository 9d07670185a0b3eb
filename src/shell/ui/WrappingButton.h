#pragma once
// A push button whose caption wraps onto several lines, as the fixed-size buttons
// of the main window need for their longer captions.
#include <QPushButton>

namespace korvane {

class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace korvane
