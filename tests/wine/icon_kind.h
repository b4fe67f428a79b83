#pragma once
// The kinds of icon a message box can show, as the system draws them. Icon handles mean
// nothing across processes under Wine, so the kind is read from the screen: the control's
// pixels against each system icon drawn here at the control's size on its background.

#include <windows.h>

#include <cstddef>

struct IconKind {
    const char *name;
    LPCSTR resource;
};
constexpr size_t kIconKindCount = 4;
extern const IconKind kIconKinds[kIconKindCount];

struct IconMatch {
    const char *name = "unknown"; // when no system icon is close
    double distance[kIconKindCount]{};
};

// The icon an icon control shows on the screen, the closest system icon if one is close.
// Throws WindowGone when the control or its box goes away meanwhile, CallFailed for any other
// failed call (tests/wine/checked.h).
IconMatch ShownIcon(HWND control);
