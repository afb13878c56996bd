#pragma once
// The desktop's side of things on Linux: where an application with a bundle
// identifier is installed, and showing a file in the file manager.
//
// Linux keeps no register of application bundles, so the lookup by bundle
// identifier is a stand-in for the system's (Launch Services on macOS,
// launcher/platform/apple): a scan of the system and the user's Applications
// folders and of the plain folders directly inside them. A copy that lies
// anywhere else is not found by it.

#include "services.h"

namespace vornik {

class FolderScanWorkspace : public Workspace {
public:
    explicit FolderScanWorkspace(std::shared_ptr<Files> files) : files_(std::move(files)) {}

    std::optional<std::string> applicationWithIdentifier(const std::string& identifier) override;

    // Opens the file's folder in the desktop's file manager through xdg-open.
    // Best effort: a failure is not reported.
    void reveal(const std::string& path) override;

private:
    std::shared_ptr<Files> files_;
};

}  // namespace vornik
