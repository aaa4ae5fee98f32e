#include "platform/engine_reporter.h"

#include <atomic>

namespace corvid {

namespace {
EngineReporter silentReporter;
// Per process: installed by the run mode before the engine starts talking.
std::atomic<EngineReporter*> activeReporter{&silentReporter};
} // namespace

EngineReporter& reporter() { return *activeReporter.load(std::memory_order_acquire); }

void setReporter(EngineReporter* installed) {
    activeReporter.store(installed ? installed : &silentReporter, std::memory_order_release);
}

} // namespace corvid
