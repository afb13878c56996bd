#pragma once
// Hands work to the Qt main thread through a queued call on the application
// object: it runs from the event loop, after whatever the main thread is
// doing now has finished. Safe to call from any thread while the
// application object exists.

#include "services.h"

namespace vornik {

class QtMainThread : public MainThread {
public:
    void post(std::function<void()> work) override;
};

}  // namespace vornik
