#include "net/utilisateurs/Utilisateur.h"

#include <iterator>

#include "core/records/Xi.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/ProfilServeur.h"

namespace Utilisateur {
namespace {

struct Etat {
  std::string code;
  uint32_t profilServeur = 0;
};
Etat& E() {
  static Etat e;
  return e;
}

std::string CodeCourant() { return BaseUtilisateurs::Utilisateurs()->Code.Texte(); }

// Saves the positions of the tables a routine moves and restores them when it ends.
class PositionsSauvees {
 public:
  PositionsSauvees() {
    for (void* t : tables_) Xi::SauverPosition(t);
  }
  ~PositionsSauvees() {
    for (auto it = std::rbegin(tables_); it != std::rend(tables_); ++it) (void)Xi::RestaurerPosition(*it);
  }
  PositionsSauvees(const PositionsSauvees&) = delete;
  PositionsSauvees& operator=(const PositionsSauvees&) = delete;

 private:
  void* tables_[4] = {BaseUtilisateurs::Utilisateurs(), BaseUtilisateurs::GroupesUtilisateurs(),
                      BaseUtilisateurs::ProfilsServeurs(), BaseUtilisateurs::Affectations()};
};

// The kind of the profile the current user record holds in P; 3 when none. Moves the tables.
uint8_t Genre(uint32_t P) {
  const uint32_t ident = BaseUtilisateurs::Utilisateurs()->Identifiant;
  if (!BaseUtilisateurs::UtilisateurAffecteAuProfilServeur(ident, P)) return 3;
  return BaseUtilisateurs::GroupesUtilisateurs()->Genre;
}

}  // namespace

std::string& CodeUtilisateurCourant() { return E().code; }
uint32_t& IdentProfilServeurConnexion() { return E().profilServeur; }

bool ChercherUtilisateur(uint32_t Ident) { return BaseUtilisateurs::ChercherUtilisateurParIdent(Ident); }
bool ChercherUtilisateurParCode(std::string_view Code) { return BaseUtilisateurs::ChercherUtilisateurParCode(Code); }

bool EstSuperUtilisateur() { return CodeCourant() == kCodeSuperUtilisateur; }
bool EstInvite() { return CodeCourant() == kCodeInvite; }

bool AccedeProfilServeur(uint32_t P) {
  if (EstSuperUtilisateur()) return true;
  if (EstInvite()) return false;
  PositionsSauvees s;
  return Genre(P) == kGenreAdministration;
}

bool AffecteAuProfilServeur(uint32_t P) {
  if (EstSuperUtilisateur() || EstInvite()) return true;
  PositionsSauvees s;
  return Genre(P) != 3;
}

uint8_t GenreProfilUtilisateur(uint32_t P) {
  PositionsSauvees s;
  return Genre(P);
}

bool UtilisateurCourantEstSuperUtilisateur() { return E().code == kCodeSuperUtilisateur; }

bool UtilisateurCourantAccedeProfilServeur() {
  const uint32_t profil = BaseUtilisateurs::ProfilsServeurs()->Identifiant();
  PositionsSauvees s;
  return ChercherUtilisateurParCode(E().code) && AccedeProfilServeur(profil);
}

bool UtilisateurAccedeProfilServeurCourant(std::string_view Code) {
  PositionsSauvees s;
  return ChercherUtilisateurParCode(Code) && ProfilServeur::ChercherProfilServeur(E().profilServeur) &&
         AccedeProfilServeur(E().profilServeur);
}

bool ControlerLogin(std::string_view Code, std::string_view MotDePasse, int32_t& Resultat) {
  PositionsSauvees s;
  int32_t statut = 0;
  const bool ok = BaseUtilisateurs::VerifierLogin(Code, MotDePasse, statut, false);
  Resultat = statut == 0 ? LoginOk : statut == 1 ? LoginInconnu : MotDePasseIncorrect;
  return ok;
}

void Initialiser() { E() = Etat{}; }

}  // namespace Utilisateur
