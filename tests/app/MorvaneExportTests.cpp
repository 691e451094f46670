#include "app/export/filesystem/FilePath.h"
#include "app/export/filesystem/NameCoding.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"
#include "tests/app/ProcessRun.h"
#include "tests/app/TempTree.h"
#include "tests/app/TestClock.h"
#include "tests/app/WorkbookExpectation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <xlsxwriter.h>

namespace {

using Row = WorkbookExpectation::Row;

bool OnWindows() {
    return PathSeparator() == u'\\';
}

class MorvaneExportTest : public testing::Test {
protected:
    void SetUp() override {
        tree_.MakeFile(u"files/a.txt", 10);
        tree_.MakeFile(u"files/b.txt", 20);
        tree_.MakeFile(u"files/sub/c.txt", 30);
        tree_.MakeFolder(u"folders/empty");
        tree_.MakeFile(u"blocked/a.txt");
        tree_.MakeFile(u"blocked/文件清单_.xlsx/keep.txt");
        tree_.MakeFile(u"-dash/a.txt");
    }

    ProcessResult Run(std::vector<std::u16string> arguments, const RunOptions& options = {}) {
        ProcessResult result = RunMorvaneExport(arguments, options);
        EXPECT_TRUE(result.started) << "morvane-export could not be started: build the target morvane-export";
        return result;
    }

    // The row of a small test file (under 1000 bytes) made today.
    Row FileRow(std::u16string_view relative) const {
        std::u16string path = tree_.Path(relative);
        std::u16string name = path.substr(LastSeparator(path) + 1);
        std::size_t dot = name.rfind(u'.');
        return Row{name.substr(0, dot), path, name.substr(dot + 1), u"0KB", LocalTodayText()};
    }

    // The rows of "files", listed recursively or not.
    std::vector<Row> FilesRows(bool recursive) const {
        std::vector<Row> rows{FileRow(u"files/a.txt"), FileRow(u"files/b.txt")};
        if (recursive) {
            rows.push_back(FileRow(u"files/sub/c.txt"));
        }
        return rows;
    }

    TempTree tree_;
};

struct CliCase {
    const char* what;
    std::vector<std::u16string> arguments;  // "@" stands for the test's temporary folder
    int exitCode;
    std::u16string output;
};

TEST_F(MorvaneExportTest, PrintsTheOutcomeAndExitsWithItsCode) {
    const CliCase cases[] = {
        {"folder", {u"@/files"}, 0, u"生成完毕,文件数量2个。\n"},
        {"recursive", {u"-r", u"@/files"}, 0, u"生成完毕,文件数量4个。\n"},
        {"recursive, long option, after the folder", {u"@/folders", u"--recursive"}, 2, u"目录没有文件\n"},
        {"missing folder", {u"@/missing"}, 1, u"目录错误\n"},
        {"empty text", {u""}, 1, u"目录错误\n"},
        {"a file", {u"@/files/a.txt"}, 1, u"目录错误\n"},
        {"no files", {u"@/folders"}, 2, u"目录没有文件\n"},
        {"a folder starting with a dash", {u"--", u"@/-dash"}, 0, u"生成完毕,文件数量1个。\n"},
        {"cannot write", {u"@/blocked"}, 3, u"生成失败,无法写入文件清单_.xlsx\n"},
        {"cannot write the file given",
         {u"-o", u"@/blocked/a.txt/清单.xlsx", u"@/files"},
         3,
         u"生成失败,无法写入清单.xlsx\n"},
    };
    for (const CliCase& row : cases) {
        SCOPED_TRACE(row.what);
        std::vector<std::u16string> arguments;
        for (std::u16string argument : row.arguments) {
            if (!argument.empty() && argument[0] == u'@') {
                argument = tree_.Path(argument.substr(2));
            }
            arguments.push_back(argument);
        }
        ProcessResult result = Run(arguments);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.output, EncodeUtf8(row.output));
        if (row.exitCode == 3) {
            // The cause, with the path, on standard error.
            EXPECT_NE(result.errorOutput.find(EncodeUtf8(tree_.Path(u"blocked"))), std::string::npos)
                << result.errorOutput;
        } else {
            // No progress line when standard error is not a terminal.
            EXPECT_EQ(result.errorOutput, "");
        }
    }
    EXPECT_TRUE(tree_.Exists(std::u16string(u"files/") + kOutputName));
    EXPECT_TRUE(tree_.Exists(std::u16string(u"-dash/") + kOutputName));
    EXPECT_EQ(tree_.ListNames(u"blocked"), (std::vector<std::u16string>{u"a.txt", kOutputName}));
}

