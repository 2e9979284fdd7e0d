// The guard page at the growing end of a thread's stack. The system takes it away when a stack
// overflow hits it; a thread that goes on running after the overflow needs it back, or its next
// overflow runs past the stack's end and ends the process without any exception.
#pragma once

// Arms the lowest committed page of the current thread's stack as its guard page again, as
// _resetstkoflw does. True when the stack has a guard page afterwards (it may have had one).
bool RearmStackGuardPage();
