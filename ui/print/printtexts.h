#pragma once

// Every text of the printed report and of the question a printer that asks
// where to save is given, Italian first.

#include <QString>

#include "engine/language.h"

namespace korval::printtexts {

// The report's own lines.
constexpr Bilingual Title{"Selezione modello e quantità UPS", "UPS model and quantity Selection"};
constexpr Bilingual ProjectHeading{"Dati di progetto", "Project specification"};
constexpr Bilingual Power1hLine{"Potenza richiesta 1h:  ", "1h requred power:  "};
constexpr Bilingual Power3hLine{"Potenza richiesta 3h:  ", "3h required power:  "};
constexpr Bilingual ResultsHeading{"Risultati di calcolo", "Calculation results"};

// Where to save what the printer writes: Windows' own words for it.
constexpr Bilingual SaveTitle{"Salva output di stampa con nome", "Save Print Output As"};
constexpr Bilingual PdfFiles{"Documento PDF", "PDF Document"};
constexpr Bilingual XpsFiles{"Documento XPS", "XPS Document"};
constexpr Bilingual PrinterFiles{"File della stampante", "Printer Files"};
// A text in the language given.
inline QString Text(const Bilingual &text, Language language)
{
    return QString::fromUtf8(Pick(text, language));
}

// The name the file is given until the user gives another.
constexpr char FileName[] = "KORVAL";

}  // namespace korval::printtexts
