// Finding a text in a produced page: the page's text records are read one by one and the search
// stops at the first that holds the text. One search runs at a time; the busy flag ends with the
// search on every path, also when it fails.
#pragma once

#include <string>

#include "platform/gui/Metafichier.h"

namespace RBSearch {

// Whether Text (1252) occurs in one of the page's text records, ANSI or wide (read in 1252, within
// the record). Without MatchCase both sides are compared in upper case. An empty text is found
// nowhere, as the platform's substring position finds it nowhere.
bool FindTextInPage(const std::string& Text, const Metafichier::TMetafile& Page, bool MatchCase);

// Whether a search is running.
bool SearchBusy();

}  // namespace RBSearch
