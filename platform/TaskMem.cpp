#include "platform/TaskMem.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Each block carries its size in front, as the task allocator can tell it.
struct alignas(std::max_align_t) Header {
  std::size_t size;
};

}  // namespace

void* CoTaskMemAlloc(std::size_t size) {
  if (size > static_cast<std::size_t>(-1) - sizeof(Header)) return nullptr;
  auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + size));
  if (header == nullptr) return nullptr;
  header->size = size;
  return header + 1;
}

void CoTaskMemFree(void* block) {
  if (block == nullptr) return;
  std::free(static_cast<Header*>(block) - 1);
}

std::size_t CoTaskMemGetSize(const void* block) {
  if (block == nullptr) return 0;
  return (static_cast<const Header*>(block) - 1)->size;
}
