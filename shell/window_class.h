#pragma once
// The window class of the program windows and the label control class.

#include "shell/unit_record.h"

#include <windows.h>

#include <string>

namespace korvanta {

inline constexpr wchar_t kDefaultWindowClass[] = L"KorvantaForm";
inline constexpr wchar_t kLabelClass[] = L"KorvantaLabel";

// Registers the class (once) as a Unicode class, so that its windows get and give their texts
// in UTF-16, and gives its name: the description's own or the default. Empty when it cannot be
// registered.
std::wstring ProgramWindowClass(const WindowProps &props);
std::wstring LabelControlClass();

// Sent to every unit once its window is complete (LoadWindow, last step).
inline constexpr UINT kUnitWindowComplete = WM_APP + 0x301;

} // namespace korvanta
