#include "diagnostics.h"

#include <cstdio>

namespace torvel::ld {

void fail(const std::string& message) { throw LinkError(message); }

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", value);
  return text;
}

}  // namespace torvel::ld
