// Writes the installation's settings back into the settings file at shut-down.
#pragma once

// Writes FilterName, PluginDir, one "Func_" entry per listed window function and the size list
// of the current mode, each key as soon as its value is ready; a key whose value the file holds
// already is not touched. Entries of disabled functions, and of functions whose name cannot be
// a key, stay as they are. False when any key could not be written whole (it keeps its earlier
// value; the others are still written).
bool WriteBackSettings();
