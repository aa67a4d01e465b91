// Base of the toolkit's controls: they draw into the shared surface, never on screen, so they
// never erase a background.
#pragma once

#include "framework/Wnd.h"

namespace skin {

template <typename Base>
class SkinControl : public Base {
  protected:
    bool OnEraseBkgnd(HDC) override { return true; }
};

}  // namespace skin
