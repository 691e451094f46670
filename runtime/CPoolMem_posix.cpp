#include <cstdlib>

#include "runtime/CPoolMem.h"

// malloc may answer a request of 0 bytes with null, which would read as exhaustion; ask for 1 instead.

void* CPoolMem::HeapAllocate(std::size_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

void* CPoolMem::HeapResize(void* block, std::size_t size) {
    return std::realloc(block, size == 0 ? 1 : size);
}

void CPoolMem::HeapRelease(void* block) {
    std::free(block);
}
