#include <cstddef>

#include "skin/core/ButtonFace.h"

namespace skin {

ButtonFace ChooseButtonFace(const ButtonState& state, bool hasPressedImage) {
    if (state.animated) {
        return ButtonFace::Hover;
    }
    if (state.toggled) {
        return ButtonFace::Toggled;
    }
    if (state.pressed && hasPressedImage) {
        return ButtonFace::Pressed;
    }
    if (state.hover) {
        return ButtonFace::Hover;
    }
    return ButtonFace::Normal;
}

}  // namespace skin
