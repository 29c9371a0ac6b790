// Picture memory in the Windows tree: the C++ heap.
#include "graphics/formats/image_decode.h"

#include <new>

namespace korv {

void* image_memory_allocate(std::size_t bytes) { return ::operator new(bytes); }

void image_memory_free(void* block, std::size_t) noexcept { ::operator delete(block); }

} // namespace korv
