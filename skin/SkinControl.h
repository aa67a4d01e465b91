// Base of the toolkit's controls: they draw into the shared surface, never on screen, so they
// never erase a background.
#pragma once

#include "framework/Wnd.h"

class SkinSurface;

namespace skin {

enum class Present;

template <typename Base>
class SkinControl : public Base {
  protected:
    bool OnEraseBkgnd(HDC) override { return true; }

    // The end of a pointer move: `redraw` when the lit part changed, otherwise the hover and
    // leave notifications are asked for once (`tracking` remembers it); then default processing.
    template <typename Redraw>
    bool EndMouseMove(bool litPartChanged, int& tracking, Redraw redraw) {
        if (litPartChanged) {
            redraw();
        } else if (tracking == 0) {
            tracking = this->TrackMouseHoverAndLeave();
        }
        this->Default();
        return true;
    }
};

}  // namespace skin
