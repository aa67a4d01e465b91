// Loads versync.dll and drives it as the program does, for the loopback tests:
//
//   versync_host.exe LIBRARY UPDATE_FOLDER ADDRESS PORT MODE
//
// MODE "manual" runs one check to its end; "stop" starts one in the background and stops it;
// "exit" starts one, frees the library and leaves main while the check is still running;
// "unload" starts one, frees the library and waits for the check to let it go; "unset" never
// names a server. Prints how long the calls took, in milliseconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using TextEntry = void(WINAPI*)(const char*);
using NumberEntry = void(WINAPI*)(int);
using ServerEntry = void(WINAPI*)(const char*, int);
using ActionEntry = void(WINAPI*)();

constexpr DWORD kWhileRunningMs = 700;
constexpr ULONGLONG kUnloadWaitMs = 30000;

template <typename Entry>
Entry Find(HMODULE library, const char* name) {
    auto entry =
        reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
    if (entry == nullptr) {
        std::printf("missing %s\n", name);
        std::exit(3);
    }
    return entry;
}

// Milliseconds one call takes.
template <typename Call>
unsigned long long Timed(Call call) {
    const ULONGLONG start = ::GetTickCount64();
    call();
    return ::GetTickCount64() - start;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        return 2;
    }
    const char* mode = argv[5];
    HMODULE library = ::LoadLibraryA(argv[1]);
    if (library == nullptr) {
        return 4;
    }
    char root[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, root, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return 5;
    }
    *std::strrchr(root, '\\') = '\0';

    Find<TextEntry>(library, "UCSetProcessRootPath")(root);
    Find<TextEntry>(library, "UCSetProcessFileName")("584Qbmzta7261k.wxyz");
    Find<TextEntry>(library, "UCSetUpdateRootPath")(argv[2]);
    Find<TextEntry>(library, "UCSetUpdateFileName")("TVUpdater.exe");
    Find<TextEntry>(library, "UCSetMachineId")("HOST ID/1");
    Find<NumberEntry>(library, "UCSetUnionID")(8899);
    Find<TextEntry>(library, "UCSetSoftwareMark")("tvcm");
    Find<TextEntry>(library, "UCSetUpdateCfgFileName")("Update.xml");
    if (std::strcmp(mode, "unset") != 0) {
        Find<ServerEntry>(library, "UCSetUpdateServer")(argv[3], std::atoi(argv[4]));
    }
    const auto manual = Find<ActionEntry>(library, "UCManualVersync");
    const auto automatic = Find<ActionEntry>(library, "UCAutoVersync");
    const auto stop = Find<ActionEntry>(library, "UCStopVersync");

    if (std::strcmp(mode, "manual") == 0 || std::strcmp(mode, "unset") == 0) {
        std::printf("manual %llu\n", Timed(manual));
    } else if (std::strcmp(mode, "stop") == 0) {
        std::printf("auto %llu\n", Timed(automatic));
        ::Sleep(kWhileRunningMs);
        std::printf("stop %llu\n", Timed(stop));
    } else if (std::strcmp(mode, "exit") == 0) {
        automatic();
        ::Sleep(kWhileRunningMs);
    } else if (std::strcmp(mode, "unload") == 0) {
        automatic();
        ::Sleep(kWhileRunningMs);
        ::FreeLibrary(library);
        // The running check keeps the library mapped until it has ended.
        std::printf("kept %d\n", ::GetModuleHandleA(argv[1]) != nullptr ? 1 : 0);
        const ULONGLONG start = ::GetTickCount64();
        while (::GetModuleHandleA(argv[1]) != nullptr &&
               ::GetTickCount64() - start < kUnloadWaitMs) {
            ::Sleep(50);
        }
        std::printf("unloaded %llu\n", ::GetTickCount64() - start);
        std::printf("gone %d\n", ::GetModuleHandleA(argv[1]) == nullptr ? 1 : 0);
        return 0;
    } else {
        return 2;
    }
    std::printf("free %llu\n", Timed([library] { ::FreeLibrary(library); }));
    std::fflush(stdout);
    return 0;
}
