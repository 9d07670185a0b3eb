#include "files/ui/LinkTransfer.h"

namespace korvane {

LinkTransfer::LinkTransfer(QObject* parent) : QObject(parent) {}

LinkTransfer::~LinkTransfer() {
    control_.cancel();
    join();
}

bool LinkTransfer::start(std::function<link::LinkStatus(link::TransferControl&)> operation,
                         std::function<void(const link::LinkStatus&)> done) {
    if (busy()) return false;
    control_.reset();
    control_.onProgress = [this](double fraction) {
        QMetaObject::invokeMethod(this, [this, fraction] { emit progress(fraction); }, Qt::QueuedConnection);
    };
    worker_ = std::thread([this, operation = std::move(operation), done = std::move(done)] {
        const auto startedAt = std::chrono::steady_clock::now();
        const link::LinkStatus status = operation(control_);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - startedAt).count();
        // Posted events die with this object, so a window closed meanwhile gets nothing.
        QMetaObject::invokeMethod(
            this,
            [this, status, done, seconds] {
                join();
                seconds_ = seconds;
                done(status);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void LinkTransfer::cancel() {
    if (busy()) control_.cancel();
}

void LinkTransfer::join() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace korvane
