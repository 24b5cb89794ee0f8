#include "platform/ui/Patience.h"

#include "platform/ui/VclDialogue.h"

namespace Patience {

void Patienter(const std::string& Texte, const std::function<void()>& Methode) {
  if (!Texte.empty()) VclDialogue::Ecrire(Texte);
  Methode();
}

void AfficherCompteRendu(const std::string& Titre, const std::string& Texte, const std::string& Trace) {
  VclDialogue::Ecrire(Titre.empty() ? Texte : Titre + " : " + Texte);
  size_t debut = 0;
  while (debut < Trace.size()) {
    size_t fin = Trace.find_first_of("\r\n", debut);
    if (fin == std::string::npos) fin = Trace.size();
    if (fin > debut) VclDialogue::Ecrire(Trace.substr(debut, fin - debut));
    debut = fin + 1;
  }
  VclDialogue::Ecrire("Fin de traitement");
}

}  // namespace Patience
