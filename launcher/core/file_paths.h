#pragma once
// File-path arithmetic on plain '/'-separated paths, as the launcher's file
// URLs need it. Purely textual: nothing here touches the disk.

#include <string>

namespace vornik {

// Makes the path absolute (against the current folder), removes "." and
// ".." components, repeated and trailing slashes.
std::string standardizedPath(const std::string& path);

// The part of the last component after its last dot ("" when there is none,
// and for names like ".app" that are all extension).
std::string pathExtension(const std::string& path);

std::string lastPathComponent(const std::string& path);
std::string deletingLastPathComponent(const std::string& path);
std::string appendingPathComponent(const std::string& path, const std::string& component);

}  // namespace vornik
