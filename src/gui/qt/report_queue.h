// The queue that carries the engine's reports to the window thread. Any thread pushes (under
// a plain mutex, never waiting for the window) and writes one byte to a pipe; the window
// thread's event loop watches the pipe and drains the queue. Qt's own cross-thread posting
// would serve as well, but its locks are invisible to the thread sanitizer, which then
// reports every hand-over; with this queue the hand-over is a mutex the sanitizer sees.
#pragma once

#include "gui/logic/desktop_reporter.h"

#include <QObject>
#include <deque>
#include <functional>
#include <mutex>

class QSocketNotifier;

namespace corvid {

class ReportQueue : public QObject {
    Q_OBJECT
public:
    // handler runs on the window thread for each report, in the order pushed.
    ReportQueue(std::function<void(const DesktopEvent&)> handler, QObject* parent);
    ~ReportQueue() override;

    // Any thread.
    void push(DesktopEvent&& event);
    // Window thread: handles what has been pushed so far (the pipe's watcher calls it).
    void drain();

private:
    std::function<void(const DesktopEvent&)> handler_;
    std::mutex mutex_;
    std::deque<DesktopEvent> events_;
    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace corvid
