#include "base/fichiers/SupCivilite.h"

#include <cstddef>
#include <cstring>

#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Xi.h"
#include "objectdb/Traduction.h"

NV_DEFINE_CLASS(TVerificateurCivilites, TVerificateurNetXi)

bool TVerificateurCivilites::VerifierArticle(TErreur*& Erreur) {
  Erreur = nullptr;
  return true;
}

namespace SupCivilite {

namespace {

using E = TypeEnregistrementCivilite;

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupCivilite", ".CIV", 0x06, 1, kTailleStockee, true,
      {Identifiant(), Chaine("Nom", 5, 0)},
      {{true, {"Nom"}}, {false, {"Identifiant"}}},
  });
  return d;
}

// Identifiers are offsets of 6-byte records, so 1 to 5 never name a record: those values are taken
// as record numbers.
class TFichierCivilites final : public TFichierSup {
 public:
  TFichierCivilites() : TFichierSup(DescriptionFichier(), &CreerCivilitesParDefaut) {}

  bool ChercherParIdentifiant(int32_t Identifiant) override {
    if (Identifiant <= 0 || Table == nullptr) return false;
    if (Identifiant >= static_cast<int32_t>(kTailleStockee)) return TFichierSup::ChercherParIdentifiant(Identifiant);
    const uint32_t courant = Xi::NumeroCourant(Table);
    if (Xi::AllerA(Table, static_cast<uint32_t>(Identifiant))) return true;
    (void)Xi::AllerA(Table, courant);
    return false;
  }

 protected:
  TVerificateurNetXi* CreerVerificateur(int32_t NumeroTable) override {
    return new TVerificateurCivilites(NumeroTable);
  }
};

}  // namespace

TFichierSup& Fichier() {
  static TFichierCivilites fichier;
  return fichier;
}

TypeEnregistrementCivilite* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerCivilite(const std::string& Nom) {
  uint8_t stocke[kTailleStockee] = {};
  FichierSup::EcrireChaineCourte(stocke, 5, Nom);
  return Fichier().Creer(kCodeCreerCivilite, stocke, kTailleStockee,
                         [&] { std::memcpy(Article()->Nom, stocke, kTailleStockee); });
}

bool CreerCivilitesParDefaut() {
  return Fichier().ContenuParDefaut(kCodeCreerCivilitesParDefaut, [] {
    (void)CreerCivilite("");
    (void)CreerCivilite(Traduction::Traduire("SupCivilite/DefautM"));
    (void)CreerCivilite(Traduction::Traduire("SupCivilite/DefautMlle"));
    (void)CreerCivilite(Traduction::Traduire("SupCivilite/DefautMme"));
  });
}

}  // namespace SupCivilite
