#pragma once
// Whole-file reads and writes for small files (property lists).

#include <cstddef>
#include <optional>
#include <string>

namespace vornik {

// The file's bytes, or nothing when it cannot be read or exceeds `limit` bytes.
std::optional<std::string> readSmallFile(const std::string& path, std::size_t limit);

// Replaces the file's contents atomically (write beside it, then rename).
bool writeFileAtomically(const std::string& path, const std::string& data);

}  // namespace vornik
