#include "info_plist.h"

#include "file_contents.h"
#include "property_list.h"

#include <cstdint>

namespace vornik {

namespace {

// An Info.plist is a few kilobytes; anything beyond this is not one.
constexpr std::size_t largestInfoPlist = 4 * 1024 * 1024;

std::optional<std::string> stringEntry(plist_t dictionary, const char* key) {
    plist_t item = plist_dict_get_item(dictionary, key);
    if (!item || plist_get_node_type(item) != PLIST_STRING) return std::nullopt;
    std::uint64_t length = 0;
    const char* value = plist_get_string_ptr(item, &length);
    if (!value) return std::nullopt;
    return std::string(value, static_cast<std::size_t>(length));
}

}  // namespace

std::optional<InfoPlist> parseInfoPlist(const std::string& data) {
    PlistTree tree = parsePropertyList(data, largestInfoPlist);
    plist_t root = tree.get();
    if (!root || plist_get_node_type(root) != PLIST_DICT) return std::nullopt;
    return InfoPlist{stringEntry(root, "CFBundleIdentifier"), stringEntry(root, "CFBundleExecutable")};
}

std::optional<InfoPlist> readInfoPlist(const std::string& path) {
    std::optional<std::string> data = readSmallFile(path, largestInfoPlist);
    if (!data) return std::nullopt;
    return parseInfoPlist(*data);
}

}  // namespace vornik
