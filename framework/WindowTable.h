// Which object each window of this process is bound to, and the procedure a subclassed window
// had before it was bound. The window procedures look a window up on every message, so the
// table lives in the process: no call into the window system, no property on the window.
#pragma once

#include <windows.h>

namespace fw {

class CWnd;

class WindowTable {
  public:
    struct Entry {
        CWnd* object = nullptr;
        // The procedure found when the framework's subclass procedure was installed; null for
        // windows of the framework's own classes.
        WNDPROC original = nullptr;
    };

    // The entry of a window, or false when the table has none.
    static bool Find(HWND hwnd, Entry& entry);
    // Binds an object to a window; false when another object is bound to it.
    static bool Bind(HWND hwnd, CWnd* object);
    // Records the procedure that the framework's subclass procedure now passes messages on to.
    static void SetOriginal(HWND hwnd, WNDPROC original);
    // Unbinds the object. The entry stays while its subclass procedure is still installed (it
    // then passes every message on to the original procedure).
    static void Unbind(HWND hwnd, const CWnd* object);
    // Drops the entry: the window is gone, or its original procedure is back in place.
    static void Forget(HWND hwnd);
};

}  // namespace fw
