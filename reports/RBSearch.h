// Finding a text in a produced page: the page's text records are read one by one and the search
// stops at the first that holds the text. One search runs at a time; the busy flag ends with the
// search on every path, also when it fails.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/Controles.h"
#include "platform/gui/Metafichier.h"
#include "platform/data/DataSet.h"

namespace RBSearch {

// Whether Text (1252) occurs in one of the page's text records, ANSI or wide (read in 1252, within
// the record). Without MatchCase both sides are compared in upper case. An empty text is found
// nowhere, as the platform's substring position finds it nowhere.
bool FindTextInPage(const std::string& Text, const Metafichier::TMetafile& Page, bool MatchCase);

// Whether a search is running.
bool SearchBusy();

// A named dataset of a form.
struct TDataSetEntry {
  std::string Name;
  IDataSet* DataSet;
};
// Every dataset component owned by Form and, recursively, by its windowed controls, in ownership
// order; with WithDataModules also every dataset directly owned by each data module (in Modules'
// order). A missing form contributes nothing.
std::vector<TDataSetEntry> ListDataSets(TComponent* Form, bool WithDataModules,
                                        const std::vector<TComponent*>& Modules = {});

// Registers the report classes that stored reports name (reports, bands, groups, sub-details,
// labels, expressions, shapes, child bands and the memory dataset), and marks the search idle.
void Initialiser();
void Finaliser();

}  // namespace RBSearch
