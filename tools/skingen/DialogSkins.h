#pragma once

#include "SkinWriter.h"

namespace trevolin::skingen {

// The key assignment dialog ("Composite.ini"), the profile manager
// ("Profile.ini") and the update dialog ("UpdateDlg.ini"): background,
// mask, state pictures and ini of each.
class DialogSkins {
public:
    static void Write(SkinWriter& writer);
};

}  // namespace trevolin::skingen
