#pragma once
// The window class of the program windows and the label control class.

#include "shell/unit_record.h"

#include <windows.h>

namespace korvanta {

inline constexpr char kDefaultWindowClass[] = "KorvantaForm";
inline constexpr char kLabelClass[] = "KorvantaLabel";

// Registers the class (once) and gives its name: the description's own or the default.
const char *ProgramWindowClass(const WindowProps &props);
const char *LabelControlClass();

// Sent to every unit once its window is complete (LoadWindow, last step).
inline constexpr UINT kUnitWindowComplete = WM_APP + 0x301;

} // namespace korvanta
