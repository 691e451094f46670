#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using Row = WorkbookExpectation::Row;

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// A handle that keeps others from sharing the file or folder, as a program holding it open does.
class ExclusiveHandle {
public:
    explicit ExclusiveHandle(const std::u16string& path)
        : handle_(CreateFileW(Wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr)) {}
    ~ExclusiveHandle() { Close(); }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (IsOpen()) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE handle_;
};

FILETIME LocalTimeToUtc(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME local{};
    local.wYear = year;
    local.wMonth = month;
    local.wDay = day;
    local.wHour = hour;
    local.wMinute = minute;
    FILETIME localTime{};
    FILETIME utc{};
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

class ExportWinTest : public ExportTest {};

TEST_F(ExportWinTest, ListsHiddenAndSystemFiles) {
    struct {
        std::u16string name;
        DWORD attributes;
    } files[] = {
        {u"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
        {u"system.txt", FILE_ATTRIBUTE_SYSTEM},
        {u"both.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {u"readonly.txt", FILE_ATTRIBUTE_READONLY},
    };
    std::vector<Row> rows;
    for (const auto& file : files) {
        tree_.MakeFile(file.name, 3000);
        ASSERT_TRUE(SetFileAttributesW(Wide(tree_.Path(file.name)), file.attributes));
        rows.push_back(FileRow(file.name, file.name.substr(0, file.name.size() - 4), u"txt", u"3KB"));
    }
    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet(rows));
}

bool SetTimes(const std::u16string& path, const FILETIME& created, const FILETIME& modified) {
    HANDLE file = CreateFileW(Wide(path), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool set = SetFileTime(file, &created, nullptr, &modified) != 0;
    CloseHandle(file);
    return set;
}

bool KeepsCreationTime(const std::u16string& path, const FILETIME& created) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data) &&
           CompareFileTime(&data.ftCreationTime, &created) == 0;
}

TEST_F(ExportWinTest, ShowsTheLocalDayOfACreationJustAfterLocalMidnight) {
    tree_.MakeFile(u"night.txt");
    std::u16string path = tree_.Path(u"night.txt");
    FILETIME created = LocalTimeToUtc(2021, 3, 4, 0, 30);
    // The modification time lies on another day: the creation time is the one shown. A file system
    // that keeps no creation time of its own (Wine's, on Linux) gets the same time for both.
    FILETIME modified = LocalTimeToUtc(2020, 1, 1, 12, 0);
    ASSERT_TRUE(SetTimes(path, created, modified));
    if (!KeepsCreationTime(path, created)) {
        ASSERT_TRUE(SetTimes(path, created, created));
    }

    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    ExpectWorkbook(Output(),
                   WorkbookExpectation::SingleSheet({Row{u"night", path, u"txt", u"0KB", u"2021年3月4日"}}));
}

TEST_F(ExportWinTest, KeepsAnEarlierWorkbookThatAnotherProgramHoldsOpen) {
    tree_.MakeFile(u"a.txt");
    tree_.WriteFile(kOutputName, "the earlier workbook");
    ExclusiveHandle holder(Output());
    ASSERT_TRUE(holder.IsOpen());

    ExportOutcome outcome = Export(tree_.Root(), false);
    holder.Close();
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::WriteFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.cause.path, tree_.Root() + u"\\" + kOutputName);
    EXPECT_FALSE(outcome.cause.message.empty());
    EXPECT_EQ(tree_.ReadFile(kOutputName), "the earlier workbook");
    EXPECT_EQ(tree_.ListNames(), (std::vector<std::u16string>{u"a.txt", kOutputName}));
}

TEST_F(ExportWinTest, FailsToWriteBeyondTheLibrarysPathLimit) {
    // The library converts the workbook's path into a buffer of 260 characters: a longer path is a
    // write failure, not a crash.
    const std::size_t target = 247;
    std::u16string relative(20, u'长');
    while (tree_.Root().size() + 1 + relative.size() + 21 < target) {
        relative.append(1, u'\\').append(20, u'长');
    }
    std::size_t rest = target - tree_.Root().size() - 1 - relative.size() - 1;
    relative.append(1, u'\\').append(rest, u'x');
    std::u16string folder = tree_.Path(relative);
    ASSERT_EQ(folder.size(), 247u);
    tree_.MakeFile(relative + u"\\a.txt");

    ExportOutcome outcome = Export(folder, false);
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::WriteFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(tree_.ListNames(relative), std::vector<std::u16string>{u"a.txt"});
}

TEST_F(ExportWinTest, FailsTheListingWhenAnotherProgramLocksASubFolder) {
    tree_.MakeFile(u"a.txt");
    tree_.MakeFile(u"locked/b.txt");
    ExclusiveHandle holder(tree_.Path(u"locked"));
    ASSERT_TRUE(holder.IsOpen());

    ExportOutcome outcome = Export(tree_.Root(), true);
    holder.Close();
    EXPECT_EQ(outcome.kind, ExportOutcomeKind::ListingFailed) << testing::PrintToString(outcome);
    EXPECT_EQ(outcome.cause.operation, "recursive_directory_iterator::operator++");
    EXPECT_EQ(outcome.cause.path, tree_.Path(u"locked"));
    EXPECT_EQ(outcome.cause.code, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(tree_.ListNames(), (std::vector<std::u16string>{u"a.txt", u"locked"}));
}

TEST_F(ExportWinTest, RefusesToWalkAWholeDriveRecursively) {
    for (std::u16string root : {u"C:\\", u"C:"}) {
        EXPECT_EQ(Export(root, true).kind, ExportOutcomeKind::NoFiles) << Utf8(root);
    }
}

TEST_F(ExportWinTest, GivesRowsToNamesWithLoneSurrogates) {
    std::u16string name = u"bad" + std::u16string(1, 0xD800) + u".txt";
    HANDLE file = CreateFileW(Wide(tree_.Path(name)), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        GTEST_SKIP() << "this file system cannot store a lone surrogate (Wine maps names to UTF-8)";
    }
    CloseHandle(file);
    ASSERT_EQ(Export(tree_.Root(), false).kind, ExportOutcomeKind::Done);
    ExpectWorkbook(Output(), WorkbookExpectation::SingleSheet(
                                 {FileRow(u"bad\uFFFD.txt", u"bad\uFFFD", u"txt", u"0KB")}));
}

}  // namespace
