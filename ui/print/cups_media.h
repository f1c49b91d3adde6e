#pragma once

// How the paper of a CUPS destination is read.

#include <cups/cups.h>

#include <QByteArray>

#include <optional>

#include "ui/print/report.h"

namespace korval {

// The paper a report is laid out on, and the name the job gives it so that
// no filter scales, centres or turns the page.
struct Paper {
    PageGeometry Page;
    QByteArray Media;  // a PWG self-describing name
};

// A media-col collection (a printer's media-col-default or -ready): its
// size, and its margins where it gives them, the usual ones where not.
std::optional<Paper> PaperOfCollection(ipp_t *collection);

}  // namespace korval
