// The memory ADL hands out: blocks it allocates through the callback given to
// ADL_Main_Control_Create, which the caller releases.
#pragma once

#include <cstddef>
#include <optional>

#include "gpu/core/DriverEntries.h"

// The allocation callback: a fresh zero-filled heap block of `size` bytes, or null for a size
// below one. Every block is remembered with its size until AdlFree releases it.
void* VELMORA_STDCALL AdlAllocate(int size);

// Releases a block from AdlAllocate. A pointer that did not come from it is left alone: a
// library's stray pointer is never handed to the heap.
void AdlFree(void* block);

// The size of a live block from AdlAllocate, or nullopt for any other pointer.
std::optional<size_t> AdlAllocationSize(const void* block);
