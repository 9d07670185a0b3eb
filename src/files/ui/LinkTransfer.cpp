#include "files/ui/LinkTransfer.h"

namespace korvane {

LinkTransfer::LinkTransfer(QObject* parent) : QObject(parent) {}

LinkTransfer::~LinkTransfer() {
    control_.cancel();
    join();
}

bool LinkTransfer::start(std::function<link::LinkStatus(link::TransferControl&)> operation,
                         std::function<void(const link::LinkStatus&)> done) {
    if (busy_) return false;
    join();
    busy_ = true;
    control_.reset();
    control_.onProgress = [this](double fraction) {
        QMetaObject::invokeMethod(this, [this, fraction] { emit progress(fraction); }, Qt::QueuedConnection);
    };
    worker_ = std::thread([this, operation = std::move(operation), done = std::move(done)] {
        const link::LinkStatus status = operation(control_);
        // Posted events die with this object, so a window closed meanwhile gets nothing.
        QMetaObject::invokeMethod(
            this,
            [this, status, done] {
                busy_ = false;
                join();
                done(status);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void LinkTransfer::cancel() {
    if (busy_) control_.cancel();
}

void LinkTransfer::join() {
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

}  // namespace korvane
