#pragma once
// FIFOs in place of files: opening one that has no writer blocks, which is
// exactly what the code under test must never do.

#include <functional>
#include <string>

namespace vornik::testing {

void makeFifo(const std::string& path);

// Runs `call` on another thread and reports whether it returned within two
// seconds. When it did not (it waits for a writer on `fifo`), the FIFO is
// opened for writing and closed so that the call can end before this returns.
bool returnsWithoutAWriter(const std::string& fifo, const std::function<void()>& call);

}  // namespace vornik::testing
