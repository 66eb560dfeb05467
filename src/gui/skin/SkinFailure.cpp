#include "gui/skin/SkinFailure.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace trevolin::gui {

namespace {
SkinFailure::Handler& CurrentHandler()
{
    static SkinFailure::Handler handler;
    return handler;
}
}  // namespace

void SkinFailure::Report(const QString& file, const QString& reason)
{
    if (const auto& handler = CurrentHandler()) {
        handler(file, reason);
        return;
    }
    EndProgram(file, reason);
}

SkinFailure::Handler SkinFailure::SetHandler(Handler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}

void SkinFailure::EndProgram(const QString& file, const QString& reason)
{
    std::fprintf(stderr, "trevolin: cannot use the skin picture %s: %s\n", qPrintable(file), qPrintable(reason));
    std::fflush(stderr);
    std::exit(0);
}

}  // namespace trevolin::gui
