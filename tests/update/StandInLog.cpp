#include "tests/update/StandInLog.h"

#include "framework/ExecutableDirectory.h"

#include <filesystem>
#include <fstream>

std::wstring TestBinDirectory() {
    return fw::PathNextToExecutable(L"\\");
}

std::wstring StandInDirectory(const wchar_t* variant) {
    return TestBinDirectory() + L"standin\\" + variant + L"\\";
}

std::wstring StandInLibrary(const wchar_t* variant) {
    return StandInDirectory(variant) + L"versync.dll";
}

std::vector<RecordedCall> ReadCalls(const std::wstring& folder, bool withLoads) {
    std::vector<RecordedCall> calls;
    std::ifstream log(std::filesystem::path(folder + L"calls.log"));
    std::string line;
    while (std::getline(log, line)) {
        const std::size_t at = line.rfind(" @");
        RecordedCall call;
        call.call = line.substr(0, at);
        if (at != std::string::npos) {
            call.thread = static_cast<DWORD>(std::stoul(line.substr(at + 2)));
        }
        if (withLoads || call.call != "loaded") {
            calls.push_back(call);
        }
    }
    return calls;
}

std::vector<std::string> CallTexts(const std::vector<RecordedCall>& calls) {
    std::vector<std::string> texts;
    for (const RecordedCall& call : calls) {
        texts.push_back(call.call);
    }
    return texts;
}

void ClearCalls(const std::wstring& folder) {
    ::DeleteFileW((folder + L"calls.log").c_str());
}

bool WaitForCall(const std::wstring& folder, const std::string& prefix, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    do {
        for (const RecordedCall& call : ReadCalls(folder)) {
            if (call.call.rfind(prefix, 0) == 0) {
                return true;
            }
        }
        ::Sleep(20);
    } while (::GetTickCount64() < deadline);
    return false;
}
