#pragma once
// A main thread for programs without an event loop of a toolkit (the
// command-line front end, the tests): work posted from any thread waits in a
// queue until the main thread runs it.

#include "services.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace vornik {

class QueuedMainThread : public MainThread {
public:
    void post(std::function<void()> work) override;

    // Runs what is queued now; returns how many items ran.
    int runPending();

    // Runs queued work as it arrives until `done` holds or the time is up.
    // Returns whether `done` held.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace vornik
