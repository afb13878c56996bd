#include "queued_main_thread.h"

namespace vornik {

void QueuedMainThread::post(std::function<void()> work) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(work));
    }
    arrived_.notify_one();
}

int QueuedMainThread::runPending() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        batch.swap(queue_);
    }
    for (auto& work : batch) work();
    return static_cast<int>(batch.size());
}

bool QueuedMainThread::runUntil(const std::function<bool()>& done,
                                std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        runPending();
        if (done()) return true;
        std::unique_lock<std::mutex> lock(mutex_);
        if (!arrived_.wait_until(lock, deadline, [this] { return !queue_.empty(); }))
            return done();
    }
}

}  // namespace vornik
