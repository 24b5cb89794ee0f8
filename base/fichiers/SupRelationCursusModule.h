// Which module belongs to which curriculum (".RCM"). A module is linked at most once to a curriculum.
// The file is verified: a relation is sound while its curriculum and its module both exist.
#pragma once

#include <cstdint>

#include "base/VerificateurNetXi.h"
#include "base/fichiers/FichierSup.h"

struct TypeEnregistrementRelationCursusModule {
  int32_t Identifiant;
  uint32_t Cursus;  // record number in ".CUR"
  uint32_t Module;  // record number in ".MDL"
};
static_assert(sizeof(TypeEnregistrementRelationCursusModule) == 12);

class TVerificateurRelationCursusModule : public TVerificateurNetXi {
  NV_DECLARE_CLASS(TVerificateurRelationCursusModule)
 public:
  using TVerificateurNetXi::TVerificateurNetXi;
  // "Erreur sur la RelationCursusModule numero = <record number>" when a side is gone.
  bool VerifierArticle(TErreur*& Erreur) override;
};

namespace SupRelationCursusModule {

inline constexpr uint32_t kTailleStockee = 8;  // curriculum identifier at 0, module identifier at 4
inline constexpr int32_t kOrdreCursus = 1, kOrdreModule = 2, kOrdreIdentifiant = 3;

TFichierSup& Fichier();
TypeEnregistrementRelationCursusModule* Article();

}  // namespace SupRelationCursusModule
