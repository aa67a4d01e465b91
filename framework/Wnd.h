// A C++ object bound to one HWND. WindowProc decodes each message once into a typed handler;
// a handler returns true when it handled the message, anything else reaches the default
// procedure.
#pragma once

#include <windows.h>

namespace fw {

// The signed client point a mouse message carries in its lParam.
constexpr POINT PointFromLParam(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

class CWnd {
  public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return hwnd_; }
    // The object bound to a window, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Binds this object to an existing window, whose procedure then sees each message after
    // this object's handlers; false when either is bound.
    [[nodiscard]] bool SubclassWindow(HWND hwnd);
    // Binds this object to the control with the given id in a dialog (the data-exchange binding).
    [[nodiscard]] bool SubclassDlgItem(int id, HWND parent);
    // Removes this object's subclass (other subclasses stay) and unbinds it.
    HWND UnsubclassWindow();

    // Creates a window of a class whose procedure is StaticWndProc (see RegisterWindowClass).
    [[nodiscard]] bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                                DWORD style, const RECT& rect, HWND parent, UINT_PTR id = 0);
    static ATOM RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background);

    // Asks for WM_MOUSEHOVER (after hoverMs) and WM_MOUSELEAVE; the result of TrackMouseEvent.
    BOOL TrackMouseHoverAndLeave(DWORD hoverMs = 1);

    // Offered every message of a modal loop before dialog navigation; TRUE swallows it.
    virtual BOOL PreTranslateMessage(MSG* msg);

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  protected:
    // Runs while the window is being bound, before any message reaches WindowProc.
    virtual void PreSubclassWindow() {}
    // Derived classes handle their private messages here and pass the rest on; this one decodes
    // the standard messages into the handlers below.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The processing the window would have had without this object.
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Inside a typed handler: the default processing of the message being handled.
    LRESULT Default();

    // Typed handlers: true when handled. A handled message answers 0, except WM_ERASEBKGND and
    // WM_SETTEXT, which answer TRUE.
    virtual bool OnMouseMove(UINT keys, POINT point);
    virtual bool OnLButtonDown(UINT keys, POINT point);
    virtual bool OnLButtonUp(UINT keys, POINT point);
    virtual bool OnLButtonDblClk(UINT keys, POINT point);
    virtual bool OnMouseHover(UINT keys, POINT point);
    virtual bool OnMouseLeave();
    // The mouse capture went to another window (null when simply released).
    virtual bool OnCaptureChanged(HWND gaining);
    virtual bool OnTimer(UINT_PTR id);
    virtual bool OnHotKey(int id);
    // WM_COMMAND on this window, after the control that sent it had its OnChildNotify.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual bool OnSize(UINT type, int width, int height);
    virtual bool OnShowWindow(bool shown, UINT status);
    virtual bool OnPaint();
    virtual bool OnEraseBkgnd(HDC dc);
    virtual bool OnSetText(const wchar_t* text);
    virtual bool OnEnable(bool enabled);

    // Parent notifications routed to the control object that owns the control.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    // A WM_COMMAND notification about this control; true consumes it before the parent sees it.
    virtual bool OnChildNotify(int code);
    // Called after WM_NCDESTROY, when the object is no longer bound.
    virtual void PostNcDestroy() {}

  private:
    struct Message {
        UINT msg = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };

    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT Route(CWnd* self, UINT msg, WPARAM wParam, LPARAM lParam);
    // True, with the answer, when a typed handler took the message.
    bool Dispatch(const Message& message, LRESULT& result);
    bool ReflectDrawItem(LPARAM lParam);
    bool ReflectCommand(WPARAM wParam, LPARAM lParam);
    // False when another object is bound to the window.
    bool Attach(HWND hwnd);
    void Detach();

    HWND hwnd_ = nullptr;
    // The window's procedure from before the binding (subclassed windows only).
    WNDPROC original_ = nullptr;
    bool subclassed_ = false;
    Message current_;
};

// Control classes in the framework's manner: the behaviour lives in the derived classes.
class CButton : public CWnd {};
class CStatic : public CWnd {};

}  // namespace fw
