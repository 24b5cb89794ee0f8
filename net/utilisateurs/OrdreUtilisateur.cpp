#include "net/utilisateurs/OrdreUtilisateur.h"

#include <cstring>

#include "core/records/Xi.h"
#include "net/protocol/PetitBoutiste.h"
#include "net/utilisateurs/ProfilServeur.h"

namespace OrdreUtilisateur {

namespace {

struct Crochets {
  std::function<void(int32_t, TypeGenreModif)> avant;
  std::function<void(int32_t, TypeGenreModif)> apres;
};
Crochets& LesCrochets() {
  static Crochets c;
  return c;
}

// One table of the user base as an order sees it.
struct TypeTable {
  void* table;
  std::function<bool(uint32_t)> chercher;
  std::function<bool()> supprimerCourant;
  // Reads the record and creates or changes it; False when it is not whole or the base refused.
  std::function<bool(const uint8_t*, int32_t, uint32_t Ident, TypeGenreModif)> ecrire;
};

bool TypeTablePour(int32_t numero, TypeTable& t) {
  using namespace BaseUtilisateurs;
  switch (numero) {
    case kProfilsServeurs:
      t = {ProfilsServeurs(), ProfilServeur::ChercherProfilServeur, SupprimerProfilServeurCourant,
           [](const uint8_t* d, int32_t n, uint32_t ident, TypeGenreModif g) {
             if (n != kTailleProfilServeur) return false;
             TypeProfilServeur e;
             std::memcpy(e.Octets, d, kTailleProfilServeur);
             e.DefinirIdentifiant(ident);
             return g == GM_Creation ? CreerProfilServeur(e) : ModifierProfilServeur(e);
           }};
      return true;
    case kUtilisateurs:
      t = {Utilisateurs(), ChercherUtilisateurParIdent, SupprimerUtilisateurCourant,
           [](const uint8_t* d, int32_t n, uint32_t ident, TypeGenreModif g) {
             TypeUtilisateur e;
             if (!LireUtilisateur(d, n, e)) return false;
             e.Identifiant = ident;
             return g == GM_Creation ? CreerUtilisateur(e) : ModifierUtilisateur(e);
           }};
      return true;
    case kProfilsUtilisateurs:
      t = {GroupesUtilisateurs(), ChercherProfilUtilisateur, SupprimerGroupeUtilisateursCourant,
           [](const uint8_t* d, int32_t n, uint32_t ident, TypeGenreModif g) {
             if (n != kTailleProfilUtilisateur) return false;
             TypeGroupeUtilisateurs e = LireProfilUtilisateur(d);
             e.Identifiant = ident;
             return g == GM_Creation ? CreerGroupeUtilisateurs(e) : ModifierGroupeUtilisateurs(e);
           }};
      return true;
    case kAffectations:
      t = {Affectations(), ChercherAffectation, SupprimerAffectationCourante,
           [](const uint8_t* d, int32_t n, uint32_t ident, TypeGenreModif g) {
             if (n != kTailleAffectation) return false;
             TypeAffectation e = TypeAffectation::DepuisOctets(d);
             e.Identifiant = ident;
             return g == GM_Creation ? CreerAffectation(e) : ModifierAffectation(e);
           }};
      return true;
    default:
      return false;
  }
}

}  // namespace

std::function<void(int32_t, TypeGenreModif)>& Avant() { return LesCrochets().avant; }
std::function<void(int32_t, TypeGenreModif)>& Apres() { return LesCrochets().apres; }

TypeGroupeUtilisateurs LireProfilUtilisateur(const uint8_t* Octets) {
  TypeGroupeUtilisateurs e;
  e.Identifiant = PetitBoutiste::LireCardinal(Octets);
  std::memcpy(e.Nom.Octets, Octets + 4, sizeof e.Nom.Octets);
  if (e.Nom.Octets[0] > 32) e.Nom.Octets[0] = 32;
  e.Genre = Octets[37];
  std::memcpy(e.Droits.data(), Octets + 38, e.Droits.size());
  e.Recu = Octets[70] != 0;
  return e;
}

bool Appliquer(const void* Donnees, int32_t Taille) {
  if (Donnees == nullptr || Taille < kTailleEntete) return false;
  const auto* octets = static_cast<const uint8_t*>(Donnees);
  const uint8_t genre = octets[0];
  const uint32_t numero = PetitBoutiste::LireCardinal(octets + 1);
  const uint32_t ident = PetitBoutiste::LireCardinal(octets + 5);
  TypeTable t;
  if (genre > GM_Suppression || numero > 4 || !TypeTablePour(static_cast<int32_t>(numero), t) || t.table == nullptr)
    return false;
  const auto g = static_cast<TypeGenreModif>(genre);
  Xi::SauverPosition(t.table);
  bool fait = false;
  if (g == GM_Creation || t.chercher(ident)) {
    if (LesCrochets().avant) LesCrochets().avant(static_cast<int32_t>(numero), g);
    fait = g == GM_Suppression ? t.supprimerCourant()
                               : t.ecrire(octets + kTailleEntete, Taille - kTailleEntete, ident, g);
    if (LesCrochets().apres) LesCrochets().apres(static_cast<int32_t>(numero), g);
  }
  (void)Xi::RestaurerPosition(t.table);
  return fait;
}

void Initialiser() { LesCrochets() = Crochets{}; }
void Finaliser() { LesCrochets() = Crochets{}; }

}  // namespace OrdreUtilisateur
