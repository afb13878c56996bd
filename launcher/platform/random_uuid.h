#pragma once

#include <string>

namespace vornik {

// A fresh random (version 4) UUID in upper-case hexadecimal, grouped 8-4-4-4-12.
std::string randomUuidString();

}  // namespace vornik
