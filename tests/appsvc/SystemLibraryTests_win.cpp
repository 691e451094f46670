#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "appsvc/DllSearchRestriction.h"
#include "appsvc/SystemLibrary.h"

// A DLL planted beside the test executable under a name of its own (the marker DLL of the end-to-end
// test, which creates "<its path>.loaded" when it runs), as a web page can drop one into Downloads.

namespace {

std::wstring Widen(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return std::wstring(path, length);
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class PlantedDll : public ::testing::Test {
protected:
    void SetUp() override {
        // One name for the test and its child processes, which set the fixture up again.
        name_ = L"morvane-planted.dll";
        path_ = FolderOf(ModulePath(nullptr)) + L"\\" + name_;
        ASSERT_TRUE(CopyFileW(Widen(MORVANE_MARKER_DLL).c_str(), path_.c_str(), FALSE)) << GetLastError();
    }
    void TearDown() override {
        DeleteFileW(path_.c_str());
        DeleteFileW((path_ + L".loaded").c_str());
    }

    std::wstring name_;
    std::wstring path_;
};

}  // namespace

TEST(SystemLibrary, LoadsASystemDllFromTheSystemFolder) {
    HMODULE module = LoadSystemLibrary(L"hid.dll");
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_EQ(
        CompareStringOrdinal(FolderOf(ModulePath(module)).c_str(), -1, SystemFolder().c_str(), -1, TRUE),
        CSTR_EQUAL)
        << ModulePath(module).c_str();
    FreeLibrary(module);
}

TEST_F(PlantedDll, IsNeverLoadedAsASystemDll) {
    EXPECT_EQ(LoadSystemLibrary(name_.c_str()), nullptr);
    EXPECT_FALSE(Exists(path_ + L".loaded"));
}

// The restriction lasts for the rest of the process, so each case runs in a child process of its own.
TEST_F(PlantedDll, IsFoundByItsNameUntilTheSearchIsRestricted) {
    const auto loadedByName = [this] { std::exit(LoadLibraryW(name_.c_str()) != nullptr ? 1 : 0); };
    EXPECT_EXIT(loadedByName(), testing::ExitedWithCode(1), "");
    EXPECT_TRUE(Exists(path_ + L".loaded"));  // what a missing restriction lets happen
    DeleteFileW((path_ + L".loaded").c_str());

    EXPECT_EXIT(
        {
            if (!RestrictDllSearch()) {
                std::exit(2);
            }
            loadedByName();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_FALSE(Exists(path_ + L".loaded"));
}
