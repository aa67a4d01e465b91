// Drives a running Velmora through a list of steps in one process, so a scenario costs one
// helper start under Wine instead of one per message.
//
//   pagedriver LOGPATH STEP...
//
// Steps:
//   start                        waits (60 s) for the main window to be visible
//   LABEL:MSG:WPARAM:LPARAM[:MS] posts the message to the main window; MS gives a message box
//                                the step may show that long to appear (default 50 ms); a
//                                LABEL starting "open-" gets 3 s to show exactly one page
//   close                        posts the close button's command and waits for the window to go
//   linear-gamma                 puts the screen's gamma ramp back to linear (entry i = i * 257)
//
// After each step the helper waits until the program's thread takes messages again (a sent
// WM_NULL returns), then presses OK on every message box of the program, one after the other,
// and closes the question that follows a display-mode change (which puts the mode back).
// Before each step it appends "mark LABEL" to the log, and for each box "box LABEL HEXTEXT"
// (UTF-8 bytes as hex), for each question "question LABEL", and after it "pages LABEL N" with
// the number of visible pages, so the simulated adapter's call log shows which calls and boxes
// belong to which step. The same lines go to stdout.
//
// Exit codes: 0 every step done; 3 the program stopped taking messages; 4 the main window
// vanished before close; 5 no main window; 6 the gamma ramp could not be set; 2 bad arguments.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/support/MessageBoxes.h"

namespace {

constexpr wchar_t kMainClass[] = L"TALVANE_DLG";
constexpr wchar_t kQuestionClass[] = L"VelmoraKeepMode";
constexpr int kCloseButton = 1002;  // IDC_CLOSE_BUTTON
constexpr UINT kSettleTimeoutMs = 20000;
// The program's thread may answer the settling WM_NULL before a box it is about to show is on
// screen (while it waits on a call into another thread): a box is looked for a while longer.
constexpr DWORD kBoxGraceMs = 50;
constexpr DWORD kPageShowMs = 3000;

std::wstring g_logPath;

std::string Utf8(const std::wstring& text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          length, nullptr, nullptr);
    return bytes;
}

std::string Hex(const std::string& bytes) {
    std::string hex;
    char pair[4];
    for (unsigned char c : bytes) {
        std::snprintf(pair, sizeof(pair), "%02x", c);
        hex += pair;
    }
    return hex;
}

void Record(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    HANDLE file =
        ::CreateFileW(g_logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

// Presses OK on the box and waits (5 s) until it is gone.
bool Dismiss(HWND box, const std::string& label) {
    Record("box " + label + " " + Hex(Utf8(testkit::MessageBoxText(box))));
    testkit::PressOk(box);
    for (int i = 0; i < 100 && ::IsWindow(box) && ::IsWindowVisible(box); ++i) {
        ::Sleep(50);
    }
    return !::IsWindow(box) || !::IsWindowVisible(box);
}

HWND ProgramQuestion(DWORD pid) {
    HWND question = ::FindWindowW(kQuestionClass, nullptr);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(question, &owner);
    return question != nullptr && owner == pid ? question : nullptr;
}

// Closes the question (no answer keeps a mode) and waits (5 s) until it is gone.
bool CloseQuestion(HWND question, const std::string& label) {
    Record("question " + label);
    ::PostMessageW(question, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && ::IsWindow(question); ++i) {
        ::Sleep(50);
    }
    return !::IsWindow(question);
}

// Waits until the window's thread takes messages again, then dismisses its boxes and its
// question. False when the thread does not answer.
bool Settle(HWND main, DWORD pid, const std::string& label, DWORD graceMs = kBoxGraceMs) {
    for (int boxes = 0; boxes < 8; ++boxes, graceMs = kBoxGraceMs) {
        DWORD_PTR result = 0;
        if (::IsWindow(main) &&
            !::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kSettleTimeoutMs, &result)) {
            return false;
        }
        HWND box = nullptr;
        HWND question = nullptr;
        const ULONGLONG deadline = ::GetTickCount64() + graceMs;
        while ((box = testkit::FindMessageBox(pid)) == nullptr &&
               (question = ProgramQuestion(pid)) == nullptr && ::GetTickCount64() < deadline) {
            ::Sleep(25);
        }
        if (question != nullptr) {
            if (!CloseQuestion(question, label)) {
                return false;
            }
            continue;
        }
        if (box == nullptr) {
            return true;
        }
        if (!Dismiss(box, label)) {
            return false;
        }
    }
    return true;
}

// Waits for the visible main window, pressing OK on any box the start shows meanwhile (the
// driver message comes before the window).
HWND WaitForMain() {
    const ULONGLONG deadline = ::GetTickCount64() + 60000;
    while (::GetTickCount64() < deadline) {
        HWND main = ::FindWindowW(kMainClass, nullptr);
        if (main != nullptr && ::IsWindowVisible(main)) {
            return main;
        }
        if (HWND box = testkit::FindMessageBox(0)) {
            Dismiss(box, "start");
        }
        ::Sleep(50);
    }
    return nullptr;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t begin = 0;
    for (;;) {
        const size_t end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end - begin));
        if (end == std::wstring::npos) {
            return parts;
        }
        begin = end + 1;
    }
}

