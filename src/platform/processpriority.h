#pragma once

// The priority of the whole program, as the keyer configuration's "Priorytet" chooses it.
enum class ProcessPriority { Idle, Normal, High, Realtime };

// Gives every thread of the process the priority; threads started later inherit it from the window thread.
// On Linux the nice values 19, 0, -10 and -20. The keyer's sender thread asks for real-time scheduling of its
// own at every one of them, the idle one included: the element lengths matter whatever the program's priority.
// False when the system refused, which a raise without the right to it is; the priority is then unchanged.
bool setProcessPriority(ProcessPriority priority);
