#include "app/cli/Console.h"

#include "app/export/filesystem/NameCoding.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <cstdlib>

namespace {

CancelToken* interruptToken = nullptr;

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    // A second Ctrl-C goes on to the default handler, which ends the process.
    return interruptToken->Set() ? TRUE : FALSE;
}

HANDLE HandleOf(Console::Stream stream) {
    return GetStdHandle(stream == Console::Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

}  // namespace

std::vector<std::u16string> Console::Arguments(int, char**) {
    std::vector<std::u16string> arguments;
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (list == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.emplace_back(reinterpret_cast<const char16_t*>(list[i]));
    }
    LocalFree(list);
    return arguments;
}

void Console::Write(Stream stream, std::u16string_view text) {
    HANDLE handle = HandleOf(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    std::string bytes = EncodeUtf8(text);
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool Console::IsTerminal(Stream stream) {
    DWORD mode = 0;
    return GetConsoleMode(HandleOf(stream), &mode) != 0;
}

void Console::SetInterruptToken(CancelToken* token) {
    if (token == nullptr) {
        SetConsoleCtrlHandler(&OnConsoleControl, FALSE);
        return;
    }
    interruptToken = token;
    SetConsoleCtrlHandler(&OnConsoleControl, TRUE);
}

void Console::AnnounceExportStart() {
    wchar_t named[32];
    DWORD length = GetEnvironmentVariableW(L"MORVANE_READY_FD", named, 32);
    if (length == 0 || length >= 32) {
        return;
    }
    wchar_t* end = nullptr;
    unsigned long long value = std::wcstoull(named, &end, 10);
    if (*end != L'\0' || value == 0) {
        return;
    }
    HANDLE handle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
    static constexpr char kLine[] = "ready\n";
    DWORD written = 0;
    if (WriteFile(handle, kLine, sizeof kLine - 1, &written, nullptr)) {
        CloseHandle(handle);
    }
}
