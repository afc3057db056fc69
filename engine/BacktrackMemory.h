#pragma once
// Where the matcher's backtracking memory comes from: one region of address
// space, taken once, whose pages stay in place from one match to the next.
//
// A match that gives up for want of memory has used all it may (hundreds of
// megabytes over a large input). Taken fresh for every match, each page of
// it costs a page fault on first touch, and those faults cost more than the
// search; handed out from this region, the pages a match touched are there
// for the next. What the next match may not use (its input's budget is
// smaller, see BacktrackMemoryBudget) is given back to the system when it
// starts.

#include <cstddef>

namespace tamarin::backtrack_memory {

// Whether this system has the region (it takes address space with mmap);
// where it has not, every block comes from the library's own allocator and
// the functions below hand out and keep nothing.
#if defined(__unix__) || defined(__APPLE__)
inline constexpr bool HasRegion = true;
#else
inline constexpr bool HasRegion = false;
#endif

// The size of the matcher's blocks (BOOST_REGEX_BLOCKSIZE).
inline constexpr std::size_t BlockBytes = 65536;

// The region's blocks, each `BlockBytes` long: the next free one, or null
// when the region has none to give (then the caller takes memory elsewhere).
// Blocks are taken and given back last in, first out, by one match at a time;
// a match that finds the region in use by another is given null.
void* TakeBlock();
// False when `block` is not the region's.
bool GiveBack(void* block);
// Gives the pages past the first `bytes` back to the system, unless a match
// is using the region.
void KeepAtMost(std::size_t bytes);

// Bytes of the region that hold pages (touched since they were last given back).
std::size_t KeptBytes();

} // namespace tamarin::backtrack_memory
