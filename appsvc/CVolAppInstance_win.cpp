#include "appsvc/CVolAppInstance.h"

#include <cstring>

#include <objbase.h>

#include "appsvc/CVolUserApp.h"
#include "appsvc/GdiplusSession.h"

namespace {

HMODULE ModuleAt(const CVolMem& modules, std::int64_t index) {
    std::uint64_t handle = 0;
    std::memcpy(&handle, modules.GetData() + index * static_cast<std::int64_t>(sizeof handle), sizeof handle);
    return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(handle));
}

}  // namespace

// The pool comes first: every other member, and every object made later, allocates from it, and
// being built first it is also torn down after this instance.
CVolAppInstance::CVolAppInstance() : pool_(&CPoolMem::Instance()) {
    InitializeCriticalSection(&gdiplusLock_);
}

// Runs at process exit. Each step tolerates the entry function's end sequence having done it already.
CVolAppInstance::~CVolAppInstance() {
    workerPool_.ShutDown();
    DestroyCurrentApp();
    DestroyRetainedObjects();
    if (comInitialised_ != 0) {
        comInitialised_ = 0;
        CoUninitialize();
    }
    ShutdownGdiplus();
    ReleaseGlobalMemory();
    FreeLoadedModules();
    DeleteCriticalSection(&gdiplusLock_);
}

void CVolAppInstance::SetScale(double scale) {
    scale_ = scale >= 1.0 ? scale : 1.0;  // NaN too becomes 1.0
}

void CVolAppInstance::SetArguments(std::int64_t argc, char16_t** argv) {
    argc_ = argc;
    argv_ = argv;
}

void CVolAppInstance::SetGlobalMemory(int slot, HGLOBAL memory) {
    if (slot == 0 || slot == 1) {
        globalMemory_[slot] = memory;
    }
}

int CVolAppInstance::GetLoadedModuleCount() const {
    return static_cast<int>(loadedModules_.GetSize() / static_cast<std::int64_t>(sizeof(std::uint64_t)));
}

void CVolAppInstance::AddLoadedModule(HMODULE module) {
    if (module == nullptr) {
        return;
    }
    const auto handle = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(module));
    loadedModules_.Append(&handle, sizeof handle);
}

void CVolAppInstance::FreeLoadedModules() {
    const int count = GetLoadedModuleCount();
    for (int i = 0; i < count; ++i) {
        FreeLibrary(ModuleAt(loadedModules_, i));
    }
    loadedModules_.Empty();
}

void CVolAppInstance::DestroyCurrentApp() {
    CVolUserApp* app = currentApp_;
    currentApp_ = nullptr;  // cleared first, so the object's own destructor finds nothing to undo
    DestroyObject(app);
}

void CVolAppInstance::DestroyRetainedObjects() {
    retainedObjects_.RemoveAll();
}

void CVolAppInstance::ShutDown() {
    workerPool_.ShutDown();
    DestroyCurrentApp();
    DestroyRetainedObjects();
    FreeLoadedModules();
    ShutdownGdiplus();
}

void CVolAppInstance::ReleaseGlobalMemory() {
    for (HGLOBAL& memory : globalMemory_) {
        if (memory == nullptr) {
            continue;
        }
        for (UINT locks = GlobalFlags(memory) & GMEM_LOCKCOUNT; locks > 0; --locks) {
            GlobalUnlock(memory);
        }
        GlobalFree(memory);
        memory = nullptr;
    }
}

CVolAppInstance& GetAppInstance() {
    static CVolAppInstance instance;
    return instance;
}

namespace {
// Makes the instance (and with it the pool) exist before the entry function runs.
[[maybe_unused]] CVolAppInstance& instanceAtStartup = GetAppInstance();
}  // namespace
