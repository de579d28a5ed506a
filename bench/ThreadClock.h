// The CPU time this thread has used, so that other work on the machine does not count in a
// measurement (on Windows through the threads library's clock, which asks the system for it).
#pragma once

// CPU time this thread has used, in nanoseconds.
double ThreadNanos();
