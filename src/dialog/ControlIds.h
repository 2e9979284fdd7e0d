// Window identifiers of the configuration dialog's controls (GetDlgCtrlID), in the order of the
// dialog's fields. Tests find the controls by them.
#pragma once

enum ControlId : int {
  kIdBase = 100,
  kIdAddSize,
  kIdDeleteSize,
  kIdLumaMode,
  kIdChromaMode,
  kIdSizeList,
  kIdLabelSize,
  kIdLabelLuma,
  kIdLabelChroma,
  kIdLumaParamPanel,
  kIdChromaParamPanel,
  kIdLumaParamEdit,
  kIdChromaParamEdit,
  kIdLumaParamUpDown,
  kIdChromaParamUpDown,
  kIdLabelSIMD,
  kIdSIMDMode,
};
