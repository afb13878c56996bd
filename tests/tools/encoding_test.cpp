// The byte encodings behind the dyld information: LEB128 numbers, packed
// versions and the export trie layout.
#include <gtest/gtest.h>

#include "byte_io.h"
#include "diagnostics.h"
#include "export_trie.h"
#include "options.h"

namespace torvel::ld {
namespace {

TEST(Encoding, Leb128) {
  struct Case {
    int64_t value;
    bool isSigned;
    std::vector<uint8_t> bytes;
  };
  const std::vector<Case> cases = {
      {0, false, {0x00}},           {127, false, {0x7F}},        {128, false, {0x80, 0x01}},
      {0xF00, false, {0x80, 0x1E}}, {624485, false, {0xE5, 0x8E, 0x26}},
      {0, true, {0x00}},            {8, true, {0x08}},           {-1, true, {0x7F}},
      {63, true, {0x3F}},           {64, true, {0xC0, 0x00}},    {-64, true, {0x40}},
      {-65, true, {0xBF, 0x7F}},    {-123456, true, {0xC0, 0xBB, 0x78}},
  };
  for (const Case& c : cases) {
    ByteWriter w;
    if (c.isSigned)
      w.sleb(c.value);
    else
      w.uleb(uint64_t(c.value));
    EXPECT_EQ(w.bytes(), c.bytes) << c.value;
    if (!c.isSigned) EXPECT_EQ(ulebSize(uint64_t(c.value)), c.bytes.size());
  }
}

TEST(Encoding, Versions) {
  EXPECT_EQ(parseVersion("10.6", "v"), 0x000A0600u);
  EXPECT_EQ(parseVersion("10.7", "v"), 0x000A0700u);
  EXPECT_EQ(parseVersion("125.2.0", "v"), 0x007D0200u);
  EXPECT_EQ(parseVersion("1", "v"), 0x00010000u);
  for (const char* bad : {"", "1.", ".1", "1.2.3.4", "a.b", "70000", "1.256"})
    EXPECT_THROW(parseVersion(bad, "v"), LinkError) << bad;
}

TEST(Encoding, ExportTrieSharesPrefixesAndPointsChildrenPastTheirParents) {
  // _bar (weak) and _foo share "_"; _fooBar continues below _foo.
  std::vector<uint8_t> trie = buildExportTrie({{"_foo", 0, 0xF00}, {"_fooBar", 0, 0xF10}, {"_bar", 0x04, 0xF10}});
  const std::vector<uint8_t> expected = {
      0x00, 0x01, '_', 0x00, 0x05,                                      // root -> "_" at 5
      0x00, 0x02, 'b', 'a', 'r', 0x00, 0x11, 'f', 'o', 'o', 0x00, 0x16,  // "_" -> bar at 0x11, foo at 0x16
      0x03, 0x04, 0x90, 0x1E, 0x00,                                      // _bar: weak, 0xF10, leaf
      0x03, 0x00, 0x80, 0x1E, 0x01, 'B', 'a', 'r', 0x00, 0x20,           // _foo: 0xF00 -> "Bar" at 0x20
      0x03, 0x00, 0x90, 0x1E, 0x00,                                      // _fooBar: 0xF10, leaf
      0x00, 0x00, 0x00};                                                 // padding to 4 bytes
  EXPECT_EQ(trie, expected);
  EXPECT_TRUE(buildExportTrie({}).empty());
}

}  // namespace
}  // namespace torvel::ld
