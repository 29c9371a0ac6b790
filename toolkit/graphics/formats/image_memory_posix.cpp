// Picture memory in the platform-free tree: blocks of 8 MB and more are
// aligned to 2 MB and offered to the system as huge-page memory, which a
// decoder then writes through a few dozen faults instead of thousands.
#include "graphics/formats/image_decode.h"

#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace korv {
namespace {

constexpr std::size_t huge_page = std::size_t{2} << 20;
constexpr std::size_t large_block = std::size_t{8} << 20;

} // namespace

void* image_memory_allocate(std::size_t bytes)
{
    if (bytes < large_block)
        return ::operator new(bytes);
    const std::size_t rounded = (bytes + huge_page - 1) / huge_page * huge_page;
    void* block = std::aligned_alloc(huge_page, rounded);
    if (block == nullptr)
        throw std::bad_alloc();
    // Only a hint: a system without huge pages gives ordinary ones.
    madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

void image_memory_free(void* block, std::size_t bytes) noexcept
{
    if (bytes < large_block)
        ::operator delete(block);
    else
        std::free(block);
}

} // namespace korv
