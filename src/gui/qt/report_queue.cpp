#include "gui/qt/report_queue.h"

#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

namespace corvid {

ReportQueue::ReportQueue(std::function<void(const DesktopEvent&)> handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) pipe_[0] = pipe_[1] = -1;
    if (pipe_[0] >= 0) {
        notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { drain(); });
    }
}

ReportQueue::~ReportQueue() {
    for (int fd : pipe_)
        if (fd >= 0) close(fd);
}

void ReportQueue::push(DesktopEvent&& event) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(std::move(event));
    }
    // A full pipe already holds a wake-up: the byte may be dropped.
    const char wake = 1;
    if (pipe_[1] >= 0 && write(pipe_[1], &wake, 1) < 0) {
    }
}

void ReportQueue::drain() {
    char bytes[256];
    while (pipe_[0] >= 0 && read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    std::deque<DesktopEvent> events;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events.swap(events_);
    }
    for (const DesktopEvent& event : events) handler_(event);
}

} // namespace corvid
