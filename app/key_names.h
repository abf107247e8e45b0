// The 66 keys the keyboard dialog offers, in list order, with the
// virtual-key code each one binds; and the default entry of each action.
#pragma once

#include <array>
#include <cstdint>

namespace kelvarok {

struct KeyName {
  const char* text;
  std::uint16_t code;
};

// Code 16 stands for either Shift key and 17 for either Ctrl key. The keypad's
// separator key (108) has no entry.
inline constexpr std::array<KeyName, 66> kKeyNames{{
    {"Backspace", 8},   {"Tab", 9},         {"Shift", 16},     {"Ctrl", 17},
    {"Spacebar", 32},   {"Page Up", 33},    {"Page Down", 34}, {"End", 35},
    {"Home", 36},       {"Left Arrow", 37}, {"Up Arrow", 38},  {"Right Arrow", 39},
    {"Down Arrow", 40}, {"Ins", 45},        {"Del", 46},       {"0", 48},
    {"1", 49},          {"2", 50},          {"3", 51},         {"4", 52},
    {"5", 53},          {"6", 54},          {"7", 55},         {"8", 56},
    {"9", 57},          {"A", 65},          {"B", 66},         {"C", 67},
    {"D", 68},          {"E", 69},          {"F", 70},         {"G", 71},
    {"H", 72},          {"I", 73},          {"J", 74},         {"K", 75},
    {"L", 76},          {"M", 77},          {"N", 78},         {"O", 79},
    {"P", 80},          {"Q", 81},          {"R", 82},         {"S", 83},
    {"T", 84},          {"U", 85},          {"V", 86},         {"W", 87},
    {"X", 88},          {"Y", 89},          {"Z", 90},         {"Keypad 0", 96},
    {"Keypad 1", 97},   {"Keypad 2", 98},   {"Keypad 3", 99},  {"Keypad 4", 100},
    {"Keypad 5", 101},  {"Keypad 6", 102},  {"Keypad 7", 103}, {"Keypad 8", 104},
    {"Keypad 9", 105},  {"Multiply", 106},  {"Add", 107},      {"Subtract", 109},
    {"Decimal", 110},   {"Divide", 111},
}};

// The five bound actions in the dialog's row order.
enum class KeyAction { Fire, Thrust, LeftTurn, RightTurn, Hyperspace };
inline constexpr int kKeyActions = 5;

// The list entry each row's "Default" button selects: Ctrl, Up Arrow, Left
// Arrow, Right Arrow, Spacebar.
inline constexpr std::array<int, kKeyActions> kDefaultKeyIndex{3, 10, 9, 11, 4};

}  // namespace kelvarok
