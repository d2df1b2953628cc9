// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Counts the bytes of heap memory the process holds, through every allocator call of the
// program and its libraries (the allocation functions are replaced for the whole process), so
// that a benchmark can report the peak a piece of work reached. Unavailable under a sanitizer,
// which replaces the allocator itself.

#include <cstddef>

namespace pictaria::bench {

// False when the counting is not built in.
bool heapCountingAvailable();

// Starts a new peak at the bytes held now.
void resetHeapPeak();
// The most bytes held since resetHeapPeak, beyond those held at that moment.
std::size_t heapPeakSinceReset();

}  // namespace pictaria::bench
