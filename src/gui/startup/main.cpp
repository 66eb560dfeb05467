// trevolin: the desktop program.
#include "gui/startup/CTrevolinApp.h"
#include "gui/startup/ProgramStart.h"

int main(int argc, char** argv)
{
    return trevolin::gui::RunProgram(argc, argv);
}
