#pragma once

// Once a process holds an encrypted diary's key or words: a crash writes no
// core file, no other program of the user may read its memory, and memory the
// allocator takes back is overwritten, so a dropped page does not linger there.
void guardProcessMemory();
