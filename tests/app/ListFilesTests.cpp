#include "app/export/filesystem/AbsolutePath.h"
#include "app/export/filesystem/FilePath.h"
#include "app/export/listing/FolderPrefetcher.h"
#include "app/export/listing/ListFiles.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <initializer_list>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::u16string Number(int value) {
    std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

// Joins texts (the operator+ chains of std::u16string draw a false -Wrestrict from mingw's g++).
std::u16string Concat(std::initializer_list<std::u16string_view> parts) {
    std::u16string text;
    for (std::u16string_view part : parts) {
        text += part;
    }
    return text;
}

std::vector<std::u16string> Sorted(std::vector<std::u16string> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

class ListFilesTest : public testing::Test {
protected:
    void SetUp() override {
        tree_.MakeFile(u"a.txt", 1234);
        tree_.MakeFile(u"B.TXT", 5);
        tree_.MakeFile(u"c.doc");
        tree_.MakeFile(u"sub/d.txt", 7);
        tree_.MakeFile(u"sub/deeper/e.md");
        tree_.MakeFolder(u"empty");
    }

    std::u16string P(std::u16string_view relative) const { return tree_.Path(relative); }

    TempTree tree_;
};

TEST_F(ListFilesTest, ListsTheFilesDirectlyInTheFolderWithTheirSizes) {
    CollectingSink sink;
    FileSystemError error;
    ASSERT_TRUE(ListFiles(tree_.Root(), sink, nullptr, error));
    EXPECT_EQ(Sorted(sink.Paths()), Sorted({P(u"a.txt"), P(u"B.TXT"), P(u"c.doc")}));
    for (const FileRecord& file : sink.files) {
        std::int64_t expected = file.path == P(u"a.txt") ? 1234 : file.path == P(u"B.TXT") ? 5 : 0;
        EXPECT_EQ(file.size, expected) << Utf8(file.path);
        EXPECT_GT(file.creationTime, 0);
    }
}

TEST_F(ListFilesTest, ReadsEveryFolderOfTheTree) {
    CollectingSink sink;
    OpeningSeam seam;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), sink, nullptr, error, nullptr, &seam));
    EXPECT_EQ(Sorted(seam.Opened()), Sorted({tree_.Root(), P(u"sub"), P(u"sub/deeper"), P(u"empty")}));
}

TEST_F(ListFilesTest, FiltersBySuffixWithoutRegardToCase) {
    CMStringArray filter;
    filter.Append(u".txt");
    CollectingSink sink;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), sink, &filter, error));
    EXPECT_EQ(Sorted(sink.Paths()), Sorted({P(u"a.txt"), P(u"B.TXT"), P(u"sub/d.txt")}));

    CMStringArray nothing;
    CollectingSink none;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), none, &nothing, error));
    EXPECT_TRUE(none.files.empty());
}

TEST_F(ListFilesTest, WalksTheTreeDepthFirstInPreOrder) {
    CollectingSink sink;
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree_.Root(), sink, nullptr, error));
    std::vector<std::u16string> paths = sink.Paths();
    EXPECT_EQ(Sorted(paths),
              Sorted({P(u"a.txt"), P(u"B.TXT"), P(u"c.doc"), P(u"sub/d.txt"), P(u"sub/deeper/e.md")}));
    // Whatever the file system's order, the files below "sub" come as one block.
    auto first = std::find(paths.begin(), paths.end(), P(u"sub/d.txt"));
    auto deeper = std::find(paths.begin(), paths.end(), P(u"sub/deeper/e.md"));
    ASSERT_NE(first, paths.end());
    ASSERT_NE(deeper, paths.end());
    EXPECT_EQ(std::abs(first - deeper), 1);
}

// Stops the listing once it has been asked `limit` times.
class StoppingSink : public CollectingSink {
public:
    explicit StoppingSink(int limit) : limit_(limit) {}
    bool ShouldStop() const override { return ++asked_ > limit_; }

private:
    int limit_;
    mutable int asked_ = 0;
};

TEST_F(ListFilesTest, StopsBeforeTheNextEntryWhenTheSinkSaysSo) {
    for (int limit : {0, 1, 2}) {
        StoppingSink flat(limit);
        StoppingSink tree(limit);
        FileSystemError error;
        EXPECT_TRUE(ListFiles(tree_.Root(), flat, nullptr, error));
        EXPECT_TRUE(ListFilesRecursive(tree_.Root(), tree, nullptr, error));
        // One entry at most for each time the sink was asked.
        EXPECT_LE(flat.files.size(), static_cast<std::size_t>(limit));
        EXPECT_LE(tree.files.size(), static_cast<std::size_t>(limit));
    }
}

