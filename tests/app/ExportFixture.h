#pragma once

#include "app/export/ExportFileList.h"
#include "app/export/ListFiles.h"
#include "tests/app/TempTree.h"
#include "tests/app/TestClock.h"
#include "tests/app/WorkbookExpectation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline constexpr char16_t kOutputName[] = u"文件清单_.xlsx";

// The fixture of every export test: a temporary tree, the export run on it, and the rows it should write.
class ExportTest : public testing::Test {
protected:
    using Row = WorkbookExpectation::Row;

    static ExportOutcome Export(const std::u16string& folder, bool recursive,
                                const ExportOptions& options = {}) {
        CWString text;
        text.SetUnits(folder.data(), static_cast<std::int64_t>(folder.size()));
        return ExportFileList(text, recursive, options);
    }

    ExportOutcome ExportRoot(bool recursive, const ExportOptions& options = {}) const {
        return Export(tree_.Root(), recursive, options);
    }

    // The row of a file made by the test today.
    Row FileRow(std::u16string_view relative, std::u16string stem, std::u16string suffix,
                std::u16string size) const {
        return Row{std::move(stem), tree_.Path(relative), std::move(suffix), std::move(size),
                   LocalTodayText()};
    }

    std::u16string Output() const { return tree_.Path(kOutputName); }

    TempTree tree_;
};

// Keeps everything a listing hands over, in order.
class CollectingSink : public ListingSink {
public:
    void OnFile(FileRecord&& file) override { files.push_back(std::move(file)); }
    void OnFolder(const std::u16string& path) override { folders.push_back(path); }

    std::vector<std::u16string> Paths() const {
        std::vector<std::u16string> paths;
        for (const FileRecord& file : files) {
            paths.push_back(file.path);
        }
        return paths;
    }

    std::vector<FileRecord> files;
    std::vector<std::u16string> folders;
};
