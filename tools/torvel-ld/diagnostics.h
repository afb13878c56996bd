// Every failure of the linker is a LinkError carrying a message for the user;
// main() prints it and exits non-zero. Nothing is written before the whole
// image has been built, so a failure never leaves a half-written dylib.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace torvel::ld {

class LinkError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& message);

// "0x0000001c"
std::string hex(uint32_t value);

}  // namespace torvel::ld
