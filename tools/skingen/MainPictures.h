#pragma once

#include "MainLayout.h"
#include "SkinWriter.h"

namespace trevolin::skingen {

// The main window: its background, mask, the four state pictures, the two
// flip pictures, the arrows' faces and "Main.ini".
class MainPictures {
public:
    static void Write(const MainLayout& layout, SkinWriter& writer);
};

}  // namespace trevolin::skingen
