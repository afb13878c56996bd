#pragma once
// Files and folders through POSIX calls. The home folder and the system
// applications folder can be given explicitly (tests use temporary ones);
// otherwise they are $HOME (or the password database) and "/Applications".

#include "services.h"

#include <optional>

namespace vornik {

struct FolderOverrides {
    std::optional<std::string> home;
    std::optional<std::string> systemApplications;
};

class PosixFiles : public Files {
public:
    explicit PosixFiles(FolderOverrides overrides = {}) : overrides_(std::move(overrides)) {}

    bool isReadableFile(const std::string& path) override;
    bool isExecutableFile(const std::string& path) override;
    std::string resolvingSymlinks(const std::string& path) override;
    Result<std::string> homeDirectory() override;
    Result<std::string> libraryDirectory() override;
    std::string systemApplicationsDirectory() override;
    std::optional<LaunchFailure> createDirectories(const std::string& path) override;
    bool createPrivateFile(const std::string& path) override;
    Result<std::unique_ptr<WritableFile>> openForWriting(const std::string& path) override;
    Result<std::vector<FolderEntry>> listFolder(const std::string& path) override;
    std::string newUuidString() override;

private:
    FolderOverrides overrides_;
};

}  // namespace vornik
