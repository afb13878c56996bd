// The dylib's load commands, in file order, each described once: its size,
// which layout needs to place the sections after the commands, and how it is
// written once the linkedit contents exist. The writer appends each command
// at the size planned here.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace torvel::ld {

// Needs the segments with their sections (their counts fix the sizes).
std::vector<LoadCommand> planLoadCommands(const Image& image);

// The mach_header and every planned command.
uint32_t headerAndCommandsSize(const std::vector<LoadCommand>& commands);

}  // namespace torvel::ld
