// Waiting while one method runs (installing or removing the NT service): a window with a picture
// and the text, shown while the method runs and freed after it whatever happens; and the long
// text result of an operation (a report with its trace), shown until the user closes it.
// Main thread only.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/FenetreAttente.h"
#include "platform/ui/graphpan.h"

class TPatienter : public TFenetreAttente {
 public:
  explicit TPatienter(TComponent* Proprietaire);
  TPanel* Panel1;
  TImage* Image1;
  TGraphicPanel* Texte;

 protected:
  std::string TexteJournal() const override { return Texte->Caption(); }
};

namespace Patience {

// Runs Methode while a TPatienter shows Texte; an exception from Methode goes on to the caller.
void Patienter(const std::string& Texte, const std::function<void()>& Methode);
// What Patienter runs: the window is hidden, its picture cleared and the window freed whatever
// happens. A text wider than the text panel widens the window to the text's width + 16.
void ExecuterAvecAttente(const std::string& Texte, const std::function<void()>& Methode);

// A long text result titled Titre: Texte, then every line of Trace, then "Fin de traitement",
// shown in a TFichePatience with its trace until the user closes it. The log gets the same lines.
void AfficherCompteRendu(const std::string& Titre, const std::string& Texte, const std::string& Trace);

}  // namespace Patience
