// Drives a running Morvane.exe from a second process, as a user would through the window: finds the
// main form by its title, types folders into the path box, presses the buttons, reads the status line,
// and closes the window. Each result goes to a UTF-8 file of `key<TAB>value` lines that the test
// script (morvane_e2e.py) checks natively.
//
//   morvane_e2e_driver MORVANE.EXE RESULTS SIGNAL_DIR MISSING_FOLDER EMPTY_FOLDER FILES_FOLDER
//
// Before closing the window it creates SIGNAL_DIR\ready and waits for SIGNAL_DIR\shot (the script's
// screenshot), at most a minute.
#include <windows.h>

#include <cstdio>
#include <iterator>
#include <string>

namespace {

constexpr wchar_t kTitle[] = L"Morvane - 免费 绿色 极速";
constexpr int kStatusLabelId = 101;
constexpr int kGenerateButtonId = 102;
constexpr int kSubfoldersCheckBoxId = 103;
constexpr int kChooseFolderButtonId = 104;
constexpr int kPathBoxId = 105;
constexpr int kDescriptionLabelId = 106;
constexpr UINT kMessageTimeoutMs = 120000;  // an export of a small folder takes far less

FILE* results = nullptr;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

void Report(const char* key, const std::wstring& value) {
    std::fprintf(results, "%s\t%s\n", key, Utf8(value).c_str());
    std::fflush(results);
}

void Report(const char* key, unsigned long long value) {
    Report(key, std::to_wstring(value));
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                             SMTO_NORMAL, kMessageTimeoutMs, &copied)) {
        return L"<no answer>";
    }
    return std::wstring(buffer, copied);
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer = nullptr) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kMessageTimeoutMs,
                               answer != nullptr ? answer : &ignored) != 0;
}

HWND WaitForMainForm(DWORD processId) {
    for (int i = 0; i < 600; ++i) {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, nullptr, kTitle)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId && IsWindowVisible(window)) {
                return window;
            }
        }
        Sleep(100);
    }
    return nullptr;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Types `folder` into the path box, presses 生成EXCEL and reports what the status line says.
void Generate(HWND form, const char* key, const std::wstring& folder) {
    Send(GetDlgItem(form, kPathBoxId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    Send(GetDlgItem(form, kGenerateButtonId), BM_CLICK, 0, 0);
    Report(key, TextOf(GetDlgItem(form, kStatusLabelId)));
}

int Drive(wchar_t** argv) {
    const std::wstring morvane = argv[1];
    const std::wstring signalDir = argv[3];
    std::wstring commandLine = L"\"" + morvane + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(morvane.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        Report("error", L"CreateProcessW failed: " + std::to_wstring(GetLastError()));
        return 1;
    }
    CloseHandle(process.hThread);
    const HWND form = WaitForMainForm(process.dwProcessId);
    Report("window", form != nullptr ? 1 : 0);
    if (form == nullptr) {
        TerminateProcess(process.hProcess, 2);
        CloseHandle(process.hProcess);
        return 1;
    }
    RECT client{};
    GetClientRect(form, &client);
    Report("client", std::to_wstring(client.right) + L"x" + std::to_wstring(client.bottom));
    Report("title", TextOf(form));
    Report("description", TextOf(GetDlgItem(form, kDescriptionLabelId)));
    Report("generateButton", TextOf(GetDlgItem(form, kGenerateButtonId)));
    Report("chooseButton", TextOf(GetDlgItem(form, kChooseFolderButtonId)));
    Report("checkBox", TextOf(GetDlgItem(form, kSubfoldersCheckBoxId)));
    Report("statusAtStart", TextOf(GetDlgItem(form, kStatusLabelId)));

    Generate(form, "statusMissing", argv[4]);
    Generate(form, "statusEmpty", argv[5]);
    Generate(form, "statusFlat", argv[6]);
    Send(GetDlgItem(form, kSubfoldersCheckBoxId), BM_CLICK, 0, 0);
    DWORD_PTR checked = 0;
    Send(GetDlgItem(form, kSubfoldersCheckBoxId), BM_GETCHECK, 0, 0, &checked);
    Report("checked", checked);
    Generate(form, "statusDeep", argv[6]);

    // The script takes its screenshot of the window showing the last (green) message.
    CloseHandle(
        CreateFileW((signalDir + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    for (int i = 0; i < 600 && !FileExists(signalDir + L"\\shot"); ++i) {
        Sleep(100);
    }

    PostMessageW(form, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    Report("exited", waited == WAIT_OBJECT_0 ? 1 : 0);
    Report("exitCode", exitCode);
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 3);
    }
    CloseHandle(process.hProcess);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 7) {
        std::fwprintf(stderr,
                      L"usage: morvane_e2e_driver MORVANE.EXE RESULTS SIGNAL_DIR MISSING EMPTY FILES\n");
        return 64;
    }
    results = _wfopen(argv[2], L"wb");
    if (results == nullptr) {
        return 65;
    }
    const int status = Drive(argv);
    Report("done", 1);
    std::fclose(results);
    return status;
}
