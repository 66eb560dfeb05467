#pragma once

#include <cstdint>

// The key buttons the preview's tables name, by their control ids on the main
// window. Captions in the comments are the buttons' own.
namespace trevolin::lighting::preview::key {

inline constexpr uint16_t Esc = 1022;
inline constexpr uint16_t F1 = 1010;
inline constexpr uint16_t F2 = 1011;
inline constexpr uint16_t F3 = 1012;
inline constexpr uint16_t F4 = 1013;
inline constexpr uint16_t F5 = 1014;
inline constexpr uint16_t F6 = 1015;
inline constexpr uint16_t F7 = 1023;
inline constexpr uint16_t F8 = 1024;
inline constexpr uint16_t F9 = 1025;
inline constexpr uint16_t F10 = 1026;
inline constexpr uint16_t F11 = 1027;
inline constexpr uint16_t F12 = 1028;
inline constexpr uint16_t Print = 1091;
inline constexpr uint16_t Insert = 1094;
inline constexpr uint16_t Delete = 1097;
inline constexpr uint16_t Home = 1095;
inline constexpr uint16_t End = 1098;
inline constexpr uint16_t PageUp = 1096;
inline constexpr uint16_t PageDown = 1099;

inline constexpr uint16_t Backquote = 1029;
inline constexpr uint16_t Digit1 = 1030;     // "1!"
inline constexpr uint16_t Digit2 = 1031;     // "2@"
inline constexpr uint16_t Digit3 = 1032;     // "3#"
inline constexpr uint16_t Digit4 = 1033;     // "4$"
inline constexpr uint16_t Digit5 = 1034;     // "5%"
inline constexpr uint16_t Digit6 = 1035;     // "6^"
inline constexpr uint16_t Digit7 = 1036;     // "7&&"
inline constexpr uint16_t Digit8 = 1037;     // "8*"
inline constexpr uint16_t Digit9 = 1038;     // "9("
inline constexpr uint16_t Digit0 = 1039;     // "0)"
inline constexpr uint16_t Minus = 1040;      // "-_"
inline constexpr uint16_t Equals = 1041;     // "=+"
inline constexpr uint16_t Backspace = 1043;  // "<--"

inline constexpr uint16_t Tab = 1056;
inline constexpr uint16_t Q = 1044;
inline constexpr uint16_t W = 1045;
inline constexpr uint16_t E = 1046;
inline constexpr uint16_t R = 1047;
inline constexpr uint16_t T = 1048;
inline constexpr uint16_t Y = 1049;
inline constexpr uint16_t U = 1050;
inline constexpr uint16_t I = 1051;
inline constexpr uint16_t O = 1052;
inline constexpr uint16_t P = 1053;
inline constexpr uint16_t LeftBracket = 1054;   // "[{"
inline constexpr uint16_t RightBracket = 1055;  // "]}"
inline constexpr uint16_t Backslash = 1042;

inline constexpr uint16_t CapsLock = 1069;
inline constexpr uint16_t A = 1058;
inline constexpr uint16_t S = 1059;
inline constexpr uint16_t D = 1060;
inline constexpr uint16_t F = 1061;
inline constexpr uint16_t G = 1062;
inline constexpr uint16_t H = 1063;
inline constexpr uint16_t J = 1064;
inline constexpr uint16_t K = 1065;
inline constexpr uint16_t L = 1066;
inline constexpr uint16_t Semicolon = 1067;  // ";:"
inline constexpr uint16_t Apostrophe = 1068;
inline constexpr uint16_t Enter = 1070;

inline constexpr uint16_t LeftShift = 1082;
inline constexpr uint16_t K45 = 1199;  // the international layout's extra key
inline constexpr uint16_t Z = 1071;
inline constexpr uint16_t X = 1072;
inline constexpr uint16_t C = 1073;
inline constexpr uint16_t V = 1074;
inline constexpr uint16_t B = 1075;
inline constexpr uint16_t N = 1076;
inline constexpr uint16_t M = 1077;
inline constexpr uint16_t Comma = 1078;   // ",<"
inline constexpr uint16_t Period = 1079;  // ".>"
inline constexpr uint16_t Slash = 1080;   // "/?"
inline constexpr uint16_t RightShift = 1081;

inline constexpr uint16_t LeftCtrl = 1083;
inline constexpr uint16_t LeftWin = 1084;
inline constexpr uint16_t LeftAlt = 1085;
inline constexpr uint16_t Space = 1090;
inline constexpr uint16_t RightAlt = 1086;
inline constexpr uint16_t RightCtrl = 1089;
inline constexpr uint16_t Fn = 1174;
inline constexpr uint16_t App = 1088;

inline constexpr uint16_t Up = 1103;
inline constexpr uint16_t Down = 1101;
inline constexpr uint16_t Left = 1100;
inline constexpr uint16_t Right = 1102;

inline constexpr uint16_t NumLock = 1104;  // "Num"
inline constexpr uint16_t KpSlash = 1105;  // "/"
inline constexpr uint16_t KpStar = 1106;   // "*"
inline constexpr uint16_t KpMinus = 1107;  // "-"
inline constexpr uint16_t KpPlus = 1111;   // "+"
inline constexpr uint16_t KpEnter = 1118;
inline constexpr uint16_t KpDot = 1119;  // ".D"
inline constexpr uint16_t Kp0 = 1120;    // "0"
inline constexpr uint16_t Kp1 = 1115;    // "1E"
inline constexpr uint16_t Kp2 = 1116;    // "2↓"
inline constexpr uint16_t Kp3 = 1117;    // "3D"
inline constexpr uint16_t Kp4 = 1112;    // "4←"
inline constexpr uint16_t Kp5 = 1113;    // "5"
inline constexpr uint16_t Kp6 = 1114;    // "6→"
inline constexpr uint16_t Kp7 = 1108;    // "7H"
inline constexpr uint16_t Kp8 = 1109;    // "8↑"
inline constexpr uint16_t Kp9 = 1110;    // "9U"

}  // namespace trevolin::lighting::preview::key
