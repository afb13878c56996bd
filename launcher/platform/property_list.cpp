#include "property_list.h"

#include "plist_shape.h"

#include <cstdint>
#include <limits>

namespace vornik {

PlistTree parsePropertyList(const std::string& data, std::size_t limit) {
    if (data.empty() || data.size() > limit || data.size() > std::numeric_limits<std::uint32_t>::max() ||
        !isModestPropertyList(data))
        return nullptr;
    const auto length = static_cast<std::uint32_t>(data.size());
    plist_t root = nullptr;
    if (data.starts_with("bplist00"))
        plist_from_bin(data.data(), length, &root);
    else
        plist_from_xml(data.data(), length, &root);
    return PlistTree(root);
}

std::string xmlPropertyList(plist_t tree) {
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(tree, &xml, &length);
    if (!xml) return {};
    std::string text(xml, length);
    plist_to_xml_free(xml);
    return text;
}

}  // namespace vornik
