#pragma once
// How the program keeps the memory it frees: large texts come and go with
// every paste and evaluation.
namespace heap {

// Freed blocks, large ones included, stay in the heap for the next use: a
// freshly mapped block costs a page fault per page on first touch, which
// over megabytes costs more than a search. Called once at start-up.
void KeepLargeBuffersForReuse();

// Gives the freed memory back to the system. Called after a paste or a new
// text of megabytes: the copies it passed through on the way in (the
// clipboard's, the conversion's) are far larger than what one keystroke
// needs again.
void ReturnFreedMemory();

// Texts from this many characters on are large.
inline constexpr long long LargeText = 1 << 20;

} // namespace heap
