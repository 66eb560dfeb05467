#pragma once

#include "core/skin/SkinRect.h"

namespace trevolin::skin {

// The sources an image button cuts its face from.
enum class ButtonFace { Normal, Hover, Pressed, Disabled, Ticked, Override, OverrideSecond };

struct ButtonFaceState {
    bool enabled = true;
    bool overrideOn = false;      // show an override source whatever the state
    bool overrideSecond = false;  // ... the second one rather than the first
    bool pressed = false;
    bool hover = false;
    bool ticked = false;
};

// The first state that applies: disabled, override, pressed, hover, ticked.
ButtonFace ChooseButtonFace(const ButtonFaceState& state);

// The part of a state picture a button of size w x h shows: one pixel above
// and left of its face origin (the skins are drawn that way).
SkinRect FaceSourceRect(int faceX, int faceY, int w, int h);

}  // namespace trevolin::skin
