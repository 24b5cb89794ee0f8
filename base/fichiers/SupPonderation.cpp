#include "base/fichiers/SupPonderation.h"

#include <cstring>

#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Xi.h"

namespace SupPonderation {

namespace {

using E = TypeEnregistrementPonderation;

// The scale of an old file, told by its first record (identifier 4): 1296000 or 1000 for the
// weighting 1. Decided once per registration, so an order received later cannot switch it.
struct TypeEchelle {
  bool Decidee = false, Diviser = false, Multiplier = false;
} echelle;

bool LireAncienne(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  uint32_t valeur;
  std::memcpy(&valeur, s, 4);
  if (!echelle.Decidee && f.IdentifiantCourant() == 4) {
    echelle = {true, valeur == 1296000, valeur == 1000};
  }
  if (echelle.Diviser) valeur /= 36;
  if (echelle.Multiplier) valeur *= 36;
  reinterpret_cast<E*>(f.Enregistrement())->Valeur = valeur;
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupPonderation", ".PON", 0x07, 2, kTailleStockee, false,
      {Identifiant(), Cardinal("Valeur", 0).Vaut(kUn)},
      {{true, {"Valeur"}}, {false, {"Identifiant"}}},
      nullptr, nullptr, nullptr,
      {{kTailleStockee, {3, 0, 21, 0}, &LireAncienne}},
  });
  return d;
}

class TFichierPonderations final : public TFichierSup {
 public:
  TFichierPonderations() : TFichierSup(DescriptionFichier(), &CreerPonderationsParDefaut) {}
  int32_t InscrireFichier() override {
    echelle = {};
    return TFichierSup::InscrireFichier();
  }
};

const uint32_t kParDefaut[] = {0,     18000, 21000, 24000, 27000, 30000, 33000, 36000, 39000, 42000,
                               45000, 48000, 51000, 54000, 57000, 60000, 63000, 66000, 69000, 72000};

}  // namespace

TFichierSup& Fichier() {
  static TFichierPonderations fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerPonderation(uint32_t Valeur) {
  return Fichier().Creer(kCodeCreerPonderation, &Valeur, kTailleStockee, [&] { Article()->Valeur = Valeur; });
}

bool CreerPonderationsParDefaut() {
  return Fichier().ContenuParDefaut(kCodeCreerPonderationsParDefaut, [] {
    if (Fichier().Table == nullptr || Xi::Nombre(Fichier().Table) != 0) return;
    (void)CreerPonderation(kUn);
    for (uint32_t v : kParDefaut) (void)CreerPonderation(v);  // the second 36000 fails on the unique value
  });
}

bool ChercherPonderationParDefaut() {
  if (Fichier().Table == nullptr) return false;
  Article()->Valeur = kUn;
  return Xi::Trouver(Fichier().Table, kOrdreValeur);
}

uint32_t PonderationParDefaut() { return Fichier().NumeroDeCle(kOrdreValeur, kUn); }

}  // namespace SupPonderation
