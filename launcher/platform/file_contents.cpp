#include "file_contents.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vornik {

int openRegularFile(const std::string& path) {
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return -1;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

std::optional<std::string> readSmallFile(const std::string& path, std::size_t limit) {
    int descriptor = openRegularFile(path);
    if (descriptor < 0) return std::nullopt;
    std::string data;
    char chunk[16384];
    bool ok = true;
    for (;;) {
        ssize_t got = ::read(descriptor, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) { ok = false; break; }
        if (got == 0) break;
        data.append(chunk, static_cast<std::size_t>(got));
        if (data.size() > limit) { ok = false; break; }
    }
    ::close(descriptor);
    if (!ok) return std::nullopt;
    return data;
}

bool writeFileAtomically(const std::string& path, const std::string& data) {
    std::string temporary = path + ".XXXXXX";
    int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) return false;
    std::size_t written = 0;
    while (written < data.size()) {
        ssize_t put = ::write(descriptor, data.data() + written, data.size() - written);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) break;
        written += static_cast<std::size_t>(put);
    }
    bool ok = written == data.size() && ::fsync(descriptor) == 0;
    ok = ::close(descriptor) == 0 && ok;
    if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

}  // namespace vornik
