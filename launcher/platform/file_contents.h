#pragma once
// Whole-file reads and writes for small files (property lists).

#include <cstddef>
#include <optional>
#include <string>

namespace vornik {

// Opens a regular file for reading; -1 for anything else. A FIFO, a device or
// a socket is refused without waiting: opening a FIFO that has no writer
// would otherwise block until one comes.
int openRegularFile(const std::string& path);

// The file's bytes, or nothing when it is not a regular file, cannot be read
// or exceeds `limit` bytes.
std::optional<std::string> readSmallFile(const std::string& path, std::size_t limit);

// Replaces the file's contents atomically (write beside it, then rename).
bool writeFileAtomically(const std::string& path, const std::string& data);

}  // namespace vornik
