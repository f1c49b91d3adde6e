#pragma once

// Reports of any length, built from the engine's rows as the main window
// would show them, for the report tests and the print benchmark; and any
// report laid out as KORVAL lays it out, as a PDF file to compare with.

#include "ui/print/report.h"

namespace korval::test {

// A report of `lamps` rows and their result.
ReportContent ReportOf(int lamps);

bool WriteReportPdf(const ReportContent &content, const QString &path, const PageGeometry &page = {});

}  // namespace korval::test
