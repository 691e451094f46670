#include "tests/app/ProcessRun.h"

#include <windows.h>

#include <cwchar>

namespace {

// The folder `levels` above the test executable itself.
std::wstring FolderAbove(int levels) {
    wchar_t module[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module, length);
    for (int level = 0; level < levels; ++level) {
        std::size_t slash = path.find_last_of(L"\\/");
        path = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    }
    return path;
}

// The program lies in the build folder; the test executables one folder below it.
std::wstring ExecutablePath() {
    return FolderAbove(2) + L"\\morvane-export.exe";
}

// Quotes one argument so that CommandLineToArgvW gives it back unchanged.
std::wstring Quoted(const std::u16string& argument) {
    std::wstring text(argument.begin(), argument.end());
    if (!text.empty() && text.find_first_of(L" \t\"") == std::wstring::npos) {
        return text;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t unit : text) {
        if (unit == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(unit == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += unit;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

HANDLE TemporaryFile() {
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"mvr", 0, path);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

std::string ReadAll(HANDLE file) {
    std::string content;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        content.append(buffer, count);
    }
    return content;
}

}  // namespace

bool CanRunUnprivileged(std::string& reason) {
    reason = "Windows tests do not change user";
    return false;
}

namespace {

// The test's environment with `changes` applied, as a block for CreateProcessW.
std::wstring EnvironmentBlock(const std::vector<std::pair<std::string, std::u16string>>& changes) {
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        std::wstring text(entry);
        bool replaced = false;
        for (const auto& change : changes) {
            std::wstring name(change.first.begin(), change.first.end());
            replaced = replaced || _wcsnicmp(text.c_str(), (name + L"=").c_str(), name.size() + 1) == 0;
        }
        if (!replaced) {
            block += text + L'\0';
        }
    }
    FreeEnvironmentStringsW(strings);
    for (const auto& [name, value] : changes) {
        if (!value.empty()) {
            block += std::wstring(name.begin(), name.end()) + L"=" +
                     std::wstring(value.begin(), value.end()) + L'\0';
        }
    }
    return block + L'\0';
}

}  // namespace

ProcessResult RunMorvaneExport(const std::vector<std::u16string>& arguments, const RunOptions& options) {
    ProcessResult result;
    std::wstring executable = ExecutablePath();
    std::wstring commandLine = L"\"" + executable + L"\"";
    for (const std::u16string& argument : arguments) {
        commandLine += L" " + Quoted(argument);
    }
    HANDLE out = TemporaryFile();
    HANDLE err = TemporaryFile();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    std::wstring environment = EnvironmentBlock(options.environment);
    std::wstring folder(options.workingFolder.begin(), options.workingFolder.end());
    if (CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                       options.environment.empty() ? nullptr : environment.data(),
                       folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        result.started = true;
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    result.output = ReadAll(out);
    result.errorOutput = ReadAll(err);
    CloseHandle(out);
    CloseHandle(err);
    return result;
}

FileHolder::FileHolder(const std::u16string& folder, const std::u16string& pattern, int holdMs) {
    static LONG sequence = 0;
    const std::wstring event = L"morvane-file-holder-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                               std::to_wstring(InterlockedIncrement(&sequence));
    holding_ = CreateEventW(nullptr, TRUE, FALSE, (event + L"-holding").c_str());
    look_ = CreateEventW(nullptr, FALSE, FALSE, (event + L"-look").c_str());
    const std::wstring executable = FolderAbove(1) + L"\\morvane_file_holder.exe";
    std::wstring commandLine = L"\"" + executable + L"\" " + Quoted(folder) + L" " + Quoted(pattern) + L" " +
                               std::to_wstring(holdMs) + L" " + event + L"-holding " + event + L"-look";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (holding_ != nullptr && look_ != nullptr &&
        CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        process_ = process.hProcess;
    }
}

FileHolder::~FileHolder() {
    End();
    if (process_ != nullptr) {
        CloseHandle(process_);
    }
    for (void* event : {holding_, look_}) {
        if (event != nullptr) {
            CloseHandle(event);
        }
    }
}

bool FileHolder::WaitUntilHolding(int timeoutMs) const {
    if (process_ == nullptr) {
        return false;
    }
    SetEvent(look_);
    // The event, not the process's end, when both are there.
    HANDLE handles[] = {holding_, process_};
    return WaitForMultipleObjects(2, handles, FALSE, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

int FileHolder::WaitForEnd(int timeoutMs) const {
    DWORD code = 0;
    if (process_ == nullptr ||
        WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_, &code)) {
        return -1;
    }
    return static_cast<int>(code);
}

void FileHolder::End() {
    if (process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, INFINITE);
    }
}
