#include "base/fichiers/SupLieu.h"

#include <cstddef>
#include <cstring>

#include "base/fichiers/SupPays.h"

namespace SupLieu {

namespace {

using E = TypeEnregistrementLieu;

// The stored record: name at 0 (31 bytes), one unused byte, the country's identifier at 32.
constexpr int32_t kStockeNom = 0, kStockePays = 32;

// An unknown country (the stored 0 among them) leaves the place without one; never refused.
bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  FichierSup::CopierChaineCourte(e->Nom, 30, s + kStockeNom, 30);
  int32_t identifiantPays;
  std::memcpy(&identifiantPays, s + kStockePays, 4);
  e->Pays = SupPays::Fichier().NumeroDeIdentifiant(identifiantPays);
  return true;
}

bool Ecrire(TFichierSup& f, uint8_t* s) {
  const E* e = reinterpret_cast<const E*>(f.Enregistrement());
  FichierSup::CopierChaineCourte(s + kStockeNom, 30, e->Nom, 30);
  const int32_t identifiantPays = SupPays::Fichier().IdentifiantDe(e->Pays);
  std::memcpy(s + kStockePays, &identifiantPays, 4);
  return true;
}

const TypeDescriptionFichier kDescription{
    "SupLieu",
    ".LIE",
    0x29,
    7,
    sizeof(E),
    {
        {false, {{offsetof(E, Pays), 4, &Comparai::ComparerCardinal}}},
        {false, {{offsetof(E, Identifiant), 4, &Comparai::ComparerEntierBis}}},
        {true, {{offsetof(E, Nom), 31, &Comparai::ComparerChaineCourte}}},
    },
    kOrdreIdentifiant,
    {{kTailleStockee, {}, &Lire}},
    &Ecrire,
    nullptr,
    false,
};

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(kDescription);
  return fichier;
}

TypeEnregistrementLieu* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerLieu(const std::string& Nom) {
  uint8_t nom[31] = {};
  FichierSup::EcrireChaineCourte(nom, 30, Nom);
  return Fichier().Creer(
      kCodeCreerLieu, nom, sizeof nom, [&] { std::memcpy(Article()->Nom, nom, sizeof nom); }, true);
}

bool InsererLieu() { return Fichier().InsererLocalement(); }

std::string NomLieu(uint32_t NumeroArticle) { return Fichier().ChaineDe(NumeroArticle, offsetof(E, Nom), 30); }

}  // namespace SupLieu
