#pragma once

namespace trevolin::cli {

// People count the keyboard's three profiles from 1, as the window's profile
// buttons do; the keyboard and the program's files count them from 0. Every
// number a user types or reads is the first kind; only --json output also
// carries the keyboard's index, beside the number.
inline constexpr int FirstProfileNumber = 1;
inline constexpr int LastProfileNumber = 3;

inline constexpr int ProfileNumberOf(int index)
{
    return index + 1;
}

inline constexpr int ProfileIndexOf(int number)
{
    return number - 1;
}

}  // namespace trevolin::cli
