#include "macho_architectures.h"

#include "file_contents.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vornik {

namespace {

constexpr std::uint32_t machMagic32 = 0xFEEDFACE;
constexpr std::uint32_t machMagic64 = 0xFEEDFACF;
constexpr std::uint32_t machCigam32 = 0xCEFAEDFE;  // the same, byte-swapped
constexpr std::uint32_t machCigam64 = 0xCFFAEDFE;
constexpr std::uint32_t fatMagic32 = 0xCAFEBABE;  // fat headers are big-endian
constexpr std::uint32_t fatMagic64 = 0xCAFEBABF;

constexpr std::uint32_t cpuArchitecture64 = 0x01000000;

constexpr std::uint64_t machHeaderSize32 = 28;
constexpr std::uint64_t machHeaderSize64 = 32;
constexpr std::uint64_t fatHeaderSize = 8;
constexpr std::uint64_t fatEntrySize32 = 20;
constexpr std::uint64_t fatEntrySize64 = 32;

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

std::uint32_t littleEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

std::uint64_t bigEndian64(const std::uint8_t* p) {
    return (std::uint64_t(bigEndian32(p)) << 32) | bigEndian32(p + 4);
}

// A thin Mach-O header at [start, start + limit): its CPU type, or nothing
// when the header or its load commands do not fit.
bool readThinHeader(const ByteSource& bytes, std::uint64_t start, std::uint64_t limit,
                    std::uint32_t& cpuType) {
    std::uint8_t header[machHeaderSize64];
    if (limit < machHeaderSize32 || !bytes.readAt(start, header, machHeaderSize32)) return false;

    const std::uint32_t magicAsBig = bigEndian32(header);
    bool swapped;
    std::uint64_t headerSize;
    switch (magicAsBig) {
    case machMagic32: swapped = false; headerSize = machHeaderSize32; break;  // big-endian file
    case machMagic64: swapped = false; headerSize = machHeaderSize64; break;
    case machCigam32: swapped = true; headerSize = machHeaderSize32; break;  // little-endian file
    case machCigam64: swapped = true; headerSize = machHeaderSize64; break;
    default: return false;
    }
    if (limit < headerSize) return false;
    auto field = [&](int index) {
        const std::uint8_t* p = header + 4 * index;
        return swapped ? littleEndian32(p) : bigEndian32(p);
    };
    cpuType = field(1);
    // 64-bit processors carry the 64-bit flag in their type and use the
    // 64-bit header; a header whose width disagrees with its processor lies.
    if (((cpuType & cpuArchitecture64) != 0) != (headerSize == machHeaderSize64)) return false;
    const std::uint64_t commandsSize = field(5);
    // The load commands follow the header and must lie within the image.
    return headerSize + commandsSize <= limit;
}

std::vector<int> readFat(const ByteSource& bytes, bool wide) {
    const std::uint64_t fileSize = bytes.size();
    std::uint8_t header[fatHeaderSize];
    if (!bytes.readAt(0, header, sizeof header)) return {};
    const std::uint64_t count = bigEndian32(header + 4);
    const std::uint64_t entrySize = wide ? fatEntrySize64 : fatEntrySize32;
    if (count == 0 || count > (fileSize - fatHeaderSize) / entrySize) return {};
    const std::uint64_t tableEnd = fatHeaderSize + count * entrySize;

    std::vector<int> architectures;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint8_t entry[fatEntrySize64];
        if (!bytes.readAt(fatHeaderSize + i * entrySize, entry, entrySize)) return {};
        const std::uint32_t cpuType = bigEndian32(entry);
        const std::uint64_t offset = wide ? bigEndian64(entry + 8) : bigEndian32(entry + 8);
        const std::uint64_t size = wide ? bigEndian64(entry + 16) : bigEndian32(entry + 12);
        if (offset < tableEnd || offset > fileSize || size > fileSize - offset) return {};
        std::uint32_t sliceCpu = 0;
        if (!readThinHeader(bytes, offset, size, sliceCpu) || sliceCpu != cpuType) return {};
        architectures.push_back(static_cast<int>(cpuType));
    }
    return architectures;
}

}  // namespace

bool MemoryBytes::readAt(std::uint64_t offset, void* buffer, std::size_t length) const {
    if (offset > length_ || length > length_ - offset) return false;
    std::memcpy(buffer, data_ + offset, length);
    return true;
}

FileBytes::FileBytes(int descriptor) : descriptor_(descriptor) {
    struct stat info {};
    if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode))
        size_ = static_cast<std::uint64_t>(info.st_size);
}

bool FileBytes::readAt(std::uint64_t offset, void* buffer, std::size_t length) const {
    if (offset > size_ || length > size_ - offset) return false;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (length > 0) {
        ssize_t got = pread(descriptor_, out, length, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        offset += static_cast<std::uint64_t>(got);
        length -= static_cast<std::size_t>(got);
    }
    return true;
}

std::vector<int> executableArchitectures(const ByteSource& bytes) {
    std::uint8_t magic[4];
    if (!bytes.readAt(0, magic, sizeof magic)) return {};
    const std::uint32_t value = bigEndian32(magic);
    if (value == fatMagic32) return readFat(bytes, false);
    if (value == fatMagic64) return readFat(bytes, true);
    std::uint32_t cpuType = 0;
    if (!readThinHeader(bytes, 0, bytes.size(), cpuType)) return {};
    return {static_cast<int>(cpuType)};
}

std::vector<int> executableArchitecturesOfFile(const std::string& path) {
    int descriptor = openRegularFile(path);
    if (descriptor < 0) return {};
    std::vector<int> architectures = executableArchitectures(FileBytes(descriptor));
    ::close(descriptor);
    return architectures;
}

}  // namespace vornik
