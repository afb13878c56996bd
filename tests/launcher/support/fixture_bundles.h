#pragma once
// Application bundles and executables made on the spot: Info.plist written
// with libplist (XML or binary), executables as a few header bytes.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vornik::testing {

inline constexpr std::uint32_t cpuI386 = 7;
inline constexpr std::uint32_t cpuX86_64 = 0x01000007;
inline constexpr std::uint32_t cpuArm64 = 0x0100000C;
inline constexpr std::uint32_t cpuPowerPC = 18;

// A thin Mach-O header (32- or 64-bit, little-endian) with no load commands.
std::string thinExecutable(std::uint32_t cpuType, bool wide = false);

// A fat file holding one thin slice per CPU type (32-bit fat header unless `wide`).
std::string fatExecutable(const std::vector<std::uint32_t>& cpuTypes, bool wide = false);

void appendBigEndian32(std::string& bytes, std::uint32_t value);
void appendBigEndian64(std::string& bytes, std::uint64_t value);
void appendLittleEndian32(std::string& bytes, std::uint32_t value);

enum class PlistFormat { xml, binary };

// An Info.plist holding string entries.
std::string infoPlist(const std::map<std::string, std::string>& entries, PlistFormat format);

struct BundleContents {
    std::optional<std::string> identifier;
    std::string executableName = "Vornik";
    std::optional<std::string> executable;  // bytes; nothing writes no executable file
    PlistFormat format = PlistFormat::xml;
    bool steamMarker = false;
};

// Writes the bundle at `path` and returns the path.
std::string writeBundle(const std::string& path, const BundleContents& contents);

// The game as it should be: the right identifier and a thin i386 executable.
BundleContents validGame();

}  // namespace vornik::testing
