#include "platform/thread.h"

#include <pthread.h>

namespace corvid {

struct LargeStackThread::Impl {
    pthread_t handle;
    std::function<void()> body;
};

namespace {
void* RunBody(void* argument) {
    static_cast<LargeStackThread::Impl*>(argument)->body();
    return nullptr;
}
} // namespace

LargeStackThread::~LargeStackThread() {
    if (started_) join();
    delete impl_;
}

bool LargeStackThread::start(std::function<void()> body, size_t stackBytes) {
    if (started_) return false;
    if (!impl_) impl_ = new Impl;
    impl_->body = std::move(body);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, stackBytes);
    started_ = pthread_create(&impl_->handle, &attributes, RunBody, impl_) == 0;
    pthread_attr_destroy(&attributes);
    return started_;
}

void LargeStackThread::join() {
    if (!started_) return;
    pthread_join(impl_->handle, nullptr);
    started_ = false;
}

} // namespace corvid
