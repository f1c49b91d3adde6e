// Where printers are CUPS queues: none of them asks where to save, and the
// spooler never asks the user anything.

#include "ui/print/question.h"

namespace korval {

std::optional<SaveQuestion> DefaultPrinterQuestion()
{
    return std::nullopt;
}

void WatchSpooler() { }

bool SpoolerStartCancelled()
{
    return false;
}

}  // namespace korval
