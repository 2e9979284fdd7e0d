// The form of the configuration dialog as data: one row per control with its window class,
// caption, position and size in pixels (at 96 pixels per inch, never scaled), style, tab order
// and handler.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "dialog/ConfigDlg.h"

using CommandHandler = void (TConfigDialog::*)(HWND sender);
using ChangingHandler = void (TConfigDialog::*)(HWND sender, bool &allowChange, int16_t newValue,
                                                UpDownDirection direction);

// What a control reports and who answers it: a WM_COMMAND notification code with its handler,
// or an up-down's position change. Both null for controls without a handler.
struct FormHandler {
  UINT CommandCode;
  CommandHandler OnCommand;
  ChangingHandler OnChangingEx;
};

struct FormControl {
  HWND TConfigDialog::*Field;
  HWND TConfigDialog::*Parent;  // null: the host's filter window
  int Id;                       // ControlId
  const char *ClassName;
  const char *Caption;          // null: no caption
  int Left, Top, Width, Height; // inside the parent's client area
  DWORD Style;                  // added to WS_CHILD | WS_VISIBLE
  DWORD ExStyle;
  int TabOrder;                 // among the parent's children; -1: not in the tab order
  int ListRows;                 // combo boxes: entries shown when dropped down
  FormHandler Handler;
};

// The form's client area, which pnlBase fills.
constexpr int kFormClientWidth = 282;
constexpr int kFormClientHeight = 114;
// Combo boxes' list entries.
constexpr int kComboItemHeight = 12;

// Every control, parents before their children.
extern const FormControl kFormControls[];
extern const size_t kFormControlCount;
