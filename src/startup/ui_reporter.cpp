#include "startup/ui_reporter.h"

#include <atomic>

namespace corvid {

namespace {
UiReporter silentReporter;
// Per process: installed once by the desktop before it opens its window.
std::atomic<UiReporter*> activeReporter{&silentReporter};
} // namespace

UiReporter& uiReporter() { return *activeReporter.load(std::memory_order_acquire); }

void setUiReporter(UiReporter* reporter) {
    activeReporter.store(reporter ? reporter : &silentReporter, std::memory_order_release);
}

} // namespace corvid
