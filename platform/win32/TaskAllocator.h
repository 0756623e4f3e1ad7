// The system's COM task allocator, under names that do not clash with the
// ones of <objbase.h> (platform/TaskMem.h gives the program its own).
#pragma once

#include <cstddef>

namespace pv14::win32 {

void* TaskAllocate(std::size_t size);
void TaskFree(void* block);
std::size_t TaskBlockSize(const void* block);

}  // namespace pv14::win32
