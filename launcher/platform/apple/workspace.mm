// The workspace on macOS: Launch Services' lookup of an application by
// bundle identifier, and the Finder's reveal of a file, through NSWorkspace.
// Built only on macOS.
#include "system_services.h"

#import <AppKit/AppKit.h>

namespace vornik {

namespace {

class SystemWorkspace : public Workspace {
public:
    std::optional<std::string> applicationWithIdentifier(const std::string& identifier) override {
        @autoreleasepool {
            NSURL* found = [[NSWorkspace sharedWorkspace]
                URLForApplicationWithBundleIdentifier:[NSString stringWithUTF8String:identifier.c_str()]];
            if (!found || !found.fileURL) return std::nullopt;
            return std::string(found.fileSystemRepresentation);
        }
    }

    void reveal(const std::string& path) override {
        @autoreleasepool {
            // From the path's bytes: a name need not be valid UTF-8.
            NSURL* file = [NSURL fileURLWithFileSystemRepresentation:path.c_str()
                                                         isDirectory:NO
                                                       relativeToURL:nil];
            [[NSWorkspace sharedWorkspace] activateFileViewerSelectingURLs:@[ file ]];
        }
    }
};

}  // namespace

std::shared_ptr<Workspace> systemWorkspace(std::shared_ptr<Files>) {
    return std::make_shared<SystemWorkspace>();
}

const char* applicationLookupDescription() {
    return "Launch Services, by bundle identifier";
}

}  // namespace vornik
