#pragma once
// Memory services: every text value and scratch block of the program comes from here.

#include <cstdint>

namespace korvanta {

// The heap every block comes from (the shell passes the process heap at start-up).
void UseBlockHeap(void *heap);

// A block of n bytes from the process heap, contents not cleared. Never null: a refusal
// ends the program through FatalError.
void *AllocBlock(int32_t n);

// Gives a block back. Null is left alone, and so is a pointer into the program's constant data
// (a literal, an embedded archive): nothing the program releases points there, but handing
// such a pointer to the heap would corrupt it, so a slip costs nothing instead.
void FreeBlock(const void *p);

// Records the address ranges of the program's constant data; FreeBlock never releases a
// pointer inside them.
void InitConstantRanges();
bool InConstantRanges(const void *p);

} // namespace korvanta
