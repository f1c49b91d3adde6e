#pragma once

// Every text the main window shows, Italian first.

#include "engine/language.h"

namespace korval::maintexts {

// The window's caption is the product's own name and year, whatever the
// build's version.
constexpr char Caption[] = "KORVAL 1.2 2015";

constexpr Bilingual Heading{"Selezione modello e quantità UPS", "UPS model and quantity Selection"};
constexpr Bilingual PriceListButton{"Elenco UPS", "UPS List"};
constexpr Bilingual AddButton{"Aggiungi Lampade", "Add Lamps"};
constexpr Bilingual EraseAllButton{"Elimina Tutto", "Erase All"};
constexpr Bilingual CalculateButton{"CALCOLA", "Calculate"};
constexpr Bilingual PrintButton{"Stampa", "Print"};
constexpr Bilingual Power1hFrame{"Pot. 1h richiesta: ", "Power 1h required: "};
constexpr Bilingual Power3hFrame{"Pot. 3h richiesta: ", "Power 3h required: "};

constexpr Bilingual LampColumns[6] = {
    {"N° Plafoniere", "N° Ceil.Lights"}, {"Lamp. per Plaf.", "Lamps/Ceil."},
    {"Watt per Lamp.", "Watts/Lamp"},    {"Cos.fi", "Cos.fi"},
    {"Alimentatore", "Power pack type"}, {"Autonomia", "Autonomy"},
};
constexpr Bilingual ResultColumns[6] = {
    {"Autonomia", "Autonomy"},
    {"Codice", "Code"},
    {"Potenza", "Power"},
    {"Quantità", "Quantity"},
    {"Prezzo unitario", "Unit price"},
    {"Prezzo totale", "Total price"},
};

constexpr Bilingual EraseAllQuestion{"Sei sicuro di voler eliminare tutto?",
                                     "Are you sure? All data will be lost"};
constexpr Bilingual NoPrinter{"Nessuna stampante predefinita installata", "No default printer is installed"};
constexpr Bilingual PrintFailed{"Errore di stampa", "Printing failed"};
constexpr Bilingual PrintServiceUnreachable{"il servizio di stampa non è raggiungibile",
                                            "the print service cannot be reached"};
constexpr Bilingual PrintServiceSilent{"il servizio di stampa non risponde", "the print service does not answer"};
constexpr Bilingual PrintJobRefused{"il servizio di stampa ha rifiutato il lavoro",
                                    "the print service refused the job"};
constexpr Bilingual PrintJobLost{"il lavoro non è arrivato alla stampante", "the job did not reach the printer"};

// What a screen reader announces for controls without a caption of their own.
constexpr Bilingual LanguageBox{"Lingua", "Language"};
constexpr Bilingual LampList{"Elenco delle lampade", "Lamp list"};
constexpr Bilingual LampListHelp{"Un gruppo di plafoniere per riga; Invio apre la riga",
                                 "One group of ceiling lights per row; Enter opens the row"};
constexpr Bilingual PowerHelp{"Potenza richiesta, in watt", "Required power, in watts"};

// The result list's name, as the report heads it.
constexpr Bilingual ResultsHeading{"Risultati di calcolo", "Calculation results"};

}  // namespace korval::maintexts
