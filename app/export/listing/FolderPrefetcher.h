#pragma once

#include "app/export/filesystem/CancelToken.h"
#include "app/export/filesystem/FileSystemError.h"
#include "app/export/listing/DirectoryEntry.h"
#include "app/export/listing/DirectoryReader.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Where tests step into the reading of folders: to hold a read back (so that reads complete in another
// order than the walk needs them) or to make it fail.
class ListingSeam {
public:
    virtual ~ListingSeam() = default;

    // Called on a listing thread before it reads the next entries of the folder at `path` (`opening`:
    // before opening it). May block. A non-zero system error number makes that read fail with it.
    virtual int BeforeRead(std::u16string_view /*path*/, bool /*opening*/) const { return 0; }
    // Called once `entries` more entries of the folder at `path` are there for the walk (under the
    // listing's lock: must not block).
    virtual void AfterRead(std::u16string_view /*path*/, std::size_t /*entries*/) const {}
    // Called when a listing thread waits because `buffered` entries are read ahead of the walk.
    virtual void ReadAheadFull(std::size_t /*buffered*/) const {}
};

// Reads the folders of a tree ahead of the recursive walk, on a few threads of its own, over a slow
// (network) file system many at once. It starts with one thread and adds one (up to `threads`) for
// every millisecond the walk waits, so a local disk, which answers at once, keeps one or two busy.
// The walk takes each folder's entries in the file system's order and the folders in its own
// pre-order; which folder is read first is decided by that same order, so the folders the walk needs
// soonest are read first.
//
// The read-ahead is bounded: beyond kReadAheadEntries entries waiting for the walk, only the folder the
// walk is in is read further. A folder read ahead keeps its failure (opening or reading it) for the
// moment the walk reaches it.
class ListingSink;

class FolderPrefetcher {
public:
    struct Folder;
    using FolderPtr = std::shared_ptr<Folder>;

    // One entry as read; `subfolder` is set for a folder the walk descends into (not a link).
    struct Entry {
        DirectoryEntry entry;
        FolderPtr subfolder;
    };

    enum class Result {
        Entries,     // more entries of the folder
        End,         // the folder is read to its end
        OpenFailed,  // the folder could not be opened: Error() tells why
        ReadFailed,  // reading it failed part-way (its entries before that came): Error() tells why
        Stopped,     // the sink said so while the walk waited
    };

    static inline constexpr unsigned kThreads = 8;
    static inline constexpr std::size_t kEntriesPerRead = 256;
    static inline constexpr std::size_t kReadAheadEntries = 4096;

    // Starts reading at `top`. The sink is asked whether to stop and told before the walk waits, on the
    // walk's thread only; its StopToken ends the walk's wait at once.
    FolderPrefetcher(std::u16string_view top, ListingSink& sink, const ListingSeam* seam,
                     unsigned threads = kThreads);
    // Stops the listing threads and waits for them, each at most until its current system call returns.
    ~FolderPrefetcher();
    FolderPrefetcher(const FolderPrefetcher&) = delete;
    FolderPrefetcher& operator=(const FolderPrefetcher&) = delete;

    FolderPtr Top() const { return top_; }

    // The folder's path: the top's text, a sub-folder's joined to it once, when its parent was read.
    // Set before the folder is handed to the walk and never changed.
    static const std::u16string& PathOf(const Folder& folder);

    // The next entries of `folder`, which the walk is in from now on (replacing `entries`): waits for
    // them. After OpenFailed or ReadFailed, `error` tells why.
    Result Next(const FolderPtr& folder, std::vector<Entry>& entries, FileSystemError& error);

private:
    struct ByOrder {
        bool operator()(const FolderPtr& left, const FolderPtr& right) const;
    };

    // How a folder's reading ended.
    struct Ending {
        bool openFailed = false;
        FileSystemError error;
    };

    void Work();
    // Reads the next entries of `folder`, which this thread alone holds, without the mutex; `found`
    // gets its sub-folders. True when the folder is done, as `ending` tells.
    bool Read(Folder& folder, std::vector<Entry>& read, std::vector<FolderPtr>& found, Ending& ending);
    // Under the mutex: makes what Read gave available to the walk and the other listing threads.
    void TakeIn(const FolderPtr& folder, bool done, Ending&& ending, std::vector<Entry>& read,
                std::vector<FolderPtr>& found);

    const ListingSeam* seam_;
    ListingSink& sink_;
    FolderPtr top_;

    std::mutex mutex_;
    std::condition_variable walkerWakes_;
    std::condition_variable readersWake_;
    // Folders waiting to be read further, the one whose next entries come first in pre-order first.
    std::set<FolderPtr, ByOrder> toRead_;
    FolderPtr current_;
    std::size_t buffered_ = 0;
    std::atomic<bool> stop_{false};
    unsigned maxThreads_ = kThreads;
    // Started under the mutex (by the walk's thread, once by the constructor), joined by the destructor.
    std::vector<std::thread> threads_;
    // Last: wakes the walk while everything above is there.
    CancelToken::Subscription onStop_;
};
