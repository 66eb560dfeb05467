#include "LibraryThread.h"

namespace ql::hid {

namespace {
thread_local bool t_ours = false;
}

void LibraryThread::mark()
{
    t_ours = true;
}

bool LibraryThread::isCurrent()
{
    return t_ours;
}

}  // namespace ql::hid
