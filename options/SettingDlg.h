// The options dialog: whether and how the program starts with Windows, and whether all settings
// are saved at exit. A borderless skinned window over its own off-screen bitmap, whose black
// pixels are transparent; run modally from the main window's button bar.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "skin/BmButton.h"
#include "skin/GdiplusFwd.h"

class SettingDlg : public fw::CDialog {
  public:
    explicit SettingDlg(HWND parent);
    ~SettingDlg() override;

    BOOL PreTranslateMessage(MSG* msg) override;

    // The choice being edited (0–4, or outside for a stored mode the dialog does not know) and
    // the exit-save check.
    int startMode() const { return startMode_; }
    bool saveOnExit() const { return saveOnExit_; }

  protected:
    void PreSubclassWindow() override;
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnPaint() override;
    bool OnSize(UINT type, int width, int height) override;
    bool OnLButtonDown(UINT keys, POINT point) override;
    bool OnEraseBkgnd(HDC dc) override;

    // The registry side of the choices; false when the value could not be written or deleted.
    [[nodiscard]] virtual bool SetAutoRun(const std::wstring& programPath,
                                          std::wstring_view switchName);
    [[nodiscard]] virtual bool RemoveAutoRun(const std::wstring& programPath);
    // The executable's path, or nothing when it cannot be had whole.
    virtual std::optional<std::wstring> ProgramPath();

  private:
    // OK: the registry when the start mode changed, then both choices into the settings file.
    void SaveAndClose();
    void ChooseStartMode(int mode);
    void ToggleSaveOnExit();
    // A new off-screen bitmap of this size with the background drawn into it.
    void ResizeOffscreen(int width, int height);
    void MakeColourKeyed();
    void PlaceButtons();
    void ShowChoices();
    CBmButton& ModeButton(int mode);
    CBmButton& ExitSaveButton();

    std::array<CBmButton, 9> buttons_;
    // The bitmap before the DC: the DC, which holds it selected, goes first.
    fw::Bitmap offscreenBitmap_;
    fw::MemoryDc offscreen_;
    HGDIOBJ originalBitmap_ = nullptr;
    SIZE lastSize_{0, 0};
    Gdiplus::Image* background_;
    bool saveOnExit_ = false;
    int startMode_ = 0;
};
