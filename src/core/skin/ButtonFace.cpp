#include "core/skin/ButtonFace.h"

namespace trevolin::skin {

ButtonFace ChooseButtonFace(const ButtonFaceState& state)
{
    if (!state.enabled) {
        return ButtonFace::Disabled;
    }
    if (state.overrideOn) {
        return state.overrideSecond ? ButtonFace::OverrideSecond : ButtonFace::Override;
    }
    if (state.pressed) {
        return ButtonFace::Pressed;
    }
    if (state.hover) {
        return ButtonFace::Hover;
    }
    if (state.ticked) {
        return ButtonFace::Ticked;
    }
    return ButtonFace::Normal;
}

SkinRect FaceSourceRect(int faceX, int faceY, int w, int h)
{
    return {faceX - 1, faceY - 1, w, h};
}

}  // namespace trevolin::skin
