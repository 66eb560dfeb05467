#pragma once

#include "MainLayout.h"
#include "SkinWriter.h"

namespace trevolin::skingen {

// The lighting panel's pictures, each the size of the control that shows it.
class PanelBitmaps {
public:
    static void Write(const MainLayout& layout, SkinWriter& writer);
};

}  // namespace trevolin::skingen
