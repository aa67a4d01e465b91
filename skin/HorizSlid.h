// The skinned value slider: minus button, a track that fills in proportion to the value, plus
// button and a four-digit value box, all drawn from skin images into the shared surface.
#pragma once

#include "skin/GdiplusFwd.h"
#include "skin/SkinControl.h"

class CHorizSlid : public skin::SkinControl<fw::CStatic> {
  public:
    static constexpr UINT_PTR kTimerStepUp = 121;
    static constexpr UINT_PTR kTimerStepDown = 122;
    static constexpr UINT kRepeatPeriodMs = 80;

    // Looks the slider images up in the registry (so construct after LoadSkinImages).
    CHorizSlid();
    ~CHorizSlid() override;

    // Stores the surface and lays out the step buttons.
    void AttachSurface(SkinSurface* target);
    // The narrow track (123 pixels) of the quality page; its track ignores clicks.
    void UseCompactTrack();
    // Stores the range and step and recomputes the position; the value is not clamped.
    void SetRange(int max, int min, int stepSize);
    // Stores the value clamped to the range and its position.
    void SetPos(int newValue);
    int GetPos() const { return value; }
    // One step up or down, clamped at the limits; always draws, presents and notifies.
    void StepUp();
    void StepDown();
    // Draws into the surface without presenting (nothing when hidden or without a surface).
    void Draw();
    // Draw, then present.
    void Redraw();
    // Lays the step buttons out from the current images and track width.
    void LayOutButtons();

    int trackWidth;
    int value = 0;
    int maximum = 29;
    int minimum = 0;
    int step = 1;
    int trackSteps = 29;
    int position = 0;
    Gdiplus::Image* trackEmptyImage;
    Gdiplus::Image* trackFilledImage;
    Gdiplus::Image* trackDisabledImage;
    Gdiplus::Image* minusImage;
    Gdiplus::Image* minusHotImage;
    Gdiplus::Image* minusDisabledImage;
    Gdiplus::Image* plusImage;
    Gdiplus::Image* plusHotImage;
    Gdiplus::Image* plusDisabledImage;
    Gdiplus::Image* boxImage;
    Gdiplus::Image* digitsImage;
    bool hovering = false;
    bool enabled = true;
    int tracking = 0;
    int hotPart = 0;  // 0 none, 1 minus button, 2 plus button
    RECT minusRect{};
    RECT plusRect{};
    SkinSurface* surface = nullptr;
    HCURSOR handCursor;

  protected:
    void PreSubclassWindow() override;
    bool OnLButtonDown(UINT keys, POINT point) override;
    bool OnLButtonUp(UINT keys, POINT point) override;
    bool OnLButtonDblClk(UINT keys, POINT point) override;
    bool OnCaptureChanged(HWND gaining) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnMouseMove(UINT keys, POINT point) override;
    bool OnMouseLeave() override;
    bool OnMouseHover(UINT keys, POINT point) override;

  private:
    void Paint(skin::Present present);
    void AfterStep();
    void NotifyParent();
    // Starts the auto-repeat of a step button held down.
    void StartRepeat(UINT_PTR timer);
    // Ends the auto-repeat: on release, and whenever the capture is lost.
    void StopRepeat();
    bool InTrackArea(POINT point) const;
    // Selects the value of the clicked track segment; nothing when the segment has none.
    void ClickTrack(POINT point);

    // The timer of the step button being held, 0 when none is.
    UINT_PTR repeating_ = 0;
};
