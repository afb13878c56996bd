#include "settings_preferences.h"

namespace vornik {

SettingsPreferences::SettingsPreferences()
    : SettingsPreferences(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                      settingsOrganization, settingsApplication)) {}

SettingsPreferences::SettingsPreferences(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)) {}

void SettingsPreferences::registerDefaults(const std::map<std::string, bool>& defaults) {
    for (const auto& [key, value] : defaults) registered_[key] = value;
}

std::optional<std::string> SettingsPreferences::stringForKey(const std::string& key) {
    QVariant value = settings_->value(QString::fromStdString(key));
    if (!value.isValid() || value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString().toStdString();
}

void SettingsPreferences::setString(const std::string& key, const std::string& value) {
    settings_->setValue(QString::fromStdString(key), QString::fromStdString(value));
    settings_->sync();
}

bool SettingsPreferences::boolForKey(const std::string& key) {
    QVariant value = settings_->value(QString::fromStdString(key));
    if (value.isValid()) return value.toBool();
    auto registered = registered_.find(key);
    return registered != registered_.end() && registered->second;
}

void SettingsPreferences::setBool(const std::string& key, bool value) {
    settings_->setValue(QString::fromStdString(key), value);
    settings_->sync();
}

}  // namespace vornik
