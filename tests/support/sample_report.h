#pragma once

// Reports of any length, built from the engine's rows as the main window
// would show them, for the report tests and the print benchmark.

#include "ui/report.h"

namespace korval::test {

// A report of `lamps` rows and their result.
ReportContent ReportOf(int lamps);

}  // namespace korval::test
