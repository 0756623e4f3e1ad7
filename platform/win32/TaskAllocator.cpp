#include "platform/win32/TaskAllocator.h"

#include "platform/win32/WindowsApi.h"

namespace pv14::win32 {

void* TaskAllocate(std::size_t size) { return ::CoTaskMemAlloc(size); }

void TaskFree(void* block) { ::CoTaskMemFree(block); }

std::size_t TaskBlockSize(const void* block) {
  if (block == nullptr) return 0;
  // The task allocator works without COM being initialised.
  IMalloc* malloc = nullptr;
  if (FAILED(::CoGetMalloc(1, &malloc)) || malloc == nullptr) return 0;
  const SIZE_T size = malloc->GetSize(const_cast<void*>(block));
  malloc->Release();
  return size == static_cast<SIZE_T>(-1) ? 0 : size;
}

}  // namespace pv14::win32
