#include "net/utilisateurs/BureauWindows.h"

#include <exception>

#include "core/values/ChaineUnicode.h"
#include "platform/gui/EntreeBureau.h"

namespace BureauWindows {

namespace {
std::string UTF8(const std::string& Texte) {
  return ChaineUnicode::VersUTF8(Texte, ChaineUnicode::CP_WINDOWS_1252);
}
}  // namespace

std::string DernierComposant(const std::string& Nom) {
  const size_t p = Nom.find_last_of("/\\");
  std::string dernier = p == std::string::npos ? Nom : Nom.substr(p + 1);
  if (dernier == "." || dernier == "..") dernier.clear();
  return dernier;
}

uint8_t CreerRaccourci(const std::string& Nom, const std::string& Cible, const std::vector<std::string>& Parametres,
                       const std::string& SousDossier, uint8_t Emplacement, const std::string& RepertoireTravail,
                       const std::string& Description, const std::string& Icone) {
  try {
    const std::string fichier = DernierComposant(Nom);
    if (fichier.empty()) return kErreurSysteme;
    std::optional<std::string> dossier = EntreeBureau::DossierEmplacement(Emplacement);
    if (Emplacement != kBureau && Emplacement != kMenuDemarrer) dossier.reset();
    if (!dossier) return kErreurSysteme;
    if (!SousDossier.empty()) {
      const std::string sous = DernierComposant(SousDossier);
      if (sous.empty()) return kErreurSysteme;
      *dossier += "/" + UTF8(sous);
    }
    EntreeBureau::TEntree entree;
    entree.Nom = UTF8(fichier);
    entree.Commentaire = UTF8(Description);
    entree.Commande.push_back(Cible);
    for (const std::string& p : Parametres) entree.Commande.push_back(UTF8(p));
    entree.DossierTravail = RepertoireTravail;
    entree.Icone = Icone;
    switch (EntreeBureau::Ecrire(*dossier, entree.Nom, entree)) {
      case EntreeBureau::kCreee: return kCree;
      case EntreeBureau::kExisteDeja: return kDoublon;
      default: return kErreurSysteme;
    }
  } catch (const std::exception&) {
    return kErreurSysteme;
  }
}

}  // namespace BureauWindows
