// The application object: single instance, start-up, the modal main window, shutdown.
#pragma once

#include "app/SingleInstance.h"
#include "framework/GdiplusSession.h"
#include "framework/WinApp.h"

#include <memory>

class CTalvaneApp : public fw::CWinApp {
  protected:
    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL InitApplication() override;

  private:
    std::unique_ptr<fw::GdiplusSession> gdiplus_;
    SingleInstance instance_;
};
