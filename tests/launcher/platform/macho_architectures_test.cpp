#include "macho_architectures.h"

#include "fixture_bundles.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

namespace vornik {
namespace {

using namespace vornik::testing;

std::vector<int> architecturesOf(const std::string& bytes) {
    MemoryBytes source(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return executableArchitectures(source);
}

// Patches a big-endian word of a fat header.
std::string withBigEndian32(std::string bytes, std::size_t offset, std::uint32_t value) {
    std::string word;
    appendBigEndian32(word, value);
    bytes.replace(offset, 4, word);
    return bytes;
}

std::string thinWithCommandsSize(std::uint32_t size) {
    std::string bytes = thinExecutable(cpuI386);
    std::string word;
    appendLittleEndian32(word, size);
    bytes.replace(20, 4, word);
    return bytes;
}

std::string bigEndianPowerPC() {
    std::string bytes;
    for (std::uint32_t word : {0xFEEDFACEu, cpuPowerPC, 0u, 2u, 0u, 0u, 0u}) appendBigEndian32(bytes, word);
    return bytes;
}

struct HeaderCase {
    const char* name;
    std::string bytes;
    std::vector<int> expected;
};

void PrintTo(const HeaderCase& c, std::ostream* out) { *out << c.name; }

class HeaderReading : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderReading, GivesTheArchitecturesOrNothing) {
    EXPECT_EQ(architecturesOf(GetParam().bytes), GetParam().expected);
}

const int i386 = int(cpuI386), x86_64 = int(cpuX86_64), arm64 = int(cpuArm64);
const std::string fatTwo = fatExecutable({cpuX86_64, cpuI386});

INSTANTIATE_TEST_SUITE_P(
    Headers, HeaderReading,
    ::testing::Values(
        HeaderCase{"thin_i386", thinExecutable(cpuI386), {i386}},
        HeaderCase{"thin_x86_64", thinExecutable(cpuX86_64, true), {x86_64}},
        HeaderCase{"thin_big_endian", bigEndianPowerPC(), {int(cpuPowerPC)}},
        HeaderCase{"fat_with_i386_among_others", fatExecutable({cpuArm64, cpuI386, cpuX86_64}),
                   {arm64, i386, x86_64}},
        HeaderCase{"fat_64_bit_header", fatExecutable({cpuI386, cpuX86_64}, true), {i386, x86_64}},
        HeaderCase{"empty", "", {}},
        HeaderCase{"text", "#!/bin/sh\necho hello\n", {}},
        HeaderCase{"thin_truncated_header", thinExecutable(cpuI386).substr(0, 27), {}},
        HeaderCase{"thin_64_truncated_header", thinExecutable(cpuX86_64, true).substr(0, 30), {}},
        HeaderCase{"thin_64_bit_header_claims_i386", thinExecutable(cpuI386, true), {}},
        HeaderCase{"thin_32_bit_header_claims_x86_64", thinExecutable(cpuX86_64, false), {}},
        HeaderCase{"thin_commands_beyond_file", thinWithCommandsSize(64), {}},
        HeaderCase{"thin_commands_size_huge", thinWithCommandsSize(0xFFFFFFFF), {}},
        HeaderCase{"fat_magic_only", fatTwo.substr(0, 4), {}},
        HeaderCase{"fat_zero_slices", withBigEndian32(fatTwo, 4, 0), {}},
        HeaderCase{"fat_count_beyond_file", withBigEndian32(fatTwo, 4, 1000), {}},
        HeaderCase{"fat_count_huge", withBigEndian32(fatTwo, 4, 0xFFFFFFFF), {}},
        HeaderCase{"fat_offset_past_end", withBigEndian32(fatTwo, 8 + 20 + 8, 1u << 20), {}},
        HeaderCase{"fat_offset_into_table", withBigEndian32(fatTwo, 8 + 20 + 8, 8), {}},
        HeaderCase{"fat_size_past_end", withBigEndian32(fatTwo, 8 + 20 + 12, 1u << 20), {}},
        HeaderCase{"fat_offset_plus_size_wraps", withBigEndian32(withBigEndian32(fatTwo, 8 + 20 + 8, 0xFFFFFFF0), 8 + 20 + 12, 0x20), {}},
        HeaderCase{"fat_slice_cpu_disagrees", withBigEndian32(fatTwo, 8 + 20, cpuArm64), {}},
        HeaderCase{"fat_truncated_slice", fatTwo.substr(0, fatTwo.size() - 20), {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HeaderReadingFromFiles, ReadsAFileAndRefusesWhatIsNotOne) {
    TemporaryFolder folder;
    writeFile(folder / "fat", fatExecutable({cpuI386, cpuX86_64}));
    EXPECT_EQ(executableArchitecturesOfFile(folder / "fat"), (std::vector<int>{i386, x86_64}));
    EXPECT_TRUE(executableArchitecturesOfFile(folder / "missing").empty());
    EXPECT_TRUE(executableArchitecturesOfFile(folder.path()).empty());  // a folder
}

}  // namespace
}  // namespace vornik
