// A recording stand-in of the update library (and of the identity library's entry point): every
// call it receives is appended, with its arguments and the calling thread, to "calls.log" next to
// the DLL. Loading the DLL is recorded too, so a test can prove a library was never loaded.
// Built twice: complete, and VERSYNC_STAND_IN_PARTIAL without UCSetMachineId and with an identity
// entry that fails.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

HMODULE g_self = nullptr;

void Record(const char* format, ...) {
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof(line), format, arguments);
    va_end(arguments);

    wchar_t path[MAX_PATH];
    const DWORD pathLength = ::GetModuleFileNameW(g_self, path, MAX_PATH);
    if (pathLength == 0 || pathLength >= MAX_PATH) {
        return;
    }
    std::wstring logPath(path, pathLength);
    logPath.erase(logPath.find_last_of(L'\\') + 1);
    logPath += L"calls.log";
    HANDLE file =
        ::CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    char text[1100];
    std::snprintf(text, sizeof(text), "%s @%lu\n", line,
                  static_cast<unsigned long>(::GetCurrentThreadId()));
    DWORD written = 0;
    ::WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    ::CloseHandle(file);
}

// A text argument as the log shows it: quoted, or null.
const char* Quote(const char* text, char (&buffer)[600]) {
    if (text == nullptr) {
        return "null";
    }
    std::snprintf(buffer, sizeof(buffer), "\"%s\"", text);
    return buffer;
}

void RecordText(const char* entry, const char* text) {
    char quoted[600];
    Record("%s(%s)", entry, Quote(text, quoted));
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        Record("loaded");
    }
    return TRUE;
}

__declspec(dllexport) void WINAPI UCSetProcessRootPath(const char* text) {
    RecordText("UCSetProcessRootPath", text);
}
__declspec(dllexport) void WINAPI UCSetProcessFileName(const char* text) {
    RecordText("UCSetProcessFileName", text);
}
__declspec(dllexport) void WINAPI UCSetUpdateRootPath(const char* text) {
    RecordText("UCSetUpdateRootPath", text);
}
__declspec(dllexport) void WINAPI UCSetUpdateFileName(const char* text) {
    RecordText("UCSetUpdateFileName", text);
}
__declspec(dllexport) void WINAPI UCSetUpdateCfgFileName(const char* text) {
    RecordText("UCSetUpdateCfgFileName", text);
}
__declspec(dllexport) void WINAPI UCSetSoftwareMark(const char* text) {
    RecordText("UCSetSoftwareMark", text);
}
#ifndef VERSYNC_STAND_IN_PARTIAL
__declspec(dllexport) void WINAPI UCSetMachineId(const char* text) {
    RecordText("UCSetMachineId", text);
}
#endif
__declspec(dllexport) void WINAPI UCSetUnionID(int value) {
    Record("UCSetUnionID(%d)", value);
}
__declspec(dllexport) void WINAPI UCSetUpdateServer(const char* address, int port) {
    char quoted[600];
    Record("UCSetUpdateServer(%s, %d)", Quote(address, quoted), port);
}
__declspec(dllexport) void WINAPI UCManualVersync() {
    Record("UCManualVersync()");
}
__declspec(dllexport) void WINAPI UCAutoVersync() {
    Record("UCAutoVersync()");
}
__declspec(dllexport) void WINAPI UCStopVersync() {
    Record("UCStopVersync()");
}

// The identity library's entry point, so the same DLL can stand in (or be planted) for both.
__declspec(dllexport) int WINAPI MIGetIdentify(char* buffer, int length) {
    Record("MIGetIdentify(%d)", length);
#ifdef VERSYNC_STAND_IN_PARTIAL
    static_cast<void>(buffer);
    return 0;
#else
    static const char kIdentity[] = "STANDIN0001";
    constexpr int kLength = static_cast<int>(sizeof(kIdentity)) - 1;
    if (buffer == nullptr || length < kLength) {
        return 0;
    }
    std::memcpy(buffer, kIdentity, sizeof(kIdentity));
    return kLength;
#endif
}

}  // extern "C"
