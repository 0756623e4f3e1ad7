// platform/TaskMem.h on Windows: the blocks come from the system's task
// allocator. This file must not see <objbase.h>, whose functions of the same
// names have C linkage.
#include "platform/TaskMem.h"

#include "platform/win32/TaskAllocator.h"

void* CoTaskMemAlloc(std::size_t size) { return pv14::win32::TaskAllocate(size); }

void CoTaskMemFree(void* block) { pv14::win32::TaskFree(block); }

std::size_t CoTaskMemGetSize(const void* block) { return pv14::win32::TaskBlockSize(block); }
