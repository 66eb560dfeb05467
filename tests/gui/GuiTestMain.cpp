// The GUI tests draw real widgets on Qt's offscreen platform: no display,
// no window manager, the same pixels everywhere.

#include "gui/skin/DarkStyle.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // As the program looks: menus and message boxes in the skin's colours.
    trevolin::gui::ApplyDarkStyle(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
