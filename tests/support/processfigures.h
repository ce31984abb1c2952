#pragma once

// What this process holds and has spent, read from /proc and the clock the
// kernel keeps for it: for soak tests and benchmarks that watch it over time.

#include <QtGlobal>

namespace ProcessFigures {

// Resident memory (VmRSS), in kilobytes.
qint64 residentKb();
// Heap memory the program holds (allocated and not yet freed), in kilobytes:
// apart from the memory the allocator keeps for reuse, which counts as
// resident too.
qint64 heapInUseKb();
// Open file descriptors: sockets, pipes, files.
int openFiles();
// Processor time spent so far, user and system, in microseconds.
qint64 cpuUs();
// Whether resident memory says anything about the program: under
// AddressSanitizer freed memory waits in quarantine and the figure only grows.
bool memoryIsMeaningful();

} // namespace ProcessFigures
