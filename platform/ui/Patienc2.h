// The wait window the network client shows while it fetches the server's version information: a
// picture and a text. Not modal: while shown it disables the other windows. Main thread only.
#pragma once

#include <string>

#include "platform/gui/ControlesStandard.h"
#include "platform/ui/FenetreAttente.h"

class TPatience2 : public TFenetreAttente {
 public:
  TPatience2(TComponent* Proprietaire, const std::string& Texte);
  TPanel* Panel1;
  TImage* Image1;
  TLabel* Texte;

 protected:
  std::string TexteJournal() const override { return Texte->Caption(); }
};

namespace Patienc2 {
// Unit start: loads the unit's own copy of the "PATIENCE2" bitmap; unit end: frees it.
void Initialiser();
void Finaliser();
const TBitmap& Image();
}  // namespace Patienc2
