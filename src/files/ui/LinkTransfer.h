#pragma once
// One link operation at a time, run off the interface thread so that the window
// stays responsive: the operation gets a TransferControl whose progress comes back
// on the window's thread, and a cancel that stops it at its next block of bytes.
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <thread>

#include "link/Link.h"

namespace korvane {

class LinkTransfer : public QObject {
    Q_OBJECT
public:
    explicit LinkTransfer(QObject* parent = nullptr);
    // Cancels a transfer still running and waits for its thread.
    ~LinkTransfer() override;

    // From start() until `done` is called: the worker is joined just before.
    bool busy() const { return worker_.joinable(); }

    // Runs `operation` on a worker thread; `done` is then called on this object's
    // thread with its result. False, and nothing started, while another runs.
    bool start(std::function<link::LinkStatus(link::TransferControl&)> operation,
               std::function<void(const link::LinkStatus&)> done);
    // The same with the link of `options` opened first on the worker thread (its
    // failure is the result) and closed after `operation`.
    bool startOnLink(const link::LinkOptions& options,
                     std::function<link::LinkStatus(link::Link&, link::TransferControl&)> operation,
                     std::function<void(const link::LinkStatus&)> done) {
        return start(
            [options, operation = std::move(operation)](link::TransferControl& control) {
                auto opened = link::Link::open(options);
                if (!opened.ok()) return opened.status;
                return operation(*opened.value, control);
            },
            std::move(done));
    }
    void cancel();

    // What the status bar says while the transfer runs, its one placeholder left
    // ("%2") standing for the percentage done; empty when it shows none.
    QString caption;
    // How long the last operation took, from start() to its end, in seconds.
    double seconds() const { return seconds_; }

signals:
    // The fraction done, from 0 to 1.
    void progress(double fraction);

private:
    void join();
    link::TransferControl control_;
    std::thread worker_;
    double seconds_ = 0;
};

}  // namespace korvane
