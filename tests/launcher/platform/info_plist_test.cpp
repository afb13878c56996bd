#include "info_plist.h"

#include "fixture_bundles.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace vornik {
namespace {

using namespace vornik::testing;

TEST(InfoPlist, ReadsXmlAndBinaryForms) {
    const std::map<std::string, std::string> entries{{"CFBundleIdentifier", "com.example.x"},
                                                     {"CFBundleExecutable", "X"}};
    for (PlistFormat format : {PlistFormat::xml, PlistFormat::binary}) {
        std::optional<InfoPlist> plist = parseInfoPlist(infoPlist(entries, format));
        ASSERT_TRUE(plist);
        EXPECT_EQ(plist->bundleIdentifier, "com.example.x");
        EXPECT_EQ(plist->executableName, "X");
    }
}

TEST(InfoPlist, MissingOrMistypedEntriesAreAbsent) {
    std::optional<InfoPlist> plist = parseInfoPlist(infoPlist({{"CFBundleName", "X"}}, PlistFormat::xml));
    ASSERT_TRUE(plist);
    EXPECT_FALSE(plist->bundleIdentifier);
    EXPECT_FALSE(plist->executableName);

    const std::string integerIdentifier =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
        "<integer>7</integer></dict></plist>";
    plist = parseInfoPlist(integerIdentifier);
    ASSERT_TRUE(plist);
    EXPECT_FALSE(plist->bundleIdentifier);
}

TEST(InfoPlist, BadDataIsNoPlist) {
    const std::string xml = infoPlist({{"CFBundleIdentifier", "com.example.x"}}, PlistFormat::xml);
    const std::string binary = infoPlist({{"CFBundleIdentifier", "com.example.x"}}, PlistFormat::binary);
    const std::string arrayRoot =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>";
    for (const std::string& bad :
         {std::string(), std::string("not a property list"), xml.substr(0, xml.size() / 2),
          binary.substr(0, binary.size() - 10), binary.substr(0, 12), arrayRoot,
          std::string("bplist00") + std::string(64, '\xff')}) {
        EXPECT_FALSE(parseInfoPlist(bad)) << bad;
    }
}

// A binary property list written object by object, so that objects can be
// shared and nested in ways no ordinary writer produces. References and
// offsets are four bytes wide.
class HandWrittenBinaryPlist {
public:
    std::uint32_t add(const std::string& encoded) {
        objects_.push_back(encoded);
        return static_cast<std::uint32_t>(objects_.size() - 1);
    }
    void set(std::uint32_t index, const std::string& encoded) { objects_[index] = encoded; }
    static std::string ascii(const std::string& text) { return marker(0x5, text.size()) + text; }
    static std::string array(const std::vector<std::uint32_t>& items) {
        return marker(0xA, items.size()) + references(items);
    }
    static std::string dictionary(const std::vector<std::uint32_t>& keys,
                                  const std::vector<std::uint32_t>& values) {
        return marker(0xD, keys.size()) + references(keys) + references(values);
    }
    std::string bytes(std::uint32_t top) const {
        std::string out = "bplist00";
        std::vector<std::uint32_t> offsets;
        for (const std::string& object : objects_) {
            offsets.push_back(static_cast<std::uint32_t>(out.size()));
            out += object;
        }
        const std::uint64_t table = out.size();
        for (std::uint32_t offset : offsets) appendBigEndian32(out, offset);
        out += std::string(6, '\0');
        out += '\4';  // offset width
        out += '\4';  // reference width
        appendBigEndian64(out, objects_.size());
        appendBigEndian64(out, top);
        appendBigEndian64(out, table);
        return out;
    }

private:
    static std::string marker(unsigned type, std::size_t count) {
        std::string out(1, static_cast<char>(type << 4 | (count < 15 ? count : 15)));
        if (count >= 15) {
            out += '\x12';  // a four-byte integer follows
            appendBigEndian32(out, static_cast<std::uint32_t>(count));
        }
        return out;
    }
    static std::string references(const std::vector<std::uint32_t>& items) {
        std::string out;
        for (std::uint32_t item : items) appendBigEndian32(out, item);
        return out;
    }
    std::vector<std::string> objects_;
};

// An Info.plist whose dictionary holds the identifier and, under "Nested",
// the object that `build` adds (and returns the index of).
std::string binaryInfoPlistWith(const std::function<std::uint32_t(HandWrittenBinaryPlist&)>& build) {
    HandWrittenBinaryPlist plist;
    const std::uint32_t top = plist.add("");  // the dictionary, once its entries exist
    const std::uint32_t key = plist.add(HandWrittenBinaryPlist::ascii("CFBundleIdentifier"));
    const std::uint32_t value = plist.add(HandWrittenBinaryPlist::ascii("com.example.x"));
    const std::uint32_t nestedKey = plist.add(HandWrittenBinaryPlist::ascii("Nested"));
    const std::uint32_t nested = build(plist);
    plist.set(top, HandWrittenBinaryPlist::dictionary({key, nestedKey}, {value, nested}));
    return plist.bytes(top);
}

// `depth` arrays, each holding the next one `width` times; the last is empty.
std::uint32_t nestedArrays(HandWrittenBinaryPlist& plist, std::size_t depth, std::size_t width) {
    std::uint32_t inner = plist.add(HandWrittenBinaryPlist::array({}));
    for (std::size_t level = 1; level < depth; ++level)
        inner = plist.add(HandWrittenBinaryPlist::array(std::vector<std::uint32_t>(width, inner)));
    return inner;
}

std::string xmlNestedArrays(std::size_t depth) {
    std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
                      "<string>com.example.x</string><key>Nested</key>";
    for (std::size_t i = 0; i < depth; ++i) xml += "<array>";
    for (std::size_t i = 0; i < depth; ++i) xml += "</array>";
    return xml + "</dict></plist>";
}

TEST(InfoPlist, ShapesThatWouldExhaustTheParserAreRefused) {
    struct Case {
        const char* name;
        std::string data;
        bool parses;
    } cases[] = {
        {"binary_shared_arrays_modest", binaryInfoPlistWith([](auto& p) { return nestedArrays(p, 12, 2); }), true},
        {"binary_nesting_modest", binaryInfoPlistWith([](auto& p) { return nestedArrays(p, 100, 1); }), true},
        {"xml_nesting_modest", xmlNestedArrays(100), true},
        // 2^64 copies of one empty array from a few hundred bytes.
        {"binary_shared_arrays_doubling", binaryInfoPlistWith([](auto& p) { return nestedArrays(p, 64, 2); }), false},
        {"binary_nesting_deep", binaryInfoPlistWith([](auto& p) { return nestedArrays(p, 200000, 1); }), false},
        {"binary_cycle",
         binaryInfoPlistWith([](auto& p) {
             const std::uint32_t self = p.add("");
             p.set(self, HandWrittenBinaryPlist::array({self}));
             return self;
         }),
         false},
        {"xml_nesting_deep", xmlNestedArrays(250000), false},  // within the size limit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<InfoPlist> plist = parseInfoPlist(c.data);
        EXPECT_EQ(plist.has_value(), c.parses);
        if (plist) EXPECT_EQ(plist->bundleIdentifier, "com.example.x");
    }
}

TEST(InfoPlist, UnreadableFileIsNoPlist) {
    TemporaryFolder folder;
    EXPECT_FALSE(readInfoPlist(folder / "missing.plist"));
    EXPECT_FALSE(readInfoPlist(folder.path()));
    writeFile(folder / "Info.plist", infoPlist({{"CFBundleIdentifier", "a.b"}}, PlistFormat::binary));
    EXPECT_EQ(readInfoPlist(folder / "Info.plist")->bundleIdentifier, "a.b");
}

}  // namespace
}  // namespace vornik
