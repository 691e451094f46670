#include "runtime/CVolCommonBaseWithMemManager.h"

void* CVolCommonBaseWithMemManager::operator new(std::size_t size) {
    return CPoolMem::Instance().Alloc(size);
}

void CVolCommonBaseWithMemManager::operator delete(void* block) noexcept {
    CPoolMem::Instance().Free(block);
}

void* CVolCommonBaseWithMemManager::operator new[](std::size_t size) {
    return CPoolMem::Instance().Alloc(size);
}

void CVolCommonBaseWithMemManager::operator delete[](void* block) noexcept {
    CPoolMem::Instance().Free(block);
}

void* CVolCommonBaseWithMemManager::Alloc(std::size_t size) const {
    return GetMemManager().Alloc(size);
}

void* CVolCommonBaseWithMemManager::TryAlloc(std::size_t size) const {
    return GetMemManager().TryAlloc(size);
}

void* CVolCommonBaseWithMemManager::Realloc(void* block, std::size_t size) const {
    return GetMemManager().Realloc(block, size);
}

void CVolCommonBaseWithMemManager::Free(void* block) const {
    GetMemManager().Free(block);
}

CPoolMem& CVolCommonBaseWithMemManager::GetMemManager() const {
    return CPoolMem::Instance();
}
