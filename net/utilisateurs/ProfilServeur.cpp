#include "net/utilisateurs/ProfilServeur.h"

#include <cstring>

#include "core/records/Xi.h"
#include "core/values/Format.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/BureauWindows.h"
#include "objectdb/Traduction.h"
#include "platform/ressources/ModuleRessources.h"
#include "platform/ui/VclDialogue.h"

namespace ProfilServeur {

namespace {
const char* CleRaccourci(uint8_t Resultat) {
  switch (Resultat) {
    case BureauWindows::kCree: return "ProfilServeurListeSimpleProfilsServeurRaccourciOK";
    case BureauWindows::kDoublon: return "ProfilServeurListeSimpleProfilsServeurErreurDoublonRaccourci";
    default: return "ProfilServeurListeSimpleProfilsServeurErreurSystemRaccourci";
  }
}
}  // namespace

bool ChercherProfilServeur(uint32_t Ident) {
  auto* p = BaseUtilisateurs::ProfilsServeurs();
  if (p == nullptr) return false;
  *p = TypeProfilServeur{};
  p->DefinirIdentifiant(Ident);
  Xi::Chercher(p, BaseUtilisateurs::kProfilIdent);
  return Xi::XiStatut == Xi::kStatutEgal;
}

bool ChercherProfilServeurParNom(std::string_view Nom) {
  auto* p = BaseUtilisateurs::ProfilsServeurs();
  if (p == nullptr) return false;
  *p = TypeProfilServeur{};
  p->DefinirNom(Nom);
  Xi::Chercher(p, BaseUtilisateurs::kProfilNom);
  return Xi::XiStatut == Xi::kStatutEgal;
}

void NomProfilServeur(uint32_t Ident, std::string& Nom) {
  Nom.clear();
  auto* p = BaseUtilisateurs::ProfilsServeurs();
  if (p == nullptr) return;
  Xi::SauverPosition(p);
  if (ChercherProfilServeur(Ident)) Nom = p->Nom();
  (void)Xi::RestaurerPosition(p);
}

void CreerRaccourciProfilServeur(uint32_t Ident) {
  auto* p = BaseUtilisateurs::ProfilsServeurs();
  if (p == nullptr) return;
  Xi::SauverPosition(p);
  struct Restauration {
    TypeProfilServeur* p;
    ~Restauration() { (void)Xi::RestaurerPosition(p); }
  } restauration{p};
  if (!ChercherProfilServeur(Ident)) return;
  const std::string nom = p->Nom();
  const uint8_t resultat = BureauWindows::CreerRaccourci(
      Format(Traduction::Traduire("ProfilServeurEcrSvcWPrincipalFormatNomRaccourci"), {nom}),
      ModuleRessources::FichierProgramme(), {nom}, "", BureauWindows::kBureau, "",
      Format(Traduction::Traduire("ProfilServeurEcrSvcWPrincipalFormatDescriptionRaccourci"), {nom}), "");
  (void)VclDialogue::AfficherMessage(true, Traduction::Traduire(CleRaccourci(resultat)), "", VclDialogue::kInformationOuConfirmation,
                                     VclDialogue::kOk, true);
}

}  // namespace ProfilServeur
