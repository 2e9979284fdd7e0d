// The effect's setting items as the editor lists them, and the settings they hold.
#pragma once

#include "auf2/EffectSettings.h"

namespace auf2 {

// The null-terminated item list of the plug-in table.
void **EffectItemList();

// The items' current values (the editor writes them before each call).
EffectSettings CurrentSettings();

}  // namespace auf2
