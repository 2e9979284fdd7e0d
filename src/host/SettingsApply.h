// Turns the live settings record into the engine's weight setter and kernel.
#pragma once

// Creates a new weight setter from the methods and parameters of the settings record and hands
// it to the engine, then hands it the kernel the record names (or the first kernel). Entries of
// a library out of use because its code faulted count as not listed. Does nothing while no
// usable window function or no usable kernel is listed.
void ApplySettings();
