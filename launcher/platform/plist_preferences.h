#pragma once
// Preferences kept in a property-list file, the format and place
// (~/Library/Preferences/<identifier>.plist) of the user-defaults domain.
// Every change is written through at once; registered defaults stay in
// memory only.

#include "services.h"

#include <variant>

namespace vornik {

class PlistPreferences : public Preferences {
public:
    explicit PlistPreferences(std::string filePath);

    void registerDefaults(const std::map<std::string, bool>& defaults) override;
    std::optional<std::string> stringForKey(const std::string& key) override;
    void setString(const std::string& key, const std::string& value) override;
    bool boolForKey(const std::string& key) override;
    void setBool(const std::string& key, bool value) override;

private:
    using Value = std::variant<std::string, bool>;
    void store();

    std::string filePath_;
    std::map<std::string, Value> stored_;
    std::map<std::string, bool> registered_;
};

// The preferences file of the launcher's domain under a home folder.
std::string preferencesFileIn(const std::string& home);

}  // namespace vornik
