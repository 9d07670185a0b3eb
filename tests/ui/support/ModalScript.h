#pragma once
// Answers the dialogs that open one after the other inside their real modal loops:
// each step waits for a modal dialog of its type to be the active one, then acts on
// it with real mouse and key events.
#include <QApplication>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>

namespace korvane::test {

class ModalScript {
public:
    ModalScript() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }

    // Acts on the next modal dialog of type D.
    template <typename D>
    ModalScript& then(std::function<void(D&)> act) {
        steps_.push_back({D::staticMetaObject.className(), [act](QWidget* w) { act(*qobject_cast<D*>(w)); }});
        return *this;
    }

    // The type names of the steps that never found their dialog.
    std::string pending() const {
        std::string names;
        for (const Step& s : steps_) names += std::string(names.empty() ? "" : ", ") + s.type;
        return names;
    }
    bool done() const { return steps_.empty(); }

private:
    struct Step {
        const char* type;
        std::function<void(QWidget*)> act;
    };
    void tick() {
        QWidget* modal = QApplication::activeModalWidget();
        // A dialog that no step answers (a failed check) is closed after 3 s, so
        // that the test reports instead of hanging.
        idle_ = modal && !busy_ && (steps_.empty() || !modal->inherits(steps_.front().type)) ? idle_ + 1 : 0;
        if (idle_ > 300) {
            modal->close();
            idle_ = 0;
        }
        if (steps_.empty() || !modal || !modal->inherits(steps_.front().type) || busy_) {
            waited_ = 0;
            return;
        }
        // Keys go to the active window: wait until the dialog is it, as a person
        // waits for a dialog to come up (at most 1 s, for a platform that never
        // activates it).
        if (!modal->isActiveWindow() && ++waited_ < 100) return;
        waited_ = 0;
        const Step step = steps_.front();
        steps_.pop_front();
        busy_ = true;
        step.act(modal);
        busy_ = false;
    }

    QTimer timer_;
    std::deque<Step> steps_;
    bool busy_ = false;
    int idle_ = 0;
    int waited_ = 0;
};

}  // namespace korvane::test