TEST_F(ListFilesTest, ListsNothingForAMissingFolder) {
    CollectingSink sink;
    FileSystemError error;
    EXPECT_TRUE(ListFiles(P(u"missing"), sink, nullptr, error));
    EXPECT_TRUE(ListFilesRecursive(P(u"missing"), sink, nullptr, error));
    EXPECT_TRUE(sink.files.empty());
    EXPECT_EQ(error.code, 0);
}

TEST_F(ListFilesTest, ReportsAFileGivenAsFolderAsAnError) {
    CollectingSink sink;
    FileSystemError error;
    EXPECT_FALSE(ListFiles(P(u"a.txt"), sink, nullptr, error));
    EXPECT_EQ(error.operation, "directory_iterator::directory_iterator");
    EXPECT_EQ(error.path, P(u"a.txt"));
    EXPECT_FALSE(error.message.empty());
    EXPECT_NE(error.code, 0);
}

// System error numbers of the three kinds of folder failure.
#ifdef _WIN32
inline constexpr int kVanished = 2;    // ERROR_FILE_NOT_FOUND
inline constexpr int kUnreadable = 5;  // ERROR_ACCESS_DENIED
inline constexpr int kFatal = 4;       // ERROR_TOO_MANY_OPEN_FILES
#else
inline constexpr int kVanished = 2;     // ENOENT
inline constexpr int kUnreadable = 13;  // EACCES
inline constexpr int kFatal = 24;       // EMFILE
#endif

// Makes folders fail as `failing` says, and lets the folders of `order` be read only one after the
// other in that order (each once the one before it is read), however the listing would order them.
class ReorderingSeam : public ListingSeam {
public:
    ReorderingSeam(std::vector<std::u16string> order, std::map<std::u16string, int> failing)
        : order_(std::move(order)), failing_(std::move(failing)) {}

    int BeforeRead(std::u16string_view path, bool opening) const override {
        std::unique_lock<std::mutex> lock(mutex_);
        auto at = std::find(order_.begin(), order_.end(), path);
        if (opening && at != order_.end()) {
            std::size_t place = static_cast<std::size_t>(at - order_.begin());
            // Only a broken listing could keep a turn from coming: not a measure of speed.
            EXPECT_TRUE(turn_.wait_for(lock, std::chrono::minutes(2), [&] { return read_ == place; }))
                << Utf8(path);
        }
        auto failure = failing_.find(std::u16string(path));
        return opening && failure != failing_.end() ? failure->second : 0;
    }

    void AfterRead(std::u16string_view path, std::size_t /*entries*/) const override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (read_ < order_.size() && order_[read_] == path) {
            ++read_;
            turn_.notify_all();
        }
    }

private:
    std::vector<std::u16string> order_;
    std::map<std::u16string, int> failing_;
    mutable std::mutex mutex_;
    mutable std::condition_variable turn_;
    mutable std::size_t read_ = 0;
};

// A tree of a few folders with files at every level; the folders in the serial pre-order.
class ListingOrderTest : public testing::Test {
protected:
    void SetUp() override {
        for (int top = 0; top < 3; ++top) {
            tree_.MakeFile(Concat({u"f", Digit(top), u".txt"}));
        }
        for (int sub = 0; sub < 4; ++sub) {
            for (int file = 0; file < 3; ++file) {
                tree_.MakeFile(Concat({u"s", Digit(sub), u"/g", Digit(file), u".txt"}));
            }
            for (int file = 0; file < 2; ++file) {
                tree_.MakeFile(Concat({u"s", Digit(sub), u"/x/h", Digit(file), u".txt"}));
            }
        }
        std::vector<std::u16string> events;
        ASSERT_TRUE(SerialListing(tree_.Root(), events));
        folders_ = FoldersOf(events);
        ASSERT_EQ(folders_.size(), 9u);
    }

    static std::u16string Digit(int value) { return std::u16string(1, static_cast<char16_t>(u'0' + value)); }

