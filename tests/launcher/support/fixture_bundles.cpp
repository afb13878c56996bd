#include "fixture_bundles.h"

#include "bundle_identifiers.h"
#include "fixed_locations.h"
#include "temporary_folder.h"

#include <plist/plist.h>

namespace vornik::testing {

void appendBigEndian32(std::string& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((value >> shift) & 0xFF);
}

void appendBigEndian64(std::string& bytes, std::uint64_t value) {
    appendBigEndian32(bytes, static_cast<std::uint32_t>(value >> 32));
    appendBigEndian32(bytes, static_cast<std::uint32_t>(value));
}

void appendLittleEndian32(std::string& bytes, std::uint32_t value) {
    for (int shift = 0; shift <= 24; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
}

std::string thinExecutable(std::uint32_t cpuType, bool wide) {
    std::string bytes;
    appendLittleEndian32(bytes, wide ? 0xFEEDFACF : 0xFEEDFACE);
    appendLittleEndian32(bytes, cpuType);
    appendLittleEndian32(bytes, 3);  // subtype "all"
    appendLittleEndian32(bytes, 2);  // executable
    appendLittleEndian32(bytes, 0);  // no load commands
    appendLittleEndian32(bytes, 0);
    appendLittleEndian32(bytes, 0);
    if (wide) appendLittleEndian32(bytes, 0);
    return bytes;
}

std::string fatExecutable(const std::vector<std::uint32_t>& cpuTypes, bool wide) {
    std::vector<std::string> slices;
    for (std::uint32_t cpu : cpuTypes) slices.push_back(thinExecutable(cpu, cpu & 0x01000000));
    std::string bytes;
    appendBigEndian32(bytes, wide ? 0xCAFEBABF : 0xCAFEBABE);
    appendBigEndian32(bytes, static_cast<std::uint32_t>(slices.size()));
    const std::size_t entrySize = wide ? 32 : 20;
    std::uint64_t offset = 8 + entrySize * slices.size();
    offset = (offset + 15) & ~std::uint64_t(15);
    std::string body;
    for (std::size_t i = 0; i < slices.size(); ++i) {
        appendBigEndian32(bytes, cpuTypes[i]);
        appendBigEndian32(bytes, 3);
        const std::uint64_t sliceOffset = offset + body.size();
        if (wide) {
            appendBigEndian64(bytes, sliceOffset);
            appendBigEndian64(bytes, slices[i].size());
            appendBigEndian32(bytes, 4);
            appendBigEndian32(bytes, 0);
        } else {
            appendBigEndian32(bytes, static_cast<std::uint32_t>(sliceOffset));
            appendBigEndian32(bytes, static_cast<std::uint32_t>(slices[i].size()));
            appendBigEndian32(bytes, 4);
        }
        body += slices[i];
        body.resize((body.size() + 15) & ~std::size_t(15), '\0');
    }
    bytes.resize(offset, '\0');
    return bytes + body;
}

std::string infoPlist(const std::map<std::string, std::string>& entries, PlistFormat format) {
    plist_t root = plist_new_dict();
    for (const auto& [key, value] : entries)
        plist_dict_set_item(root, key.c_str(), plist_new_string(value.c_str()));
    char* data = nullptr;
    std::uint32_t length = 0;
    std::string result;
    if (format == PlistFormat::xml) {
        plist_to_xml(root, &data, &length);
        result.assign(data, length);
        plist_to_xml_free(data);
    } else {
        plist_to_bin(root, &data, &length);
        result.assign(data, length);
        plist_to_bin_free(data);
    }
    plist_free(root);
    return result;
}

std::string writeBundle(const std::string& path, const BundleContents& contents) {
    std::map<std::string, std::string> entries{{"CFBundleExecutable", contents.executableName},
                                               {"CFBundlePackageType", "APPL"}};
    if (contents.identifier) entries["CFBundleIdentifier"] = *contents.identifier;
    writeFile(path + "/Contents/Info.plist", infoPlist(entries, contents.format));
    makeFolders(path + "/Contents/MacOS");
    if (contents.executable) writeFile(path + "/Contents/MacOS/" + contents.executableName, *contents.executable);
    if (contents.steamMarker)
        writeFile(path + "/Contents/Frameworks/libsteam_api.dylib", "steam api stand-in");
    return path;
}

BundleContents validGame() {
    BundleContents contents;
    contents.identifier = gameIdentifier;
    contents.executable = thinExecutable(cpuI386);
    return contents;
}

}  // namespace vornik::testing
