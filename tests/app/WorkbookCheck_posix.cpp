#include "tests/app/WorkbookExpectation.h"

#include "app/export/filesystem/NameCoding.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

inline constexpr char kPython[] = "/usr/bin/python3";
inline constexpr char kReader[] = MORVANE_SOURCE_DIR "/tests/app/read_workbook.py";

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

}  // namespace

void ExpectWorkbook(const std::u16string& path, const WorkbookExpectation& expected) {
    std::string workbook = EncodeFileName(path);
    char jsonPath[] = "/tmp/morvane-expect-XXXXXX";
    int fd = mkstemp(jsonPath);
    ASSERT_GE(fd, 0);
    std::string json = expected.ToJson(workbook);
    ASSERT_EQ(write(fd, json.data(), json.size()), static_cast<ssize_t>(json.size()));
    close(fd);

    std::string command = std::string(kPython) + " " + Quoted(kReader) + " --expect " + Quoted(jsonPath) +
                          " " + Quoted(workbook) + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, count);
    }
    int status = pclose(pipe);
    unlink(jsonPath);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the workbook read back differs from what was expected:\n"
        << output;
}
