#pragma once

#include <cstdint>

#include "appsvc/Win32Api.h"

#include "appsvc/WorkerPool.h"
#include "runtime/CPoolMem.h"
#include "runtime/CVolCommonBase.h"
#include "runtime/CVolMem.h"
#include "runtime/CVolObjectArray.h"
#include "runtime/CWString.h"

class CVolUserApp;

// The process-wide state of the running program: the memory pool, loaded libraries, display scale,
// GDI+ state, pooled workers, retained objects, the current application object, the instance handle
// and the arguments; and the resource loaders. Exactly one exists (GetAppInstance); it is built
// during static construction, after the memory pool, and torn down at process exit.
class CVolAppInstance : public CVolCommonBase {
public:
    // Image kinds of LoadImageResource and LoadImageFile.
    static inline constexpr int kImageBitmap = 0;
    static inline constexpr int kImageCursor = 1;
    static inline constexpr int kImageIcon = 2;
    static inline constexpr int kImageList = 3;

    static inline constexpr int kStringChunk = 4100;         // characters per load attempt
    static inline constexpr int kLongestUncutString = 4098;  // a longer result may have been cut

    // Construction
    CVolAppInstance();
    CVolAppInstance(const CVolAppInstance&) = delete;
    CVolAppInstance& operator=(const CVolAppInstance&) = delete;
    ~CVolAppInstance();

    // Attributes
    CPoolMem& GetPool() const { return *pool_; }
    double GetScale() const { return scale_; }
    void SetScale(double scale);  // never below 1.0
    CVolUserApp* GetCurrentApp() const { return currentApp_; }
    void SetCurrentApp(CVolUserApp* app) { currentApp_ = app; }
    HINSTANCE GetStoredInstanceHandle() const { return instanceHandle_; }
    void SetInstanceHandle(HINSTANCE handle) { instanceHandle_ = handle; }
    std::int64_t GetArgc() const { return argc_; }
    char16_t** GetArgv() const { return argv_; }
    void SetArguments(std::int64_t argc, char16_t** argv);
    DWORD GetMainThreadId() const { return mainThreadId_; }
    void SetMainThreadId(DWORD threadId) { mainThreadId_ = threadId; }
    bool IsComInitialised() const { return comInitialised_ != 0; }
    void SetComInitialised(bool initialised) { comInitialised_ = initialised ? 1 : 0; }
    // Global memory released (unlocked, then freed) at process exit; slot 0 or 1.
    void SetGlobalMemory(int slot, HGLOBAL memory);
    WorkerPool& GetWorkerPool() { return workerPool_; }
    CVolObjectArray& GetRetainedObjects() { return retainedObjects_; }
    int GetLoadedModuleCount() const;

    // GDI+ start-up state, guarded by its own lock (see GdiplusSession.h).
    void LockGdiplus() { EnterCriticalSection(&gdiplusLock_); }
    void UnlockGdiplus() { LeaveCriticalSection(&gdiplusLock_); }
    ULONG_PTR GetGdiplusToken() const { return gdiplusToken_; }
    void SetGdiplusToken(ULONG_PTR token) { gdiplusToken_ = token; }

    // Operations
    // Records a library to be released with FreeLibrary at the end; null is ignored.
    void AddLoadedModule(HMODULE module);
    void FreeLoadedModules();
    // Destroys the current application object and clears it.
    void DestroyCurrentApp();
    void DestroyRetainedObjects();
    // The end sequence after the message loop: workers, application object, retained objects,
    // loaded libraries, GDI+. The module's Term follows it.
    void ShutDown();

    // Overridables, in slot order
    virtual HINSTANCE GetInstanceHandle() const;                                      // 0
    virtual void* GetReservedSlot() const;                                            // 1
    virtual void LoadStringResource(UINT id, CWString& out) const;                    // 2
    virtual HANDLE LoadImageResource(int kind, UINT id) const;                        // 3
    virtual HANDLE LoadImageFile(int kind, const char16_t* path) const;               // 4
    virtual HBITMAP LoadImageFromMemory(const void* bytes, std::int64_t size) const;  // 5
    virtual bool LoadResourceData(UINT id, CVolMem& out, std::uint16_t type) const;   // 6
    virtual bool LoadTextResource(UINT id, CWString& out) const;                      // 7
    virtual bool LoadRawResource(UINT id, CVolMem& out) const;                        // 8

private:
    void ReleaseGlobalMemory();

    CPoolMem* pool_;
    CVolMem loadedModules_{256};  // 64-bit module handles
    CVolUserApp* currentApp_ = nullptr;
    std::uint64_t comInitialised_ = 0;
    double scale_ = 1.0;
    CRITICAL_SECTION gdiplusLock_;
    ULONG_PTR gdiplusToken_ = 0;
    HGLOBAL globalMemory_[2] = {nullptr, nullptr};
    WorkerPool workerPool_;
    CVolObjectArray retainedObjects_;
    HINSTANCE instanceHandle_ = nullptr;
    std::int64_t argc_ = 0;
    char16_t** argv_ = nullptr;
    DWORD mainThreadId_ = 0;
};

// The one application instance of the process.
CVolAppInstance& GetAppInstance();
