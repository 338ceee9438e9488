#pragma once

// Once a process holds an encrypted diary's key or words: a crash writes no
// core file, no other program of the user may read its memory, and memory the
// allocator takes back is overwritten, so a dropped page does not linger there.
void guardProcessMemory();

// Fills the freed blocks the allocator still keeps as they were: glibc keeps
// a few small ones per thread (its tcache) without the fill above. For the
// calling thread; a thread that ends hands its own back, filled.
void scrubFreedMemory();
