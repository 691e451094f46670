#include "app/export/listing/FolderPrefetcher.h"

#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/SystemErrorText.h"
#include "app/export/listing/ListFiles.h"

#include <algorithm>
#include <chrono>
#include <utility>

// One folder of the tree, from the moment its parent's listing names it until the walk is done with it.
// Only the thread that took it out of toRead_ touches its reader; the rest is guarded by the mutex.
struct FolderPrefetcher::Folder {
    // Its place in pre-order: the indices of the sub-folders leading to it from the top.
    std::vector<std::uint32_t> key;
    // Where it stands in toRead_: its key, and once started also the index its next sub-folder will
    // get, since its further entries come after the sub-folders found so far.
    std::vector<std::uint32_t> order;
    RawFolderPath raw;
    std::u16string path;
    bool isTop = false;

    std::unique_ptr<DirectoryReader> reader;
    std::uint32_t subfolders = 0;
    bool started = false;
    // Set under the mutex, together with the last entries.
    bool done = false;
    bool openFailed = false;
    FileSystemError error;
    // Read and not yet taken by the walk.
    std::vector<Entry> ready;
};

bool FolderPrefetcher::ByOrder::operator()(const FolderPtr& left, const FolderPtr& right) const {
    if (left->order != right->order) {
        return left->order < right->order;
    }
    return left.get() < right.get();
}

FolderPrefetcher::FolderPrefetcher(std::u16string_view top, ListingSink& sink, const ListingSeam* seam,
                                   unsigned threads)
    : seam_(seam), sink_(sink), top_(std::make_shared<Folder>()), onStop_(sink.StopToken(), [this] {
          { std::lock_guard<std::mutex> lock(mutex_); }
          walkerWakes_.notify_all();
      }) {
    top_->path = std::u16string(top);
    top_->isTop = true;
    toRead_.insert(top_);
    maxThreads_ = std::clamp(threads, 1u, 64u);
    // One listing thread to begin with; more join only while the walk has to wait (see Next).
    std::lock_guard<std::mutex> lock(mutex_);
    threads_.emplace_back(&FolderPrefetcher::Work, this);
}

const std::u16string& FolderPrefetcher::PathOf(const Folder& folder) {
    return folder.path;
}

FolderPrefetcher::~FolderPrefetcher() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_.store(true);
    }
    readersWake_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

namespace {

FileSystemError InjectedError(std::u16string_view path, int code) {
    FileSystemError error;
    error.path = std::u16string(path);
    error.code = code;
    error.message = SystemErrorText(code);
    return error;
}

}  // namespace

bool FolderPrefetcher::Read(Folder& folder, std::vector<Entry>& read, std::vector<FolderPtr>& found,
                            Ending& ending) {
    auto finish = [&folder, &ending](FileSystemError error, bool openFailed) {
        ending.error = std::move(error);
        ending.openFailed = openFailed;
        folder.reader.reset();
        return true;
    };
    int injected = seam_ != nullptr ? seam_->BeforeRead(folder.path, !folder.started) : 0;
    if (!folder.started) {
        folder.started = true;
        folder.reader = std::make_unique<DirectoryReader>();
        if (injected != 0) {
            return finish(InjectedError(folder.path, injected), true);
        }
        bool opened =
            folder.isTop ? folder.reader->Open(folder.path) : folder.reader->OpenRaw(folder.raw, folder.path);
        if (!opened) {
            return finish(folder.reader->Error(), true);
        }
    } else if (injected != 0) {
        return finish(InjectedError(folder.path, injected), false);
    }

    DirectoryEntry entry;
    while (read.size() < kEntriesPerRead && !stop_.load(std::memory_order_relaxed)) {
        if (!folder.reader->Next(entry)) {
            return finish(folder.reader->Error(), false);
        }
        Entry item{std::move(entry), nullptr};
        if (item.entry.kind == EntryKind::Directory && !item.entry.isLink) {
            auto child = std::make_shared<Folder>();
            child->key = folder.key;
            child->key.push_back(folder.subfolders++);
            child->order = child->key;
            child->raw = folder.reader->LastEntryRawPath();
            child->path = JoinPath(folder.path, item.entry.name);
            item.subfolder = child;
            found.push_back(std::move(child));
        }
        read.push_back(std::move(item));
    }
    return false;
}

