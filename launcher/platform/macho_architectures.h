#pragma once
// Reads which processors an executable carries code for, from its Mach-O
// header or its fat (universal) header. Only headers are read, through a
// byte source that refuses reads beyond its end. Anything truncated or
// inconsistent gives an empty list ("no architectures"), never a guess.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vornik {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Fills exactly `length` bytes from `offset`; false when they are not all there.
    virtual bool readAt(std::uint64_t offset, void* buffer, std::size_t length) const = 0;
};

class MemoryBytes : public ByteSource {
public:
    MemoryBytes(const std::uint8_t* data, std::size_t length) : data_(data), length_(length) {}
    std::uint64_t size() const override { return length_; }
    bool readAt(std::uint64_t offset, void* buffer, std::size_t length) const override;

private:
    const std::uint8_t* data_;
    std::size_t length_;
};

// Reads from an open file descriptor with pread.
class FileBytes : public ByteSource {
public:
    explicit FileBytes(int descriptor);
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, void* buffer, std::size_t length) const override;

private:
    int descriptor_;
    std::uint64_t size_ = 0;
};

// CPU type numbers as the headers store them (7 = i386, 0x01000007 = x86_64, ...).
std::vector<int> executableArchitectures(const ByteSource& bytes);

// The same for a file; empty when it cannot be opened or read.
std::vector<int> executableArchitecturesOfFile(const std::string& path);

}  // namespace vornik
