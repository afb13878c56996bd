#include "plist_preferences.h"

#include "bundle_identifiers.h"
#include "file_contents.h"
#include "file_paths.h"

#include <cstdint>
#include <filesystem>

namespace vornik {

namespace {

// A preferences file of a few keys is a few hundred bytes.
constexpr std::size_t largestPreferencesFile = 1024 * 1024;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

bool stringIsTrue(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at])) ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    while (at < text.size() && text[at] == '0') ++at;
    if (at == text.size()) return false;
    const char first = text[at];
    return first == 'Y' || first == 'y' || first == 'T' || first == 't' || (first >= '1' && first <= '9');
}

bool valueIsTrue(plist_t value) {
    switch (plist_get_node_type(value)) {
    case PLIST_BOOLEAN: {
        std::uint8_t flag = 0;
        plist_get_bool_val(value, &flag);
        return flag != 0;
    }
    case PLIST_UINT: {  // integers of either sign
        std::uint64_t number = 0;
        plist_get_uint_val(value, &number);
        return number != 0;
    }
    case PLIST_REAL: {
        double number = 0;
        plist_get_real_val(value, &number);
        return number != 0;
    }
    case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(value, &length);
        return text && stringIsTrue(std::string(text, static_cast<std::size_t>(length)));
    }
    default:
        return false;
    }
}

}  // namespace

std::string preferencesFileIn(const std::string& home) {
    return home + "/Library/Preferences/" + launcherIdentifier + ".plist";
}

PlistPreferences::PlistPreferences(std::string filePath)
    : filePath_(std::move(filePath)), stored_(plist_new_dict()) {}

plist_t PlistPreferences::current() {
    if (filePath_.empty()) return stored_.get();
    PlistTree tree;
    if (std::optional<std::string> data = readSmallFile(filePath_, largestPreferencesFile))
        tree = parsePropertyList(*data, largestPreferencesFile);
    // A file that is missing, unreadable or no dictionary holds nothing.
    if (!tree || plist_get_node_type(tree.get()) != PLIST_DICT) tree.reset(plist_new_dict());
    stored_ = std::move(tree);
    return stored_.get();
}

void PlistPreferences::store(const std::string& key, plist_t value) {
    plist_dict_set_item(current(), key.c_str(), value);
    if (filePath_.empty()) return;
    const std::string xml = xmlPropertyList(stored_.get());
    if (xml.empty()) return;
    // Preferences are a convenience: when they cannot be written the launcher
    // still works, it only forgets at the next start.
    std::error_code error;
    std::filesystem::create_directories(deletingLastPathComponent(filePath_), error);
    writeFileAtomically(filePath_, xml);
}

void PlistPreferences::registerDefaults(const std::map<std::string, bool>& defaults) {
    for (const auto& [key, value] : defaults) registered_[key] = value;
}

std::optional<std::string> PlistPreferences::stringForKey(const std::string& key) {
    plist_t value = plist_dict_get_item(current(), key.c_str());
    if (!value || plist_get_node_type(value) != PLIST_STRING) return std::nullopt;
    std::uint64_t length = 0;
    const char* text = plist_get_string_ptr(value, &length);
    if (!text) return std::nullopt;
    return std::string(text, static_cast<std::size_t>(length));
}

void PlistPreferences::setString(const std::string& key, const std::string& value) {
    store(key, plist_new_string(value.c_str()));
}

bool PlistPreferences::boolForKey(const std::string& key) {
    if (plist_t value = plist_dict_get_item(current(), key.c_str())) return valueIsTrue(value);
    auto registered = registered_.find(key);
    return registered != registered_.end() && registered->second;
}

void PlistPreferences::setBool(const std::string& key, bool value) {
    store(key, plist_new_bool(value ? 1 : 0));
}

}  // namespace vornik
