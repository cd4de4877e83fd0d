// Global memory blocks: allocated by a sender in one module and freed by the
// receiver in another, so there is one allocator for the whole process.
// Only fixed blocks exist: the handle is the block's address.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/kernel/handle.h"

using HGLOBAL = void*;
using SIZE_T = std::size_t;

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Null on failure, with the last error set: ERROR_NOT_SUPPORTED for movable
// blocks, ERROR_NOT_ENOUGH_MEMORY when the memory is not there.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);

// Null on success. A block that is not live (never allocated here, or
// already freed) is refused: the handle comes back and the last error is
// ERROR_INVALID_HANDLE, rather than corrupting the heap.
HGLOBAL GlobalFree(HGLOBAL block);

// Size asked for at allocation; 0 for a block that is not live.
SIZE_T GlobalSize(HGLOBAL block);

namespace plat {

// A new fixed block holding the text and its terminating zero.
HGLOBAL globalCopyText(std::string_view text);

// Number of live blocks, so a test can tell whether a receiver freed one.
std::size_t globalBlocksInUse();

}  // namespace plat
