#pragma once
// What the driver knows of the start-up baseline: the title it finds its window by.

namespace korvanta::bench {

inline constexpr wchar_t kOleWindowTitle[] = L"Korvanta OLE baseline";

} // namespace korvanta::bench
