#include "tests/app/ProcessRun.h"

#include <windows.h>

namespace {

// The program lies in the build folder; the test executables one folder below it.
std::wstring ExecutablePath() {
    wchar_t module[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module, length);
    for (int level = 0; level < 2; ++level) {
        std::size_t slash = path.find_last_of(L"\\/");
        path = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    }
    return path + L"\\morvane-export.exe";
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

ProcessResult RunMorvaneExport(const std::vector<std::u16string>& arguments) {
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
    if (CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &process)) {
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