void FolderPrefetcher::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_.load()) {
        if (!toRead_.empty()) {
            FolderPtr folder = *toRead_.begin();
            // Beyond the read-ahead only the walk's own folder is read, and only as far as it has used it.
            bool wanted = folder == current_ && folder->ready.size() < kEntriesPerRead;
            if (buffered_ < kReadAheadEntries || wanted) {
                toRead_.erase(toRead_.begin());
                lock.unlock();
                std::vector<Entry> read;
                std::vector<FolderPtr> found;
                Ending ending;
                bool done = Read(*folder, read, found, ending);
                lock.lock();
                TakeIn(folder, done, std::move(ending), read, found);
                continue;
            }
            if (seam_ != nullptr) {
                seam_->ReadAheadFull(buffered_);
            }
        }
        readersWake_.wait(lock);
    }
}

void FolderPrefetcher::TakeIn(const FolderPtr& folder, bool done, Ending&& ending, std::vector<Entry>& read,
                              std::vector<FolderPtr>& found) {
    if (done) {
        folder->done = true;
        folder->openFailed = ending.openFailed;
        folder->error = std::move(ending.error);
    }
    buffered_ += read.size();
    if (seam_ != nullptr) {
        seam_->AfterRead(folder->path, read.size());
    }
    if (folder->ready.empty()) {
        folder->ready.swap(read);
    } else {
        std::move(read.begin(), read.end(), std::back_inserter(folder->ready));
    }
    std::size_t added = found.size();
    toRead_.insert(found.begin(), found.end());
    if (!folder->done) {
        ++added;
        folder->order = folder->key;
        folder->order.push_back(folder->subfolders);
        toRead_.insert(folder);
    }
    walkerWakes_.notify_one();
    // The calling thread takes one of them itself.
    for (std::size_t more = 1; more < added && more < threads_.size(); ++more) {
        readersWake_.notify_one();
    }
}

FolderPrefetcher::Result FolderPrefetcher::Next(const FolderPtr& folder, std::vector<Entry>& entries,
                                                FileSystemError& error) {
    constexpr auto kPatience = std::chrono::milliseconds(1);
    auto waitingSince = std::chrono::steady_clock::now();
    bool told = false;
    std::unique_lock<std::mutex> lock(mutex_);
    if (current_ != folder) {
        current_ = folder;
        readersWake_.notify_one();
    }
    for (;;) {
        if (!folder->ready.empty()) {
            bool wasFull = buffered_ >= kReadAheadEntries;
            entries.clear();
            entries.swap(folder->ready);
            buffered_ -= entries.size();
            if (wasFull) {
                readersWake_.notify_one();
            }
            return Result::Entries;
        }
        if (folder->done) {
            error = folder->error;
            entries.clear();
            if (folder->openFailed) {
                return Result::OpenFailed;
            }
            return error.code != 0 ? Result::ReadFailed : Result::End;
        }
        if (sink_.ShouldStop()) {
            return Result::Stopped;
        }
        if (!told) {
            // What the sink holds back goes on while the file system keeps the walk waiting.
            told = true;
            lock.unlock();
            sink_.BeforeWait();
            lock.lock();
            continue;
        }
        // The walk has waited longer than a local disk takes to answer: the folders come from a file
        // server, so one more thread reads, and another for every further moment of waiting.
        auto now = std::chrono::steady_clock::now();
        bool growing = threads_.size() < maxThreads_;
        if (growing && now - waitingSince >= kPatience) {
            threads_.emplace_back(&FolderPrefetcher::Work, this);
            waitingSince = now;
        }
        // Only the growing waits are timed, a few in all; a stop, like a read, wakes the walk.
        if (growing) {
            walkerWakes_.wait_for(lock, kPatience);
        } else {
            walkerWakes_.wait(lock);
        }
    }
}
