// Writes the installation's settings back into the settings file at shut-down.
#pragma once

// Writes FilterName, PluginDir, one "Func_" entry per listed window function and the size list
// of the current mode, each key as soon as its value is ready. Entries of disabled functions
// stay as they are. False when any key could not be written (the others are still written).
bool WriteBackSettings();
