// The test programs' own operator new, which places C++ objects above 4 GiB in the 64-bit build.
#pragma once

// True once the 64-bit test heap serves memory from above 4 GiB; always false in the 32-bit build.
bool HighHeapActive();
