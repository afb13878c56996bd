// The launcher's preferences on macOS: its user-defaults domain, through
// NSUserDefaults, for the window and the command-line front end alike (both
// executables lie in the launcher's bundle, whose identifier names the
// domain). Built only on macOS.
#include "system_services.h"

#include "bundle_identifiers.h"

#import <Foundation/Foundation.h>

namespace vornik {

namespace {

NSString* text(const std::string& value) { return [NSString stringWithUTF8String:value.c_str()]; }

class UserDefaultsPreferences : public Preferences {
public:
    UserDefaultsPreferences() {
        // The standard domain is the main bundle's. A program run from
        // elsewhere (a copy of the command-line front end outside the
        // bundle) names the launcher's domain instead.
        @autoreleasepool {
            NSString* launcher = [NSString stringWithUTF8String:launcherIdentifier];
            if ([[[NSBundle mainBundle] bundleIdentifier] isEqualToString:launcher])
                defaults_ = [NSUserDefaults standardUserDefaults];
            else
                defaults_ = [[NSUserDefaults alloc] initWithSuiteName:launcher];
        }
    }

    // Each call drains its own pool: the command-line front end has no
    // event loop that would.
    void registerDefaults(const std::map<std::string, bool>& defaults) override {
        @autoreleasepool {
            NSMutableDictionary* registered = [NSMutableDictionary dictionary];
            for (const auto& [key, value] : defaults) registered[text(key)] = @(value);
            [defaults_ registerDefaults:registered];
        }
    }

    std::optional<std::string> stringForKey(const std::string& key) override {
        @autoreleasepool {
            NSString* value = [defaults_ stringForKey:text(key)];
            if (!value) return std::nullopt;
            return std::string([value UTF8String]);
        }
    }

    void setString(const std::string& key, const std::string& value) override {
        @autoreleasepool {
            // A path that is no UTF-8 text cannot become a string; it is not stored.
            if (NSString* stored = text(value)) [defaults_ setObject:stored forKey:text(key)];
        }
    }

    bool boolForKey(const std::string& key) override {
        @autoreleasepool {
            return [defaults_ boolForKey:text(key)];
        }
    }

    void setBool(const std::string& key, bool value) override {
        @autoreleasepool {
            [defaults_ setBool:value forKey:text(key)];
        }
    }

private:
    NSUserDefaults* defaults_;  // strong (the file is compiled with ARC)
};

}  // namespace

std::shared_ptr<Preferences> userPreferences(Files&) {
    return std::make_shared<UserDefaultsPreferences>();
}

}  // namespace vornik
