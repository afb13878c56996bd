#pragma once
// Preferences through QSettings in the launcher's own domain (the
// user-defaults domain com.vornik.launcher on macOS). Registered defaults
// answer reads of keys never set and are not stored.

#include "services.h"

#include <QSettings>
#include <memory>

namespace vornik {

class SettingsPreferences : public Preferences {
public:
    // The launcher's own domain.
    SettingsPreferences();
    // A given store (tests).
    explicit SettingsPreferences(std::unique_ptr<QSettings> settings);

    void registerDefaults(const std::map<std::string, bool>& defaults) override;
    std::optional<std::string> stringForKey(const std::string& key) override;
    void setString(const std::string& key, const std::string& value) override;
    bool boolForKey(const std::string& key) override;
    void setBool(const std::string& key, bool value) override;

private:
    std::unique_ptr<QSettings> settings_;
    std::map<std::string, bool> registered_;
};

// Organisation and application names whose QSettings domain is the
// launcher's bundle identifier, "com.vornik.launcher".
inline constexpr const char* settingsOrganization = "vornik.com";
inline constexpr const char* settingsApplication = "launcher";

}  // namespace vornik
