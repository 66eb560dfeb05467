#pragma once

#include "SkinWriter.h"

namespace trevolin::skingen {

// "Help/index.html": what the program does and where each command lives.
class HelpPage {
public:
    static void Write(SkinWriter& writer);
};

}  // namespace trevolin::skingen
