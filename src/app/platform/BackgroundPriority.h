#pragma once

/// Lets the calling thread yield to the rest of the program: work that may take long (building
/// a large page) then never takes the processor from the thread that handles the calls.
void lowerCurrentThreadPriority();
