// A C++ object bound to one HWND, with one virtual window procedure per class.
#pragma once

#include <windows.h>

namespace fw {

class CWnd {
  public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return hwnd_; }
    // The object bound to a window, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Binds this object to an existing window and routes its messages through WindowProc.
    bool SubclassWindow(HWND hwnd);
    // Binds this object to the control with the given id in a dialog (the data-exchange binding).
    bool SubclassDlgItem(int id, HWND parent);
    // Gives the window back its own procedure and unbinds this object.
    HWND UnsubclassWindow();

    // Creates a window of a class whose procedure is StaticWndProc (see RegisterWindowClass).
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  const RECT& rect, HWND parent, UINT_PTR id = 0);
    static ATOM RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background);

    // Asks for WM_MOUSEHOVER (after hoverMs) and WM_MOUSELEAVE; the result of TrackMouseEvent.
    BOOL TrackMouseHoverAndLeave(DWORD hoverMs = 1);

    // Offered every message of a modal loop before dialog navigation; TRUE swallows it.
    virtual BOOL PreTranslateMessage(MSG* msg);

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  protected:
    // Runs while the window is being bound, before any message reaches WindowProc.
    virtual void PreSubclassWindow() {}
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The processing the window would have had without this object.
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // Parent notifications routed to the control object that owns the control.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    // A WM_COMMAND notification about this control; true consumes it before the parent sees it.
    virtual bool OnChildNotify(int code);
    // WM_COMMAND on this window; true when handled.
    virtual bool OnCommand(int id, int code, HWND control);
    // Called after WM_NCDESTROY, when the object is no longer bound.
    virtual void PostNcDestroy() {}

    friend class CDialog;
    void Attach(HWND hwnd, WNDPROC superProc);
    void Detach();

  private:
    HWND hwnd_ = nullptr;
    WNDPROC superProc_ = nullptr;
    bool subclassed_ = false;
};

// Control classes in the framework's manner: the behaviour lives in the derived classes.
class CButton : public CWnd {};
class CStatic : public CWnd {};

}  // namespace fw
