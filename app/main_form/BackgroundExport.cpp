#include "app/main_form/BackgroundExport.h"

#include "app/export/ExportFileList.h"

BackgroundExport::~BackgroundExport() {
    Abandon();
}

bool BackgroundExport::Start(HWND window, const CWString& folder, bool includeSubfolders,
                             const std::u16string& outputPath) {
    if (IsRunning()) {
        return false;
    }
    window_ = window;
    cancel_.Reset();
    progressWaiting_ = false;
    progress_ = ExportProgress{};
    outcome_ = ExportOutcome{};
    failure_ = nullptr;
    // The thread gets a copy of its own: texts are not shared between threads.
    thread_ = std::thread([this, folderCopy = CWString(folder), includeSubfolders, outputPath] {
        Run(folderCopy, includeSubfolders, outputPath);
    });
    return true;
}

void BackgroundExport::Cancel() {
    cancel_.Set();
}

ExportProgress BackgroundExport::TakeProgress() {
    std::lock_guard<std::mutex> lock(progressLock_);
    progressWaiting_ = false;
    ExportProgress progress = progress_;
    takenName_ = progressName_;
    progress.workbookName = takenName_;
    return progress;
}

ExportOutcome BackgroundExport::Finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
    if (failure_) {
        std::exception_ptr failure = failure_;
        failure_ = nullptr;
        std::rethrow_exception(failure);
    }
    return outcome_;
}

void BackgroundExport::Abandon() {
    Cancel();
    if (thread_.joinable()) {
        thread_.join();
    }
    failure_ = nullptr;
}

// Nothing may leave the thread: an exception is kept for Finish, and the window always hears the end.
void BackgroundExport::Run(const CWString& folder, bool includeSubfolders, const std::u16string& outputPath) {
    try {
        ExportOptions options;
        options.observer = this;
        options.cancel = &cancel_;
        options.listingSeam = listingSeam_;
        options.placementSeam = placementSeam_;
        options.outputPath = outputPath;
        outcome_ = ExportFileList(folder, includeSubfolders, options);
    } catch (...) {
        failure_ = std::current_exception();
    }
    PostMessageW(window_, WM_EXPORT_FINISHED, 0, 0);
}

// Called on the export's reporting thread: the figures are stored, and a report is posted unless the
// window has not yet read the one before.
void BackgroundExport::OnProgress(const ExportProgress& progress) {
    {
        std::lock_guard<std::mutex> lock(progressLock_);
        progress_ = progress;
        progressName_.assign(progress.workbookName);
        progress_.workbookName = {};
    }
    if (!progressWaiting_.exchange(true)) {
        PostMessageW(window_, WM_EXPORT_PROGRESS, 0, 0);
    }
}
