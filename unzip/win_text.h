#pragma once
// The system code page's answer for the path logic, which takes it as a parameter.

#include <windows.h>

namespace korvanta {

inline bool SystemLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

} // namespace korvanta