// The pages on screen: visible dialogs among the main window's direct children.
int VisiblePages(HWND main) {
    return testkit::ChildDialogCount(main, true);
}

bool SetLinearGamma() {
    WORD ramp[3 * 256];
    for (int i = 0; i < 3 * 256; ++i) {
        ramp[i] = static_cast<WORD>((i % 256) * 257);
    }
    HDC screen = ::GetDC(nullptr);
    const bool set = screen != nullptr && ::SetDeviceGammaRamp(screen, ramp);
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return set;
}

long long Number(const std::wstring& text) {
    return std::wcstoll(text.c_str(), nullptr, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "pagedriver LOGPATH STEP...\n");
        return 2;
    }
    g_logPath = argv[1];
    HWND main = nullptr;
    DWORD pid = 0;
    for (int i = 2; i < argc; ++i) {
        const std::wstring step = argv[i];
        const std::vector<std::wstring> parts = Split(step, L':');
        const std::string label = Utf8(parts[0]);
        if (step == L"linear-gamma") {
            if (!SetLinearGamma()) {
                return 6;
            }
            continue;
        }
        Record("mark " + label);
        if (step == L"start") {
            main = WaitForMain();
            if (main == nullptr) {
                Record("nowindow start");
                return 5;
            }
            ::GetWindowThreadProcessId(main, &pid);
            if (!Settle(main, pid, label)) {
                Record("hang " + label);
                return 3;
            }
            continue;
        }
        if (main == nullptr || !::IsWindow(main)) {
            Record("gone " + label);
            return 4;
        }
        if (step == L"close") {
            ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(kCloseButton, BN_CLICKED), 0);
            const ULONGLONG deadline = ::GetTickCount64() + 30000;
            while (::IsWindow(main) && ::GetTickCount64() < deadline) {
                if (HWND box = testkit::FindMessageBox(pid)) {
                    Dismiss(box, label);
                }
                ::Sleep(50);
            }
            if (::IsWindow(main)) {
                Record("hang close");
                return 3;
            }
            continue;
        }
        if (parts.size() != 4 && parts.size() != 5) {
            std::fprintf(stderr, "pagedriver: bad step\n");
            return 2;
        }
        ::PostMessageW(main, static_cast<UINT>(Number(parts[1])),
                       static_cast<WPARAM>(Number(parts[2])),
                       static_cast<LPARAM>(Number(parts[3])));
        const DWORD graceMs =
            parts.size() == 5 ? static_cast<DWORD>(Number(parts[4])) : kBoxGraceMs;
        if (!Settle(main, pid, label, graceMs)) {
            Record(::IsWindow(main) ? "hang " + label : "gone " + label);
            return ::IsWindow(main) ? 3 : 4;
        }
        // The thread may have answered the WM_NULL from a call nested in its start, before it
        // took the posted message: a step that opens a page gets time to show it.
        const ULONGLONG deadline = ::GetTickCount64() + kPageShowMs;
        while (label.rfind("open-", 0) == 0 && VisiblePages(main) != 1 &&
               ::GetTickCount64() < deadline) {
            ::Sleep(25);
        }
        Record("pages " + label + " " + std::to_string(VisiblePages(main)));
    }
    return 0;
}
