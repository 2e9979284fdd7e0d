// A desktop that no one sees, for windows that only carry state (a title) and never show.
#pragma once

namespace quorlin_harness {

// Moves the process to a window station of its own that is not interactive, and the calling
// thread to a desktop on it, before the thread makes its first window. Windows made there work
// as anywhere else but are never shown, and the system starts no desktop shell for them: under
// Wine without a display, that shell fails and reports it on the program's error stream. False
// when the system refuses (the thread has windows already); the thread then stays where it was.
bool UseHiddenDesktop();

}  // namespace quorlin_harness
