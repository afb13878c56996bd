#include "plist_preferences.h"

#include "file_contents.h"
#include "file_paths.h"
#include "identifiers.h"
#include "plist_shape.h"

#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>

namespace vornik {

namespace {
constexpr std::size_t largestPreferencesFile = 1024 * 1024;
}

std::string preferencesFileIn(const std::string& home) {
    return home + "/Library/Preferences/" + launcherIdentifier + ".plist";
}

PlistPreferences::PlistPreferences(std::string filePath) : filePath_(std::move(filePath)) {
    std::optional<std::string> data = readSmallFile(filePath_, largestPreferencesFile);
    if (!data || data->empty() || !isModestPropertyList(*data)) return;
    plist_t root = nullptr;
    plist_from_memory(data->data(), static_cast<std::uint32_t>(data->size()), &root);
    if (!root) return;
    if (plist_get_node_type(root) == PLIST_DICT) {
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(root, &iterator);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(root, iterator, &key, &item);
            if (!key) break;
            if (item && plist_get_node_type(item) == PLIST_STRING) {
                std::uint64_t length = 0;
                const char* text = plist_get_string_ptr(item, &length);
                if (text) stored_[key] = std::string(text, static_cast<std::size_t>(length));
            } else if (item && plist_get_node_type(item) == PLIST_BOOLEAN) {
                std::uint8_t flag = 0;
                plist_get_bool_val(item, &flag);
                stored_[key] = flag != 0;
            }
            std::free(key);
        }
        std::free(iterator);
    }
    plist_free(root);
}

void PlistPreferences::registerDefaults(const std::map<std::string, bool>& defaults) {
    for (const auto& [key, value] : defaults) registered_[key] = value;
}

std::optional<std::string> PlistPreferences::stringForKey(const std::string& key) {
    auto found = stored_.find(key);
    if (found == stored_.end() || !std::holds_alternative<std::string>(found->second))
        return std::nullopt;
    return std::get<std::string>(found->second);
}

void PlistPreferences::setString(const std::string& key, const std::string& value) {
    stored_[key] = value;
    store();
}

bool PlistPreferences::boolForKey(const std::string& key) {
    auto found = stored_.find(key);
    if (found != stored_.end() && std::holds_alternative<bool>(found->second))
        return std::get<bool>(found->second);
    auto registered = registered_.find(key);
    return registered != registered_.end() && registered->second;
}

void PlistPreferences::setBool(const std::string& key, bool value) {
    stored_[key] = value;
    store();
}

void PlistPreferences::store() {
    plist_t root = plist_new_dict();
    for (const auto& [key, value] : stored_) {
        if (const auto* text = std::get_if<std::string>(&value))
            plist_dict_set_item(root, key.c_str(), plist_new_string(text->c_str()));
        else
            plist_dict_set_item(root, key.c_str(), plist_new_bool(std::get<bool>(value) ? 1 : 0));
    }
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    plist_free(root);
    if (!xml) return;
    std::string data(xml, length);
    plist_to_xml_free(xml);
    // Preferences are a convenience: when they cannot be written the launcher
    // still works, it only forgets at the next start.
    std::error_code error;
    std::filesystem::create_directories(deletingLastPathComponent(filePath_), error);
    writeFileAtomically(filePath_, data);
}

}  // namespace vornik
