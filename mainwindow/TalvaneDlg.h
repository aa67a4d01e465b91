// The main window: a borderless 800 x 328 layered dialog composed off-screen.
#pragma once

#include "framework/Dialog.h"
#include "framework/Handles.h"

class CTalvaneDlg : public fw::CDialog {
public:
    CTalvaneDlg();

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void CreateSurface();
    void PushLayer();

    fw::MemoryDc surfaceDc_;
    fw::DibSection surfaceBits_;
};
