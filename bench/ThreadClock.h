// The CPU time this thread has used, so that other work on the machine does not count in a
// measurement (on Windows the kernel and user time the system counts for the thread).
#pragma once

// CPU time this thread has used, in nanoseconds.
double ThreadNanos();
