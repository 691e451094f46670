// Drives a running Morvane.exe from a second process, as a user would through the window: finds the
// main form by its title, types folders into the path box, presses the buttons, reads the status line,
// and closes the window. Each result goes to a UTF-8 file of `key<TAB>value` lines that the test
// script (morvane_e2e.py) checks natively.
//
//   morvane_e2e_driver MORVANE.EXE RESULTS SIGNAL_DIR MISSING_FOLDER EMPTY_FOLDER FILES_FOLDER
//                      START_FOLDER START_FILE [MANY_FILES]
//
// Then it starts Morvane.exe twice more, as Explorer does for a drop on the program's icon: with
// START_FILE as the argument, and with START_FOLDER, which it then exports. Before closing that window
// it creates SIGNAL_DIR\ready and waits for SIGNAL_DIR\shot (the script's screenshot), at most a
// minute. With MANY_FILES (a folder of many files) a further Morvane.exe then exports it while the
// driver keeps asking the window, cancels an export with "取消" and closes the window in the middle of
// one.
//
// After the first green status line the driver clicks it: the script has registered this program as
// the one that opens .xlsx files in the test's Wine prefix, started as
//
//   morvane_e2e_driver --record FILE WORKBOOK
//
// which writes WORKBOOK into FILE (UTF-8) and ends; the driver reports what arrived.
#include <windows.h>

#include <algorithm>
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

// The status line once the export has ended: it reads "正在..." while the export runs.
std::wstring OutcomeOf(HWND form) {
    std::wstring status;
    for (UINT waited = 0; waited < kMessageTimeoutMs; waited += 50) {
        status = TextOf(GetDlgItem(form, kStatusLabelId));
        if (status.rfind(L"正在", 0) != 0) {
            break;
        }
        Sleep(50);
    }
    return status;
}

