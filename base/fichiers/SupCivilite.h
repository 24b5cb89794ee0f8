// Civilities (".CIV"): the forms of address of teachers. The file is verified.
#pragma once

#include <cstdint>
#include <string>

#include "base/VerificateurNetXi.h"
#include "base/fichiers/FichierSup.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementCivilite {
  int32_t Identifiant;
  uint8_t Nom[6];  // counted string of 5
  uint8_t Fin[2];
};
static_assert(sizeof(TypeEnregistrementCivilite) == 12);

// Accepts every civility record.
class TVerificateurCivilites : public TVerificateurNetXi {
  NV_DECLARE_CLASS(TVerificateurCivilites)
 public:
  using TVerificateurNetXi::TVerificateurNetXi;
  bool VerifierArticle(TErreur*& Erreur) override;
};

namespace SupCivilite {

inline constexpr uint32_t kTailleStockee = 6;
inline constexpr int32_t kOrdreNom = 1, kOrdreIdentifiant = 2;
inline constexpr uint32_t kCodeCreerCivilitesParDefaut = 0x80060000;
inline constexpr uint32_t kCodeCreerCivilite = 0x80060100;

TFichierSup& Fichier();
TypeEnregistrementCivilite* Article();
bool CreerCivilite(const std::string& Nom);
// The empty name, then the translations of "SupCivilite/DefautM", "SupCivilite/DefautMlle" and
// "SupCivilite/DefautMme", each a creation of its own.
bool CreerCivilitesParDefaut();

}  // namespace SupCivilite
