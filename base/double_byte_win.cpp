#include "base/double_byte.h"

#include <windows.h>

namespace korvanta {

bool SystemLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

} // namespace korvanta
