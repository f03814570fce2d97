#pragma once
// The task allocator: memory handed across an interface that the caller frees.
#include <cstddef>

void* CoTaskMemAlloc(size_t size);
void CoTaskMemFree(void* block);
