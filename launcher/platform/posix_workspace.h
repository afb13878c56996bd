#pragma once
// The desktop's side of things: where an application with an identifier is
// installed, and showing a file in the file viewer.

#include "services.h"

namespace vornik {

class PosixWorkspace : public Workspace {
public:
    explicit PosixWorkspace(std::shared_ptr<Files> files) : files_(std::move(files)) {}

    // Looks through the system and the user's Applications folders (and the
    // plain folders directly inside them) for a bundle with the identifier.
    std::optional<std::string> applicationWithIdentifier(const std::string& identifier) override;

    // "open -R" on macOS; elsewhere the file's folder opens in the desktop's
    // file manager through xdg-open. Best effort: a failure is not reported.
    void reveal(const std::string& path) override;

private:
    std::shared_ptr<Files> files_;
};

}  // namespace vornik
