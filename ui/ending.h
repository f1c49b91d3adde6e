#pragma once

// How the program, and the tests' programs, end once their windows are gone.

namespace korval {

// Whether taking the application down may hang for good: Qt 6.4's Wayland
// plugin can leave its event thread waiting on the compositor while the
// display waits for the thread.
bool TeardownMayHang();

// Leaves at once with `code`, output flushed, without destroying what a print
// job still on its way or a hung connection holds.
[[noreturn]] void LeaveAtOnce(int code);

}  // namespace korval
