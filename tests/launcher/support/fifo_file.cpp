#include "fifo_file.h"

#include "temporary_folder.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vornik::testing {

void makeFifo(const std::string& path) {
    makeFolders(std::filesystem::path(path).parent_path().string());
    if (::mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("mkfifo failed: " + path);
}

bool returnsWithoutAWriter(const std::string& fifo, const std::function<void()>& call) {
    std::future<void> done = std::async(std::launch::async, call);
    if (done.wait_for(std::chrono::seconds(2)) == std::future_status::ready) return true;
    // Let the blocked reader through: open (and so end) a writer until it returns.
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) ::close(writer);
    }
    return false;
}

}  // namespace vornik::testing
