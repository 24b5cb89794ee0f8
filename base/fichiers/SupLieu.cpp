#include "base/fichiers/SupLieu.h"

#include <cstddef>
#include <cstring>

#include "base/fichiers/DeclarationFichier.h"

namespace SupLieu {

namespace {

using E = TypeEnregistrementLieu;

// The stored record: name at 0 (31 bytes), one unused byte, the country's identifier at 32. A country
// that is unknown (the stored 0 among them) leaves the place without one: it is never refused.
constexpr int32_t kPlacePays = 6;  // ".PAY" in the base order

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupLieu", ".LIE", 0x29, 7, kTailleStockee, false,
      {Identifiant(), Reference("Pays", kPlacePays, 32, TypeSiAbsente::Aucune), Chaine("Nom", 30, 0)},
      {{false, {"Pays"}}, {false, {"Identifiant"}}, {true, {"Nom"}}},
  });
  return d;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &CreerLieuxParDefaut);
  return fichier;
}

TypeEnregistrementLieu* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerLieu(const std::string& Nom) {
  uint8_t nom[31] = {};
  FichierSup::EcrireChaineCourte(nom, 30, Nom);
  return Fichier().Creer(
      kCodeCreerLieu, nom, sizeof nom, [&] { std::memcpy(Article()->Nom, nom, sizeof nom); }, true);
}

bool CreerLieuxParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerLieuxParDefaut); }

bool InsererLieu() { return Fichier().InsererLocalement(); }

std::string NomLieu(uint32_t NumeroArticle) { return Fichier().ChaineDe(NumeroArticle, offsetof(E, Nom), 30); }

}  // namespace SupLieu
