#include "tests/support/MessageBoxes.h"

#include <chrono>
#include <cwchar>

namespace testkit {

namespace {

constexpr int kTextStatic = 0xFFFF;

bool IsDialog(HWND hwnd) {
    wchar_t className[16] = {};
    ::GetClassNameW(hwnd, className, 16);
    return std::wcscmp(className, L"#32770") == 0;
}

struct BoxSearch {
    DWORD process;
    const std::set<HWND>* skip;
    HWND found;
};

BOOL CALLBACK MatchMessageBox(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if (!IsDialog(hwnd) || !::IsWindowVisible(hwnd) || ::GetDlgItem(hwnd, kTextStatic) == nullptr ||
        (search->process != 0 && process != search->process) || search->skip->count(hwnd) != 0) {
        return TRUE;
    }
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindMessageBox(DWORD process, const std::set<HWND>& skip) {
    BoxSearch search{process, &skip, nullptr};
    ::EnumWindows(&MatchMessageBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[512] = {};
    ::GetDlgItemTextW(box, kTextStatic, text, 512);
    return text;
}

void PressOk(HWND box) {
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
}

int ChildDialogCount(HWND parent, bool visibleOnly) {
    int count = 0;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        count += IsDialog(child) && (!visibleOnly || ::IsWindowVisible(child)) ? 1 : 0;
    }
    return count;
}

MessageBoxDismisser::MessageBoxDismisser() : watcher_([this] { Watch(); }) {}

MessageBoxDismisser::~MessageBoxDismisser() {
    stop_ = true;
    watcher_.join();
}

std::vector<std::wstring> MessageBoxDismisser::Texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

void MessageBoxDismisser::Watch() {
    std::set<HWND> handled;
    while (!stop_) {
        if (HWND box = FindMessageBox(::GetCurrentProcessId(), handled)) {
            std::wstring text = MessageBoxText(box);
            PressOk(box);
            handled.insert(box);
            std::lock_guard<std::mutex> lock(mutex_);
            texts_.push_back(std::move(text));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace testkit
