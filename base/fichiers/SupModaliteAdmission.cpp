#include "base/fichiers/SupModaliteAdmission.h"

#include <cstddef>
#include <cstring>

#include "base/fichiers/DeclarationFichier.h"

namespace SupModaliteAdmission {

namespace {

using E = TypeEnregistrementModalite;

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupModaliteAdmission", ".MAD", 0x2E, 5, kTailleStockee, false,
      {Identifiant(), Chaine("Nom", 60, 0)},
      {{false, {"Identifiant"}}, {true, {"Nom"}}},
  });
  return d;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &CreerModalitesParDefaut);
  return fichier;
}

TypeEnregistrementModalite* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerModalite(const std::string& Nom) {
  uint8_t stocke[kTailleStockee] = {};
  FichierSup::EcrireChaineCourte(stocke, 60, Nom);
  return Fichier().Creer(kCodeCreerModalite, stocke, kTailleStockee,
                         [&] { std::memcpy(Article()->Nom, stocke, kTailleStockee); });
}

bool CreerModalitesParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerModalitesParDefaut); }

std::string NomModalite(uint32_t NumeroArticle) { return Fichier().ChaineDe(NumeroArticle, offsetof(E, Nom), 60); }

}  // namespace SupModaliteAdmission
