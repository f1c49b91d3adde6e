#pragma once

#include <chrono>

namespace korval::test {

// How long a start or a wait may take on a machine busy with other work.
constexpr int kBusyMachineMs = 60000;
constexpr std::chrono::milliseconds kBusyMachine{kBusyMachineMs};

}  // namespace korval::test
