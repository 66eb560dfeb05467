// Marks the threads this library owns. A caller on one of them is inside one
// of our callbacks, and must not be made to wait for the thread it runs on.
#pragma once

namespace ql::hid {

class LibraryThread {
public:
    static void mark();
    static bool isCurrent();
};

}  // namespace ql::hid
