// The hardware-information page: eight read-only facts about the card, collected once per run by
// a worker thread started with the page. Until they are ready an animated wait bar shows.
#pragma once

#include <memory>
#include <optional>

#include "framework/Handles.h"
#include "hwinfo/HardwareCollector.h"
#include "hwinfo/HardwareFacts.h"
#include "res/resource.h"
#include "skin/BmButton.h"
#include "skin/SkinSubDialog.h"

class CHARDWAREDLG : public CSkinSubDialog {
  public:
    // Collects from the program's own library and the bound driver table (taken now), starting
    // when the page's window is made: the main window makes its pages after its first frame, and
    // start-up does not share the wineserver with the collection.
    CHARDWAREDLG();
    // Collects from `source`, starting at once.
    explicit CHARDWAREDLG(hwinfo::CollectorSource source);

    // Starts the collector thread, once.
    void StartCollecting();

    void DrawControls() override;
    void AttachSkin(SkinSurface* surface, Gdiplus::Image* background) override;

    // True once the collector has published the rows.
    bool infoReady() const { return facts_->ready(); }
    // The rows; only meaningful once infoReady().
    const hwinfo::Rows& rows() const { return facts_->rows(); }
    const CBmButton& waitBar() const { return waitBar_; }
    // Waits up to `milliseconds` for the collector thread to end; true when it has ended.
    bool WaitCollector(DWORD milliseconds) const;

  protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    // The collector's last steps, on this thread: hide the wait bar and draw the texts.
    void ShowFacts();

    std::shared_ptr<hwinfo::HardwareFacts> facts_ = std::make_shared<hwinfo::HardwareFacts>();
    CBmButton waitBar_;
    std::optional<hwinfo::CollectorSource> source_;  // until the collector starts
    fw::KernelHandle collector_;
};
