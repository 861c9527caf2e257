#pragma once

// The program's heap. Large blocks (pictures, a year of records) go back to the system as soon
// as they are freed and the few threads share one heap, so that the program's memory follows
// the windows open rather than the most it ever held.
void useProgramHeap();
// What was freed, given back to the system now (after a large window closed).
void releaseFreedMemory();
