// Which of a skinned push button's images shows in a given state.
#pragma once

namespace skin {

enum class ButtonFace { Normal, Hover, Pressed, Toggled };

struct ButtonState {
    bool animated = false;
    bool toggled = false;
    bool pressed = false;
    bool hover = false;
};

// First match wins: an animation shows the hover image, then the toggled face, then the pressed
// face (only when there is a pressed image), then hover, else normal.
ButtonFace ChooseButtonFace(const ButtonState& state, bool hasPressedImage);

}  // namespace skin
