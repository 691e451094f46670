#include <windows.h>

#include "runtime/CPoolMem.h"

void* CPoolMem::HeapAllocate(std::size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void* CPoolMem::HeapResize(void* block, std::size_t size) {
    return HeapReAlloc(GetProcessHeap(), 0, block, size);
}

void CPoolMem::HeapRelease(void* block) {
    HeapFree(GetProcessHeap(), 0, block);
}
