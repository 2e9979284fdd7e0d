// A panel: a borderless container window in the button-face colour that draws its caption
// left-aligned and vertically centred, and hands its children's notifications (WM_COMMAND,
// WM_NOTIFY) to the object that built it.
#pragma once

#include <windows.h>

// Who receives a panel's child notifications; the result goes back to the child.
struct PanelEvents {
  void *Context;
  LRESULT (*OnCommand)(void *context, WPARAM wparam, LPARAM lparam);
  LRESULT (*OnNotify)(void *context, const NMHDR *header);
};

extern const char kPanelClassName[];

// The class lives in `instance` (this module) while a dialog exists; the module may be unloaded
// afterwards, so the class is registered per dialog and removed again.
void RegisterPanelClass(HINSTANCE instance);
void UnregisterPanelClass(HINSTANCE instance);

// Routes the panel's child notifications to `events` (which must outlive the window).
void SetPanelEvents(HWND panel, const PanelEvents *events);

// The module this code is part of (the plug-in), for window classes and windows.
HINSTANCE ThisModule();

// Shows or hides every window inside `control`, at every depth, and then `control` itself.
void SetVisibleDeep(HWND control, bool visible);
