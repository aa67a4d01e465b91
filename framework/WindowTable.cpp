#include "framework/WindowTable.h"

#include <mutex>
#include <new>
#include <shared_mutex>
#include <unordered_map>

namespace fw {
namespace {

// Windows belong to the threads that made them, and any thread may look one up: one lock, held
// only for the map operation itself (never while a window procedure runs).
struct Table {
    std::shared_mutex lock;
    std::unordered_map<HWND, WindowTable::Entry> entries;
};

// Never destroyed: an object with static storage may unbind its window from its destructor at
// exit, after a function-local table would already be gone.
Table& TheTable() {
    alignas(Table) static unsigned char storage[sizeof(Table)];
    static Table* const table = ::new (static_cast<void*>(storage)) Table();
    return *table;
}

}  // namespace

bool WindowTable::Find(HWND hwnd, Entry& entry) {
    if (hwnd == nullptr) {
        return false;
    }
    Table& table = TheTable();
    std::shared_lock guard(table.lock);
    const auto found = table.entries.find(hwnd);
    if (found == table.entries.end()) {
        return false;
    }
    entry = found->second;
    return true;
}

bool WindowTable::Bind(HWND hwnd, CWnd* object) {
    if (hwnd == nullptr || object == nullptr) {
        return false;
    }
    Table& table = TheTable();
    std::unique_lock guard(table.lock);
    Entry& entry = table.entries[hwnd];
    if (entry.object != nullptr && entry.object != object) {
        return false;
    }
    entry.object = object;
    return true;
}

void WindowTable::SetOriginal(HWND hwnd, WNDPROC original) {
    Table& table = TheTable();
    std::unique_lock guard(table.lock);
    table.entries[hwnd].original = original;
}

void WindowTable::Unbind(HWND hwnd, const CWnd* object) {
    Table& table = TheTable();
    std::unique_lock guard(table.lock);
    const auto found = table.entries.find(hwnd);
    if (found == table.entries.end() || found->second.object != object) {
        return;
    }
    if (found->second.original == nullptr) {
        table.entries.erase(found);
    } else {
        found->second.object = nullptr;
    }
}

void WindowTable::Forget(HWND hwnd) {
    Table& table = TheTable();
    std::unique_lock guard(table.lock);
    table.entries.erase(hwnd);
}

}  // namespace fw
