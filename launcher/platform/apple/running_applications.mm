// Running applications on macOS: the system's list by bundle identifier and
// its activation, through NSRunningApplication. Built only on macOS.
#include "system_services.h"

#import <AppKit/AppKit.h>

#include <algorithm>

namespace vornik {

namespace {

class SystemRunningApplications : public RunningApplications {
public:
    std::vector<RunningApplication> withIdentifier(const std::string& identifier) override {
        std::vector<RunningApplication> found;
        @autoreleasepool {
            NSArray<NSRunningApplication*>* running = [NSRunningApplication
                runningApplicationsWithBundleIdentifier:[NSString stringWithUTF8String:identifier.c_str()]];
            for (NSRunningApplication* application in running) {
                if (application.terminated) continue;
                NSURL* bundle = application.bundleURL;
                found.push_back({application.processIdentifier,
                                 bundle.fileURL ? std::string(bundle.fileSystemRepresentation) : std::string()});
            }
        }
        std::sort(found.begin(), found.end(),
                  [](const auto& a, const auto& b) { return a.processId < b.processId; });
        return found;
    }

    void activate(const RunningApplication& application) override {
        @autoreleasepool {
            NSRunningApplication* running =
                [NSRunningApplication runningApplicationWithProcessIdentifier:application.processId];
            [running activateWithOptions:NSApplicationActivateAllWindows];
        }
    }
};

}  // namespace

std::shared_ptr<RunningApplications> systemRunningApplications() {
    return std::make_shared<SystemRunningApplications>();
}

}  // namespace vornik
