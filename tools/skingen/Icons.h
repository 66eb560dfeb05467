#pragma once

#include "SkinWriter.h"

namespace trevolin::skingen {

// The tray pictures 128 (no keyboard), 141 (keyboard connected) and 142
// (the keyboard's alternate state), and the program icon at the sizes a
// desktop's icon theme asks for.
class Icons {
public:
    static void Write(SkinWriter& writer);
};

}  // namespace trevolin::skingen
