#pragma once
// The lead bytes of code page 936 (GBK), the program's code page: the rule the pure tests
// pass where the program asks the platform.

namespace korvanta {

inline bool IsGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

} // namespace korvanta