    // The top folder and every folder a listing's events enter, in their order.
    std::vector<std::u16string> FoldersOf(const std::vector<std::u16string>& events) const {
        std::vector<std::u16string> folders{tree_.Root()};
        for (const std::u16string& event : events) {
            if (event.starts_with(u"D ")) {
                folders.push_back(event.substr(2));
            }
        }
        return folders;
    }

    // Every folder before its sub-folders, but the sub-folders of each folder from the last one back.
    static void LastSiblingsFirst(const std::vector<std::u16string>& folders, const std::u16string& folder,
                                  std::vector<std::u16string>& order) {
        order.push_back(folder);
        for (auto at = folders.rbegin(); at != folders.rend(); ++at) {
            if (ParentFolder(*at) == folder) {
                LastSiblingsFirst(folders, *at, order);
            }
        }
    }

    // Level by level from the top, each level from its last folder back.
    static std::vector<std::u16string> DeepestLevelsLast(const std::vector<std::u16string>& folders) {
        std::vector<std::u16string> order;
        for (std::size_t depth = 0; order.size() < folders.size(); ++depth) {
            for (auto at = folders.rbegin(); at != folders.rend(); ++at) {
                std::u16string_view below = std::u16string_view(*at).substr(folders.front().size());
                if (static_cast<std::size_t>(std::count_if(below.begin(), below.end(), IsPathSeparator)) ==
                    depth) {
                    order.push_back(*at);
                }
            }
        }
        return order;
    }

    TempTree tree_;
    std::vector<std::u16string> folders_;
};

