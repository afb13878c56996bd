#pragma once
// Preferences kept in a property-list file, the format of a user-defaults
// domain, for systems without a user-defaults service: every front end of
// the launcher reads and writes the same file.
//
// The file is the store: each read looks at it afresh and each change
// rewrites it from what it holds at that moment, with every key kept, those
// of other programs and of types the launcher never uses included. So a
// window and a command-line launcher running side by side see each other's
// changes and never undo them. Registered defaults stay in memory only, and
// booleans read as the user-defaults service reads them: see boolForKey.

#include "property_list.h"
#include "services.h"

namespace vornik {

class PlistPreferences : public Preferences {
public:
    // The store in the file at `filePath`; with an empty path, in memory only.
    explicit PlistPreferences(std::string filePath);

    void registerDefaults(const std::map<std::string, bool>& defaults) override;
    // The value when it is a string.
    std::optional<std::string> stringForKey(const std::string& key) override;
    void setString(const std::string& key, const std::string& value) override;
    // A stored value of any type answers, the registered default only an
    // absent key: a boolean as it is; a number true when it is not zero; a
    // string true when, after leading white space, an optional sign and
    // zeros, it starts with Y, y, T, t or a digit 1 to 9 (so "YES", "true"
    // and "1" are true, "NO", "false" and "0" false); anything else false.
    bool boolForKey(const std::string& key) override;
    void setBool(const std::string& key, bool value) override;

private:
    // The stored dictionary as it is now.
    plist_t current();
    void store(const std::string& key, plist_t value);

    std::string filePath_;
    PlistTree stored_;
    std::map<std::string, bool> registered_;
};

// The preferences file of the launcher's domain under a home folder.
std::string preferencesFileIn(const std::string& home);

}  // namespace vornik
