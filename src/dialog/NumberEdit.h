// The parameter edit boxes with their up-down controls.
#pragma once

#include <windows.h>

#include <cstdint>

// Makes the edit box right-aligned and digits-only: adds ES_RIGHT and ES_NUMBER to its style
// and lets the frame take the new style.
void MakeNumberEdit(HWND edit);

// Attaches the up-down control to its edit box, into which it writes its position.
void AttachUpDown(HWND upDown, HWND edit);
void SetUpDownRange(HWND upDown, int32_t minimum, int32_t maximum);
void SetUpDownPosition(HWND upDown, int32_t position);
int32_t UpDownPosition(HWND upDown);
