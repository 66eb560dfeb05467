#pragma once

#include <fmt/printf.h>

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace trevolin::base {

// Fills a printf-style text from the language file (or any file a user can
// edit) with the program's values, without ever handing it to printf:
//
//   FormatText(texts.Text("MACRO_ERR_MAX"), 100)
//   FormatText(texts.Text("PROFILE_FORMAT_ERROR"), path)
//
// Integer conversions (d i u x X o, with flags, width, precision and the
// length modifiers hh h l ll z j t) take integer arguments, "%s" takes a
// text; "%%" is a percent sign; "%1$s"-style positions work when every
// conversion has one. A text whose conversions do not fit its arguments
// (wrong type, too few arguments, %n, %p, %c, '*', a width or precision
// above MaxFieldWidth, an unknown or unfinished conversion) is shown
// literally, as written. Unused arguments are allowed.
enum class FormatArgKind { Integer, Text };

inline constexpr size_t MaxFieldWidth = 260;

// Whether every conversion of `format` can take its value from arguments
// of these kinds.
bool FormatFits(std::string_view format, std::span<const FormatArgKind> kinds);

namespace detail {

template <typename T>
constexpr FormatArgKind KindOf()
{
    using U = std::remove_cvref_t<T>;
    if constexpr (std::is_convertible_v<const U&, std::string_view>) {
        return FormatArgKind::Text;
    } else {
        static_assert(std::is_integral_v<U> && !std::is_same_v<U, bool> && !std::is_same_v<U, char> &&
                          !std::is_same_v<U, char8_t> && !std::is_same_v<U, char16_t> && !std::is_same_v<U, char32_t> &&
                          !std::is_same_v<U, wchar_t>,
                      "FormatText takes integers and texts");
        return FormatArgKind::Integer;
    }
}

template <typename T>
auto Pass(const T& value)
{
    using U = std::remove_cvref_t<T>;
    if constexpr (std::is_pointer_v<U>) {
        return value == nullptr ? std::string_view() : std::string_view(value);
    } else if constexpr (std::is_convertible_v<const U&, std::string_view>) {
        return std::string_view(value);
    } else {
        return value;
    }
}

}  // namespace detail

template <typename... Args>
std::string FormatText(std::string_view format, const Args&... args)
{
    static constexpr std::array<FormatArgKind, sizeof...(Args)> kinds{detail::KindOf<Args>()...};
    if (!FormatFits(format, kinds)) {
        return std::string(format);
    }
    try {
        return fmt::sprintf(format, detail::Pass(args)...);
    } catch (...) {
        return std::string(format);
    }
}

}  // namespace trevolin::base