// Types `folder` into the path box, presses 生成EXCEL and reports what the status line says in the end.
void Generate(HWND form, const char* key, const std::wstring& folder) {
    Send(GetDlgItem(form, kPathBoxId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    Send(GetDlgItem(form, kGenerateButtonId), BM_CLICK, 0, 0);
    Report(key, OutcomeOf(form));
}

// Starts Morvane.exe with `argument` (none when empty) quoted as Explorer quotes it.
bool Start(const std::wstring& morvane, const std::wstring& argument, PROCESS_INFORMATION& process) {
    std::wstring commandLine = L"\"" + morvane + L"\"";
    if (!argument.empty()) {
        commandLine += L" \"" + argument + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(morvane.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        Report("error", L"CreateProcessW failed: " + std::to_wstring(GetLastError()));
        return false;
    }
    CloseHandle(process.hThread);
    return true;
}

// Starts Morvane.exe with `argument` and waits for its window, reporting under `windowKey` whether it
// came; without one the process is ended and its handle closed, and the result is null.
HWND StartWithWindow(const std::wstring& morvane, const std::wstring& argument, PROCESS_INFORMATION& process,
                     const char* windowKey) {
    if (!Start(morvane, argument, process)) {
        return nullptr;
    }
    const HWND form = WaitForMainForm(process.dwProcessId);
    Report(windowKey, form != nullptr ? 1 : 0);
    if (form == nullptr) {
        TerminateProcess(process.hProcess, 2);
        CloseHandle(process.hProcess);
    }
    return form;
}

// Closes the window and reports, under `key`, whether the program ended and with what exit code.
void CloseAndReport(HWND form, PROCESS_INFORMATION& process, const std::string& key) {
    PostMessageW(form, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    Report((key + "Exited").c_str(), waited == WAIT_OBJECT_0 ? 1 : 0);
    Report((key + "ExitCode").c_str(), exitCode);
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 3);
    }
    CloseHandle(process.hProcess);
}

// Morvane.exe started with a file, then with a folder, as a drop on its icon starts it: the path box
// shows the folder exactly as given, or stays empty for the file, and nothing is written until the
// button is pressed. The folder is then exported and the window kept for the script's screenshot.
void StartWithArguments(const std::wstring& morvane, const std::wstring& signalDir,
                        const std::wstring& folder, const std::wstring& file) {
    const std::wstring workbook = folder + L"\\文件清单_.xlsx";
    PROCESS_INFORMATION process{};
    HWND form = StartWithWindow(morvane, file, process, "fileArgumentWindow");
    if (form == nullptr) {
        return;
    }
    Report("fileArgumentPathBox", TextOf(GetDlgItem(form, kPathBoxId)));
    Report("fileArgumentStatus", TextOf(GetDlgItem(form, kStatusLabelId)));
    CloseAndReport(form, process, "fileArgument");

    form = StartWithWindow(morvane, folder, process, "folderArgumentWindow");
    if (form == nullptr) {
        return;
    }
    Report("folderArgumentPathBox", TextOf(GetDlgItem(form, kPathBoxId)));
    Report("folderArgumentStatus", TextOf(GetDlgItem(form, kStatusLabelId)));
    Report("folderArgumentWorkbookBeforePress", FileExists(workbook) ? 1 : 0);
    Send(GetDlgItem(form, kGenerateButtonId), BM_CLICK, 0, 0);
    Report("folderArgumentStatusAfterPress", OutcomeOf(form));

    // The script takes its screenshot of the window showing the (green) message.
    CloseHandle(
        CreateFileW((signalDir + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    for (int i = 0; i < 600 && !FileExists(signalDir + L"\\shot"); ++i) {
        Sleep(100);
    }
    CloseAndReport(form, process, "folderArgument");
}

// Clicks the status line as the mouse would and waits, at most a minute, for the program registered for
// .xlsx to say which file it was started with.
void ClickStatusAndReport(HWND form, const std::wstring& signalDir) {
    const HWND status = GetDlgItem(form, kStatusLabelId);
    RECT client{};
    GetClientRect(status, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    Send(status, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    Send(status, WM_LBUTTONUP, 0, middle);
    const std::wstring record = signalDir + L"\\opened.txt";
    for (int i = 0; i < 600 && !FileExists(record); ++i) {
        Sleep(100);
    }
    std::string opened;
    for (int i = 0; i < 50 && opened.empty(); ++i) {  // the file may exist a moment before its text
        if (FILE* file = _wfopen(record.c_str(), L"rb")) {
            char buffer[2048];
            opened.assign(buffer, std::fread(buffer, 1, sizeof buffer, file));
            std::fclose(file);
        }
        if (opened.empty()) {
            Sleep(100);
        }
    }
    std::fprintf(results, "openedWorkbook\t%s\n", opened.empty() ? "<nothing started>" : opened.c_str());
    std::fflush(results);
    Report("statusAfterOpening", TextOf(status));
}

// The program Windows starts for a workbook, in the test's prefix: keeps the path it was given.
int Record(const wchar_t* file, const wchar_t* workbook) {
    FILE* out = _wfopen(file, L"wb");
    if (out == nullptr) {
        return 65;
    }
    const std::string text = Utf8(workbook);
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    return 0;
}

int Drive(wchar_t** argv) {
    const std::wstring morvane = argv[1];
    PROCESS_INFORMATION process{};
    const HWND form = StartWithWindow(morvane, L"", process, "window");
    if (form == nullptr) {
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
    ClickStatusAndReport(form, argv[3]);
    Send(GetDlgItem(form, kSubfoldersCheckBoxId), BM_CLICK, 0, 0);
    DWORD_PTR checked = 0;
    Send(GetDlgItem(form, kSubfoldersCheckBoxId), BM_GETCHECK, 0, 0, &checked);
    Report("checked", checked);
    Generate(form, "statusDeep", argv[6]);

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

// The long export: a folder of many files, during which the window must keep answering.

constexpr UINT kAnswerTimeoutMs = 500;  // what the system waits before it calls a window hung

std::wstring QuickTextOf(HWND window, bool& answered) {
    wchar_t buffer[256] = {};
    DWORD_PTR copied = 0;
    answered = SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                                   SMTO_NORMAL, kAnswerTimeoutMs, &copied) != 0;
    return answered ? std::wstring(buffer, copied) : std::wstring();
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool HasDigit(const std::wstring& text) {
    return text.find_first_of(L"0123456789") != std::wstring::npos;
}

// What the driver saw while one export ran, asking the window every 50 ms with the system's 500 ms.
struct ExportWatch {
    int questions = 0;
    int unanswered = 0;
    ULONGLONG slowestAnswerMs = 0;
    ULONGLONG durationMs = 0;
    bool progressSeen = false;  // "正在..." with a figure
    bool cancelButtonSeen = false;
    std::wstring lastStatus;
};

// Asks the window until the status line no longer starts with "正在" (or `stopAtProgress` and it shows
// a figure), at most two minutes.
ExportWatch WatchExport(HWND form, bool stopAtProgress) {
    ExportWatch watch;
    const ULONGLONG started = GetTickCount64();
    const ULONGLONG deadline = started + kMessageTimeoutMs;
    while (GetTickCount64() < deadline) {
        DWORD_PTR ignored = 0;
        ++watch.questions;
        const ULONGLONG asked = GetTickCount64();
        if (SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &ignored) == 0) {
            ++watch.unanswered;
        }
        watch.slowestAnswerMs = std::max(watch.slowestAnswerMs, GetTickCount64() - asked);
        bool answered = false;
        const std::wstring button = QuickTextOf(GetDlgItem(form, kGenerateButtonId), answered);
        watch.cancelButtonSeen = watch.cancelButtonSeen || button == L"取消";
        const std::wstring status = QuickTextOf(GetDlgItem(form, kStatusLabelId), answered);
        watch.unanswered += answered ? 0 : 1;
        if (answered) {
            watch.lastStatus = status;
            if (!StartsWith(status, L"正在")) {
                break;
            }
            if (HasDigit(status)) {
                watch.progressSeen = true;
                if (stopAtProgress) {
                    break;
                }
            }
        }
        Sleep(50);
    }
    watch.durationMs = GetTickCount64() - started;
    return watch;
}

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

// Temporary files of the export left in `folder`.
unsigned long long StrayFiles(const std::wstring& folder) {
    unsigned long long count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\~文件清单_*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            ++count;
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return count;
}

// Exports the many-files folder to its end, then once cancelled with "取消", then once more closing
// the window mid-export, in a Morvane.exe of its own. Keys start with "long", "cancel" and "close".
void DriveLongExport(const std::wstring& morvane, const std::wstring& folder) {
    PROCESS_INFORMATION process{};
    const HWND form = StartWithWindow(morvane, L"", process, "longWindow");
    if (form == nullptr) {
        return;
    }
    const std::wstring workbook = folder + L"\\文件清单_.xlsx";
    const HWND generate = GetDlgItem(form, kGenerateButtonId);
    Send(GetDlgItem(form, kPathBoxId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));

    ULONGLONG pressed = GetTickCount64();
    Send(generate, BM_CLICK, 0, 0);
    Report("longClickAnswered", GetTickCount64() - pressed < kAnswerTimeoutMs ? 1 : 0);
    const ExportWatch whole = WatchExport(form, false);
    Report("longQuestions", whole.questions > 0 ? 1 : 0);
    // Figures only: how long the export took and the slowest answer to a question.
    Report("longDurationMs", whole.durationMs);
    Report("longSlowestAnswerMs", whole.slowestAnswerMs);
    Report("longQuestionCount", static_cast<unsigned long long>(whole.questions));
    Report("longUnanswered", static_cast<unsigned long long>(whole.unanswered));
    Report("longProgressSeen", whole.progressSeen ? 1 : 0);
    Report("longCancelButton", whole.cancelButtonSeen ? 1 : 0);
    Report("longStatus", whole.lastStatus);
    Report("longButtonAfter", TextOf(generate));

    const std::string earlier = ReadBytes(workbook);
    Send(generate, BM_CLICK, 0, 0);
    const ExportWatch beforeCancel = WatchExport(form, true);
    Report("cancelPressedDuringProgress", beforeCancel.progressSeen ? 1 : 0);
    Send(generate, BM_CLICK, 0, 0);  // reads "取消"
    const ExportWatch cancelled = WatchExport(form, false);
    Report("cancelUnanswered",
           static_cast<unsigned long long>(beforeCancel.unanswered + cancelled.unanswered));
    Report("cancelStatus", cancelled.lastStatus);
    Report("cancelButtonAfter", TextOf(generate));
    Report("cancelWorkbookKept", !earlier.empty() && ReadBytes(workbook) == earlier ? 1 : 0);
    Report("cancelStray", StrayFiles(folder));

    Send(generate, BM_CLICK, 0, 0);
    const ExportWatch beforeClose = WatchExport(form, true);
    Report("closeDuringProgress", beforeClose.progressSeen ? 1 : 0);
    const ULONGLONG closed = GetTickCount64();
    PostMessageW(form, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    Report("closeToExitMs", GetTickCount64() - closed);  // a figure only
    Report("closeExited", waited == WAIT_OBJECT_0 ? 1 : 0);
    Report("closeExitCode", exitCode);
    Report("closeWorkbookKept", !earlier.empty() && ReadBytes(workbook) == earlier ? 1 : 0);
    Report("closeStray", StrayFiles(folder));
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 3);
    }
    CloseHandle(process.hProcess);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"--record") {
        return Record(argv[2], argv[3]);
    }
    if (argc != 9 && argc != 10) {
        std::fwprintf(stderr,
                      L"usage: morvane_e2e_driver MORVANE.EXE RESULTS SIGNAL_DIR MISSING EMPTY FILES "
                      L"START_FOLDER START_FILE [MANY_FILES]\n");
        return 64;
    }
    results = _wfopen(argv[2], L"wb");
    if (results == nullptr) {
        return 65;
    }
    const int status = Drive(argv);
    StartWithArguments(argv[1], argv[3], argv[7], argv[8]);
    if (argc == 10) {
        DriveLongExport(argv[1], argv[9]);
    }
    Report("done", 1);
    std::fclose(results);
    return status;
}
