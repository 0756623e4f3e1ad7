// The task allocator shared by the engine and the program: blocks the engine
// hands out are released by the program with CoTaskMemFree.
#pragma once

#include <cstddef>

void* CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void* block);  // null is allowed
// Size asked for when the block was allocated; 0 for null.
std::size_t CoTaskMemGetSize(const void* block);
