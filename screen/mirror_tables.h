// Display codes of the mirror image of each character, used when a block is
// flipped. Indexed by display code alone, whichever character set a cell uses.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t MirrorTableSize = 256;

extern const int32_t MirrorLeftRight[MirrorTableSize];
extern const int32_t MirrorUpDown[MirrorTableSize];