TEST_F(MorvaneExportTest, RefusesWrongArgumentsWithUsage) {
    const std::vector<std::u16string> cases[] = {
        {},
        {u"-r"},
        {u"--bogus", tree_.Path(u"files")},
        {tree_.Path(u"files"), tree_.Path(u"folders")},
        {tree_.Path(u"files"), u"-o"},
    };
    for (const auto& arguments : cases) {
        ProcessResult result = Run(arguments);
        EXPECT_EQ(result.exitCode, 64);
        EXPECT_EQ(result.output, "");
        EXPECT_NE(
            result.errorOutput.find("usage: morvane-export [-r|--recursive] [-o|--output FILE] FOLDER\n"),
            std::string::npos)
            << result.errorOutput;
    }
    EXPECT_FALSE(tree_.Exists(std::u16string(u"files/") + kOutputName));
}

TEST_F(MorvaneExportTest, AnswersHelpAndVersion) {
    ProcessResult help = Run({u"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("usage: morvane-export [-r|--recursive] [-o|--output FILE] FOLDER\n", 0), 0u)
        << help.output;
    EXPECT_NE(help.output.find("4 written, but sub-folders"), std::string::npos) << help.output;
    EXPECT_EQ(Run({u"-h"}).output, help.output);
    // Windows tools answer "/?"; elsewhere it is a path like any other.
    ProcessResult slashQuestion = Run({u"/?"});
    EXPECT_EQ(slashQuestion.exitCode, OnWindows() ? 0 : 1);
    EXPECT_EQ(slashQuestion.output, OnWindows() ? help.output : EncodeUtf8(u"目录错误\n"));

    ProcessResult version = Run({u"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("morvane-export ", 0), 0u) << version.output;
    EXPECT_NE(version.output.find(std::string("libxlsxwriter ") + lxw_version()), std::string::npos)
        << version.output;
}

TEST_F(MorvaneExportTest, MakesARelativeFolderAbsolute) {
    const struct {
        const char* what;
        std::u16string workingFolder;
        std::u16string folder;
    } cases[] = {
        {"the current folder", u"files", u"."},
        {"a parent step", u"folders", u"../files"},
        {"a sub-folder", u"", u"files"},
        {"a sub-folder with a trailing separator", u"", std::u16string(u"files") + PathSeparator()},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        RunOptions options;
        options.workingFolder = tree_.Path(row.workingFolder);
        ProcessResult result = Run({u"-r", row.folder}, options);
        EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
        EXPECT_EQ(result.output, EncodeUtf8(u"生成完毕,文件数量3个。\n"));
        // The path cells hold full paths, and the workbook lies in the folder listed.
        ExpectWorkbook(tree_.Path(std::u16string(u"files/") + kOutputName),
                       WorkbookExpectation::SingleSheet(FilesRows(true)));
        tree_.Remove(std::u16string(u"files/") + kOutputName);
    }
}

TEST_F(MorvaneExportTest, WritesTheWorkbookToTheOutputFile) {
    tree_.MakeFolder(u"elsewhere");
    const struct {
        const char* what;
        std::vector<std::u16string> arguments;
        std::u16string workingFolder;
        std::u16string written;  // relative to the test's folder
    } cases[] = {
        {"-o",
         {u"-o", tree_.Path(u"elsewhere/list.xlsx"), tree_.Path(u"files")},
         u"",
         u"elsewhere/list.xlsx"},
        {"--output, relative",
         {tree_.Path(u"files"), u"--output", u"清单.xlsx"},
         u"elsewhere",
         u"elsewhere/清单.xlsx"},
        {"--output=",
         {u"--output=" + tree_.Path(u"elsewhere/x.xlsx"), tree_.Path(u"files")},
         u"",
         u"elsewhere/x.xlsx"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        RunOptions options;
        options.workingFolder = tree_.Path(row.workingFolder);
        ProcessResult result = Run(row.arguments, options);
        EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
        EXPECT_EQ(result.output, EncodeUtf8(u"生成完毕,文件数量2个。\n"));
        ExpectWorkbook(tree_.Path(row.written), WorkbookExpectation::SingleSheet(FilesRows(false)));
    }
    // Nothing in the listed folder, no temporary file left anywhere.
    EXPECT_EQ(tree_.ListNames(u"files"), (std::vector<std::u16string>{u"a.txt", u"b.txt", u"sub"}));
    EXPECT_EQ(tree_.ListNames(u"elsewhere"),
              (std::vector<std::u16string>{u"list.xlsx", u"x.xlsx", u"清单.xlsx"}));

    // A workbook inside the listed tree is listed by the next export like the ordinary one.
    std::u16string inside = tree_.Path(u"files/sub/list.xlsx");
    EXPECT_EQ(Run({u"-r", u"-o", inside, tree_.Path(u"files")}).output,
              EncodeUtf8(u"生成完毕,文件数量3个。\n"));
    EXPECT_EQ(Run({u"-r", u"-o", inside, tree_.Path(u"files")}).output,
              EncodeUtf8(u"生成完毕,文件数量4个。\n"));
}

TEST_F(MorvaneExportTest, ExportsFoldersOfAnyLength) {
    for (std::size_t length : {245, 300, 1000}) {
        SCOPED_TRACE(length);
        // Segments of at most 100 characters up to exactly the length asked for.
        std::u16string relative = u"L";
        for (char digit : std::to_string(length)) {
            relative += static_cast<char16_t>(digit);
        }
        while (tree_.Path(relative).size() < length) {
            // One character left: the last segment takes it, a separator alone would not do.
            relative += length - tree_.Path(relative).size() == 1 ? u'd' : u'/';
            relative +=
                std::u16string(std::min<std::size_t>(length - tree_.Path(relative).size(), 100), u'd');
        }
        ASSERT_EQ(tree_.Path(relative).size(), length);
        tree_.MakeFile(relative + u"/deep.txt", 10);

        ProcessResult result = Run({tree_.Path(relative)});
        EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
        EXPECT_EQ(result.output, EncodeUtf8(u"生成完毕,文件数量1个。\n"));
        ExpectWorkbook(tree_.Path(relative + u"/" + kOutputName),
                       WorkbookExpectation::SingleSheet({FileRow(relative + u"/deep.txt")}));
        EXPECT_EQ(tree_.ListNames(relative), (std::vector<std::u16string>{u"deep.txt", kOutputName}));
    }
}

TEST_F(MorvaneExportTest, WritesWithoutAUsableTemporaryFolder) {
    // The system's temporary folder is missing and the current folder cannot be written; the folder
    // listed can.
    RunOptions options;
    for (const char* name : {"TEMP", "TMP", "TMPDIR"}) {
        options.environment.emplace_back(name, tree_.Path(u"missing"));
    }
    options.workingFolder = OnWindows() ? u"Z:\\proc" : u"/proc";
    ProcessResult result = Run({tree_.Path(u"files")}, options);
    EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
    EXPECT_EQ(result.output, EncodeUtf8(u"生成完毕,文件数量2个。\n"));
    ExpectWorkbook(tree_.Path(std::u16string(u"files/") + kOutputName),
                   WorkbookExpectation::SingleSheet(FilesRows(false)));
}

// For the tests that run the child as an unprivileged user: the test's tree readable by all, "files"
// writable by all.
class MorvaneExportAsUserTest : public MorvaneExportTest {
protected:
    void SetUp() override {
        std::string reason;
        if (!CanRunUnprivileged(reason)) {
            GTEST_SKIP() << reason;
        }
        MorvaneExportTest::SetUp();
        tree_.SetMode(u"", 0755);
        tree_.SetMode(u"files", 0777);
        options_.unprivileged = true;
    }

    RunOptions options_;
};

TEST_F(MorvaneExportAsUserTest, SkipsSubFoldersItMayNotRead) {
    tree_.MakeFile(u"files/locked/hidden.txt");
    tree_.MakeFile(u"files/sub/unsearchable/hidden.txt");
    tree_.SetMode(u"files/locked", 0);
    tree_.SetMode(u"files/sub/unsearchable", 0444);  // its names can be read, their status not

    ProcessResult result = Run({u"-r", tree_.Path(u"files")}, options_);
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_EQ(result.output, EncodeUtf8(u"生成完毕,文件数量3个。2个文件夹无法读取,已跳过。\n"));
    for (const char16_t* folder : {u"files/locked", u"files/sub/unsearchable"}) {
        EXPECT_NE(result.errorOutput.find(EncodeUtf8(tree_.Path(folder)) + ": Permission denied\n"),
                  std::string::npos)
            << result.errorOutput;
    }
    ExpectWorkbook(tree_.Path(std::u16string(u"files/") + kOutputName),
                   WorkbookExpectation::SingleSheet(FilesRows(true)));

    // The top folder itself unreadable still fails.
    tree_.SetMode(u"files", 0);
    result = Run({u"-r", tree_.Path(u"files")}, options_);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.output, EncodeUtf8(u"生成失败,无法读取目录\n"));
}

TEST_F(MorvaneExportAsUserTest, WritesTheListOfAReadOnlyFolderElsewhere) {
    tree_.SetMode(u"files", 0755);
    tree_.MakeFolder(u"elsewhere");
    tree_.SetMode(u"elsewhere", 0777);

    // Refused before anything is listed, with the way out on standard error.
    const ProcessResult refused = Run({tree_.Path(u"files")}, options_);
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_EQ(refused.output, EncodeUtf8(u"生成失败,无法写入文件清单_.xlsx\n"));
    EXPECT_NE(refused.errorOutput.find(EncodeUtf8(tree_.Path(std::u16string(u"files/") + kOutputName)) +
                                       ": Permission denied\n"),
              std::string::npos)
        << refused.errorOutput;
    EXPECT_NE(refused.errorOutput.find("name another place with -o FILE"), std::string::npos)
        << refused.errorOutput;
    ProcessResult result = Run({u"-o", tree_.Path(u"elsewhere/list.xlsx"), tree_.Path(u"files")}, options_);
    EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
    ExpectWorkbook(tree_.Path(u"elsewhere/list.xlsx"), WorkbookExpectation::SingleSheet(FilesRows(false)));
    EXPECT_EQ(tree_.ListNames(u"files"), (std::vector<std::u16string>{u"a.txt", u"b.txt", u"sub"}));
}

TEST_F(MorvaneExportTest, ExportsAFolderWhoseNameIsNotUtf8) {
    if (OnWindows()) {
        GTEST_SKIP() << "Windows names are UTF-16";
    }
    const std::u16string folder = DecodeFileName("d\xFF");
    tree_.MakeFile(folder + u"/a.txt");
    ProcessResult result = Run({tree_.Path(folder)});
    EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
    EXPECT_EQ(result.output, EncodeUtf8(u"生成完毕,文件数量1个。\n"));
    // The cells show U+FFFD for the byte.
    ExpectWorkbook(tree_.Path(folder + u"/" + kOutputName),
                   WorkbookExpectation::SingleSheet(
                       {Row{u"a", tree_.Path(u"d\uFFFD/a.txt"), u"txt", u"0KB", LocalTodayText()}}));
}

TEST_F(MorvaneExportTest, KeepsTheEarlierWorkbookWhenPackagingFails) {
    if (OnWindows()) {
        GTEST_SKIP() << "the file-size limit is a POSIX resource limit";
    }
    const std::u16string workbook = std::u16string(u"files/") + kOutputName;
    tree_.WriteFile(workbook, "the earlier workbook");
    RunOptions options;
    // Room for the rows and the parts the library assembles, not for the finished workbook.
    options.fileSizeLimit = 4096;
    ProcessResult result = Run({tree_.Path(u"files")}, options);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.output, EncodeUtf8(u"生成失败,无法写入文件清单_.xlsx\n"));
    EXPECT_NE(result.errorOutput.find("File too large"), std::string::npos) << result.errorOutput;
    EXPECT_EQ(tree_.ReadFile(workbook), "the earlier workbook");
    EXPECT_EQ(tree_.ListNames(u"files"),
              (std::vector<std::u16string>{u"a.txt", u"b.txt", u"sub", kOutputName}));
}

}  // namespace
