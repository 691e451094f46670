#include "app/export/FilePath.h"
#include "app/export/NameCoding.h"
#include "tests/app/AppPrinters.h"
#include "tests/app/ExportFixture.h"
#include "tests/app/ProcessRun.h"
#include "tests/app/TempTree.h"

#include <gtest/gtest.h>

#include <xlsxwriter.h>

namespace {

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

    ProcessResult Run(std::vector<std::u16string> arguments) {
        ProcessResult result = RunMorvaneExport(arguments);
        EXPECT_TRUE(result.started) << "morvane-export could not be started: build the target morvane-export";
        return result;
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
    };
    for (const auto& arguments : cases) {
        ProcessResult result = Run(arguments);
        EXPECT_EQ(result.exitCode, 64);
        EXPECT_EQ(result.output, "");
        EXPECT_NE(result.errorOutput.find("usage: morvane-export [-r|--recursive] FOLDER"), std::string::npos)
            << result.errorOutput;
    }
    EXPECT_FALSE(tree_.Exists(std::u16string(u"files/") + kOutputName));
}

TEST_F(MorvaneExportTest, AnswersHelpAndVersion) {
    ProcessResult help = Run({u"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("usage: morvane-export [-r|--recursive] FOLDER\n", 0), 0u) << help.output;
    EXPECT_EQ(Run({u"-h"}).output, help.output);

    ProcessResult version = Run({u"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("morvane-export ", 0), 0u) << version.output;
    EXPECT_NE(version.output.find(std::string("libxlsxwriter ") + lxw_version()), std::string::npos)
        << version.output;
}

}  // namespace