// Whatever order the folders' reads complete in, and wherever folders fail, the listing hands over
// exactly what a listing reading one folder after another would, in the same order.
TEST_F(ListingOrderTest, HandsOverTheSerialOrderWhateverOrderTheReadsCompleteIn) {
    struct Case {
        const char* name;
        bool lastSiblingsFirst;
        std::vector<std::size_t> failing;  // places in folders_
        int code;
    };
    const Case cases[] = {
        {"last siblings first", true, {}, 0},
        {"deepest levels last", false, {}, 0},
        {"unreadable in the middle", true, {3, 6}, kUnreadable},
        {"vanished in the middle", false, {3}, kVanished},
        {"fatal in the middle", true, {3}, kFatal},
        {"fatal at the end", false, {8}, kFatal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::map<std::u16string, int> failing;
        for (std::size_t place : c.failing) {
            failing[folders_[place]] = c.code;
        }
        std::vector<std::u16string> expected;
        bool serialComplete = SerialListing(tree_.Root(), expected, failing);
        EXPECT_EQ(serialComplete, c.code != kFatal);
        // The folders that are read at all, in the order their reads are let through.
        std::vector<std::u16string> read = FoldersOf(expected);
        std::vector<std::u16string> order;
        if (c.lastSiblingsFirst) {
            LastSiblingsFirst(read, read.front(), order);
        } else {
            order = DeepestLevelsLast(read);
        }
        ASSERT_NE(order, read);
        ReorderingSeam seam(order, failing);

        EventSink sink;
        FileSystemError error;
        bool complete = ListFilesRecursive(tree_.Root(), sink, nullptr, error, &sink.skipped, &seam);
        sink.Note();
        EXPECT_EQ(complete, serialComplete);
        EXPECT_EQ(sink.events, FilesAndSkips(expected));
        if (!complete) {
            EXPECT_EQ(error.operation, "recursive_directory_iterator::operator++");
            EXPECT_EQ(error.code, c.code);
            EXPECT_EQ(error.path, folders_[c.failing.front()]);
        }
    }
}

// Stops once it has the files that come before a folder and the listing is about to wait: it then
// waits for that folder (or for the end of one before it, with no further file either way).
class CancellingSink : public EventSink {
public:
    explicit CancellingSink(std::size_t filesBefore) : filesBefore_(filesBefore) {}

    void OnFile(FileRecord&& file) override {
        EventSink::OnFile(std::move(file));
        ++files_;
    }
    void BeforeWait() override {
        if (files_ >= filesBefore_) {
            std::lock_guard<std::mutex> lock(mutex);
            cancelled = true;
            changed.notify_all();
        }
    }
    bool ShouldStop() const override {
        std::lock_guard<std::mutex> lock(mutex);
        return cancelled;
    }

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    bool cancelled = false;

private:
    std::size_t filesBefore_;
    std::size_t files_ = 0;
};

// Holds the read of one folder until the listing has been cancelled.
class BlockingSeam : public ListingSeam {
public:
    BlockingSeam(std::u16string folder, CancellingSink& sink) : folder_(std::move(folder)), sink_(sink) {}

    int BeforeRead(std::u16string_view path, bool /*opening*/) const override {
        if (path == folder_) {
            std::unique_lock<std::mutex> lock(sink_.mutex);
            // Only a listing that waits for this read, not for the cancellation, could fail this.
            EXPECT_TRUE(
                sink_.changed.wait_for(lock, std::chrono::minutes(2), [&] { return sink_.cancelled; }));
        }
        return 0;
    }

private:
    std::u16string folder_;
    CancellingSink& sink_;
};

TEST_F(ListingOrderTest, StopsWhileAFolderItWaitsForIsBlocked) {
    std::vector<std::u16string> serial;
    ASSERT_TRUE(SerialListing(tree_.Root(), serial));
    for (std::size_t place : {std::size_t{0}, std::size_t{3}, std::size_t{8}}) {
        SCOPED_TRACE(place);
        // Everything up to the blocked folder, nothing of it nor after it.
        auto end = std::find(serial.begin(), serial.end(), u"D " + folders_[place]);
        std::vector<std::u16string> before =
            FilesAndSkips({serial.begin(), end == serial.end() ? serial.begin() : end});
        CancellingSink sink(before.size());
        BlockingSeam seam(folders_[place], sink);
        FileSystemError error;
        EXPECT_TRUE(ListFilesRecursive(tree_.Root(), sink, nullptr, error, &sink.skipped, &seam));
        EXPECT_TRUE(sink.cancelled);
        EXPECT_EQ(sink.events, before);
    }
}

// Counts what is read ahead, and holds the listing's first file until the read-ahead is full.
class ReadAheadSeam : public ListingSeam {
public:
    void AfterRead(std::u16string_view /*path*/, std::size_t entries) const override {
        std::lock_guard<std::mutex> lock(mutex);
        read += entries;
        changed.notify_all();
    }
    void ReadAheadFull(std::size_t buffered) const override {
        std::lock_guard<std::mutex> lock(mutex);
        full = true;
        most = std::max(most, buffered);
        readWhenFull = read;
        changed.notify_all();
    }

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    mutable std::size_t read = 0;
    mutable bool full = false;
    mutable std::size_t most = 0;
    mutable std::size_t readWhenFull = 0;
};

class HoldingSink : public CollectingSink {
public:
    HoldingSink(const ReadAheadSeam& seam, std::size_t total) : seam_(seam), total_(total) {}
    void OnFile(FileRecord&& file) override {
        if (files.empty()) {
            std::unique_lock<std::mutex> lock(seam_.mutex);
            // Either the read-ahead stops at its bound, or everything gets read ahead.
            seam_.changed.wait(lock, [&] { return seam_.full || seam_.read == total_; });
        }
        CollectingSink::OnFile(std::move(file));
    }

private:
    const ReadAheadSeam& seam_;
    std::size_t total_;
};

TEST(ListingReadAheadTest, StopsReadingAheadAtItsBound) {
    TempTree tree;
    constexpr int kFolders = 24;
    constexpr int kFilesPerFolder = 500;
    for (int folder = 0; folder < kFolders; ++folder) {
        for (int file = 0; file < kFilesPerFolder; ++file) {
            tree.MakeFile(Concat({u"d", Number(folder), u"/f", Number(file), u".txt"}));
        }
    }
    const std::size_t total = kFolders * (kFilesPerFolder + 1);
    static_assert(kFolders * kFilesPerFolder >
                  FolderPrefetcher::kReadAheadEntries +
                      (FolderPrefetcher::kThreads + 1) * FolderPrefetcher::kEntriesPerRead);
    ReadAheadSeam seam;
    HoldingSink sink(seam, total);
    FileSystemError error;
    ASSERT_TRUE(ListFilesRecursive(tree.Root(), sink, nullptr, error, nullptr, &seam));
    EXPECT_EQ(sink.files.size(), static_cast<std::size_t>(kFolders * kFilesPerFolder));
    EXPECT_TRUE(seam.full);
    EXPECT_LT(seam.readWhenFull, total);
    // Each listing thread may finish the read it began.
    EXPECT_LE(seam.most, FolderPrefetcher::kReadAheadEntries +
                             FolderPrefetcher::kThreads * FolderPrefetcher::kEntriesPerRead);
}

}  // namespace
