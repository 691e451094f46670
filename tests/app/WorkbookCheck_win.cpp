#include "tests/app/WidePath_win.h"
#include "tests/app/WorkbookExpectation.h"

#include "app/export/filesystem/NameCoding.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

// Under Wine the Linux reader cannot be started (a Unix process gets no exit code back and mangles
// non-ASCII arguments). Each checked workbook is copied, with its expectation, into the read-back
// folder; the CTest step morvane_app_workbooks compares them natively right after this executable.

namespace {

std::u16string ReadbackFolder() {
    wchar_t value[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"MORVANE_READBACK_DIR", value, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        return std::u16string(reinterpret_cast<const char16_t*>(value), length);
    }
    // CTest runs the tests in the build folder's test-results; the read-back step looks there.
    return u"app-workbooks";
}

void ClearFolder(const std::u16string& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Wide(folder + u"\\*"), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        std::u16string name(reinterpret_cast<const char16_t*>(data.cFileName));
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            DeleteFileW(Wide(folder + u"\\" + name));
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

// Starts every run of the test executable with an empty read-back folder, so stale workbooks of an
// earlier run are never compared.
class ReadbackEnvironment : public testing::Environment {
public:
    void SetUp() override {
        std::u16string folder = ReadbackFolder();
        CreateDirectoryW(Wide(folder), nullptr);
        ClearFolder(folder);
    }
};

const testing::Environment* const kReadbackEnvironment =
    testing::AddGlobalTestEnvironment(new ReadbackEnvironment);

std::string CaseName() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/' || c == '\\') {
            c = '_';
        }
    }
    return name;
}

}  // namespace

void ExpectWorkbook(const std::u16string& path, const WorkbookExpectation& expected) {
    static int sequence = 0;
    std::u16string folder = ReadbackFolder();
    std::string base = CaseName() + "." + std::to_string(++sequence);
    std::u16string wideBase(base.begin(), base.end());
    std::u16string copy = folder + u"\\" + wideBase + u".xlsx";
    ASSERT_TRUE(CopyFileW(Wide(path), Wide(copy), FALSE))
        << "cannot copy the workbook, error " << GetLastError();

    std::string json = expected.ToJson(base + ".xlsx");
    std::u16string jsonPath = folder + u"\\" + wideBase + u".expect.json";
    HANDLE file =
        CreateFileW(Wide(jsonPath), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, json.data(), static_cast<DWORD>(json.size()), &written, nullptr);
    CloseHandle(file);
    EXPECT_EQ(written, json.size());
}
