#include "posix_files.h"

#include "random_uuid.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vornik {

namespace {

bool isRegularWithAccess(const std::string& path, int mode) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), mode) == 0;
}

std::chrono::system_clock::time_point modificationTime(const struct stat& info) {
#ifdef __APPLE__
    const struct timespec& when = info.st_mtimespec;
#else
    const struct timespec& when = info.st_mtim;
#endif
    auto since = std::chrono::seconds(when.tv_sec) + std::chrono::nanoseconds(when.tv_nsec);
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(since));
}

class DescriptorFile : public WritableFile {
public:
    explicit DescriptorFile(int descriptor) : descriptor_(descriptor) {}
    ~DescriptorFile() override { ::close(descriptor_); }  // an error from closing is of no use
    int descriptor() const override { return descriptor_; }

private:
    int descriptor_;
};

}  // namespace

bool PosixFiles::isReadableFile(const std::string& path) { return isRegularWithAccess(path, R_OK); }

bool PosixFiles::isExecutableFile(const std::string& path) { return isRegularWithAccess(path, X_OK); }

std::string PosixFiles::resolvingSymlinks(const std::string& path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    if (error) return path;
    return resolved.string();
}

Result<std::string> PosixFiles::homeDirectory() {
    if (overrides_.home) return *overrides_.home;
    if (const char* home = std::getenv("HOME"); home && *home == '/') return std::string(home);
    if (const struct passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir)
        return std::string(user->pw_dir);
    return LaunchFailure::posix(ENOENT, "The home folder could not be located");
}

Result<std::string> PosixFiles::libraryDirectory() {
    Result<std::string> home = homeDirectory();
    if (!home) return home.failure();
    return home.value() + "/Library";
}

std::string PosixFiles::systemApplicationsDirectory() {
    return overrides_.systemApplications.value_or("/Applications");
}

std::optional<LaunchFailure> PosixFiles::createDirectories(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (!error) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return std::nullopt;
        return LaunchFailure::posix(ENOTDIR, "The folder “" + path + "” could not be created");
    }
    return LaunchFailure::posix(error.value(), "The folder “" + path + "” could not be created");
}

bool PosixFiles::createPrivateFile(const std::string& path) {
    // Exclusive and without following a link, so an existing file or a
    // planted symbolic link is never written to; the mode is set again after
    // creation because the umask may have taken bits away.
    int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (descriptor < 0) return false;
    bool ok = ::fchmod(descriptor, S_IRUSR | S_IWUSR) == 0;
    ::close(descriptor);
    if (!ok) ::unlink(path.c_str());
    return ok;
}

Result<std::unique_ptr<WritableFile>> PosixFiles::openForWriting(const std::string& path) {
    int descriptor = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return LaunchFailure::posix(errno, "The file “" + path + "” could not be opened for writing");
    return std::unique_ptr<WritableFile>(new DescriptorFile(descriptor));
}

Result<std::vector<FolderEntry>> PosixFiles::listFolder(const std::string& path) {
    DIR* folder = ::opendir(path.c_str());
    if (!folder) return LaunchFailure::posix(errno);
    std::vector<FolderEntry> entries;
    while (const struct dirent* item = ::readdir(folder)) {
        std::string name = item->d_name;
        if (name.empty() || name[0] == '.') continue;  // hidden, and "." and ".."
        FolderEntry entry{path + "/" + name, std::nullopt, std::nullopt};
        struct stat info {};
        if (::lstat(entry.path.c_str(), &info) == 0) {
            entry.isRegularFile = S_ISREG(info.st_mode);
            entry.modified = modificationTime(info);
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(folder);
    return entries;
}

std::string PosixFiles::newUuidString() { return randomUuidString(); }

}  // namespace vornik
