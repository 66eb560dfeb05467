#include "FactoryKeymap.h"

namespace trevolin::sim {
namespace {

// One position's ActionCode: [class, sub, data].
struct Code {
    uint8_t cls, sub, data;
};

constexpr Code key(uint8_t usage)
{
    return {2, 2, usage};
}  // HID keyboard-page usage
constexpr Code mod(uint8_t bit)
{
    return {2, 1, bit};
}  // modifier bit
constexpr Code gkey(uint8_t n)
{
    return {6, 0xA2, n};
}  // G1..G9 bank A = 1..9, bank B = 10..18

constexpr Code None{0, 0, 0};  // no key wired here
constexpr Code Fw{5, 0, 0};    // keyboard-internal function (firmware's own meaning)
constexpr Code Fn{5, 2, 2};    // the Fn key

// The keys by name, so that the table below reads like the keyboard.
constexpr Code Esc = key(0x29), Grave = key(0x35), Tab = key(0x2B), Caps = key(0x39);
constexpr Code F1 = key(0x3A), F2 = key(0x3B), F3 = key(0x3C), F4 = key(0x3D), F5 = key(0x3E), F6 = key(0x3F);
constexpr Code F7 = key(0x40), F8 = key(0x41), F9 = key(0x42), F10 = key(0x43), F11 = key(0x44), F12 = key(0x45);
constexpr Code D1 = key(0x1E), D2 = key(0x1F), D3 = key(0x20), D4 = key(0x21), D5 = key(0x22);
constexpr Code D6 = key(0x23), D7 = key(0x24), D8 = key(0x25), D9 = key(0x26), D0 = key(0x27);
constexpr Code Minus = key(0x2D), Equal = key(0x2E), Backspace = key(0x2A);
constexpr Code Q = key(0x14), W = key(0x1A), E = key(0x08), R = key(0x15), T = key(0x17), Y = key(0x1C);
constexpr Code U = key(0x18), I = key(0x0C), O = key(0x12), P = key(0x13);
constexpr Code LBracket = key(0x2F), RBracket = key(0x30), Backslash = key(0x31);
constexpr Code A = key(0x04), S = key(0x16), D = key(0x07), F = key(0x09), G = key(0x0A), H = key(0x0B);
constexpr Code J = key(0x0D), K = key(0x0E), L = key(0x0F), Semicolon = key(0x33), Quote = key(0x34);
constexpr Code Enter = key(0x28);
constexpr Code Z = key(0x1D), X = key(0x1B), C = key(0x06), V = key(0x19), B = key(0x05), N = key(0x11);
constexpr Code M = key(0x10), Comma = key(0x36), Period = key(0x37), Slash = key(0x38), K45 = key(0x64);
constexpr Code Space = key(0x2C), App = key(0x65);
constexpr Code LCtrl = mod(0x01), LShift = mod(0x02), LAlt = mod(0x04), LWin = mod(0x08);
constexpr Code RCtrl = mod(0x10), RShift = mod(0x20), RAlt = mod(0x40), RWin = mod(0x80);
constexpr Code PrtSc = key(0x46), ScrLk = key(0x47), Pause = key(0x48);
constexpr Code Ins = key(0x49), Home = key(0x4A), PgUp = key(0x4B), Del = key(0x4C), End = key(0x4D), PgDn = key(0x4E);
constexpr Code Right = key(0x4F), Left = key(0x50), Down = key(0x51), Up = key(0x52);
constexpr Code NumLk = key(0x53), KpSlash = key(0x54);

// The key matrix, column by column: position = 8 x column + row.
//
// Columns 0 to 7 (positions 0 to 62) are the program's built-in copy
// exactly, quirks included (the "=" key is wired in the navigation row at
// position 54). The rest continues the same rows: row 0 the function keys,
// row 1 the digits, rows 2 to 4 the letter rows, row 5 the space-bar row,
// row 6 the navigation cluster, row 7 the G keys. The 18 G keys (both
// banks) fill row 7 and then the free cells of columns 14 and 15; the
// keypad gets what room is left after them, which is only Num Lock and
// Num /. Column 15 rows 6 and 7 would be positions 126 and 127: the block
// has no such positions, so bytes 378 to 511 stay zero.
constexpr Code kColumns[16][8] = {
    //          row 0  row 1      row 2      row 3      row 4   row 5  row 6  row 7
    /* col 0 */ {Fw, Fw, Fw, Fw, Fw, Fw, None, None},
    /* col 1 */ {Esc, Grave, Tab, Caps, LShift, LCtrl, None, None},
    /* col 2 */ {F1, D1, Q, A, Z, LWin, None, None},
    /* col 3 */ {F2, D2, W, S, X, LAlt, None, None},
    /* col 4 */ {F3, D3, E, D, C, Space, PrtSc, None},
    /* col 5 */ {F4, D4, R, F, V, RAlt, ScrLk, None},
    /* col 6 */ {F5, D5, T, G, B, Fn, Equal, None},
    /* col 7 */ {F6, D6, Y, H, N, App, Pause, gkey(1)},
    /* col 8 */ {F7, D7, U, J, M, RWin, Ins, gkey(2)},
    /* col 9 */ {F8, D8, I, K, Comma, RCtrl, Home, gkey(3)},
    /* col10 */ {F9, D9, O, L, Period, Left, PgUp, gkey(4)},
    /* col11 */ {F10, D0, P, Semicolon, Slash, Down, Del, gkey(5)},
    /* col12 */ {F11, Minus, LBracket, Quote, RShift, Right, End, gkey(6)},
    /* col13 */ {F12, Backspace, RBracket, Enter, K45, Up, PgDn, gkey(7)},
    /* col14 */ {gkey(8), gkey(9), Backslash, gkey(10), gkey(11), gkey(12), gkey(13), gkey(14)},
    /* col15 */ {gkey(15), gkey(16), gkey(17), gkey(18), NumLk, KpSlash, None, None},
};

std::array<uint8_t, FactoryKeymap::kSize> build()
{
    std::array<uint8_t, FactoryKeymap::kSize> out{};
    for (int position = 0; position < FactoryKeymap::kPositions; ++position) {
        const Code& code = kColumns[position / 8][position % 8];
        out[3 * position] = code.cls;
        out[3 * position + 1] = code.sub;
        out[3 * position + 2] = code.data;
    }
    return out;
}

}  // namespace

const std::array<uint8_t, FactoryKeymap::kSize>& FactoryKeymap::bytes()
{
    static const std::array<uint8_t, kSize> table = build();
    return table;
}

}  // namespace trevolin::sim
