#pragma once

namespace korval::test {

// Cos phi "0.9" as the lamp dialog stores it: read in single precision
// (a float one step above 0.9f), then widened.
constexpr double kCosPhi09 = 0.9000000357627869;

}  // namespace korval::test
