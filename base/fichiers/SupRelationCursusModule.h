// Which module belongs to which curriculum (".RCM"). A module is linked at most once to a curriculum.
// The file is verified: a relation is sound while its curriculum and its module both exist.
#pragma once

#include <cstdint>
#include <functional>

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

// --- Walks. The relations of the owner are collected first (order 1 for a curriculum, order 2 for a
// module); then Traitement is called with each collected relation that still exists current, in
// record-number order, until it answers True. The result is the last answer, False when nothing
// was called. The positions of the owner's file and of the relations are kept. Collecting first
// lets Traitement delete relations; it positions ".MDL" or ".CUR" itself when it needs them.
// The modules of the current curriculum.
bool PourChaqueModuleDuCursus(const std::function<bool()>& Traitement);
// The modules of the curriculum of that record number.
bool PourChaqueModuleDuCursusDonne(uint32_t Cursus, const std::function<bool()>& Traitement);
// The curricula of the current module.
bool PourChaqueCursusDuModule(const std::function<bool()>& Traitement);

}  // namespace SupRelationCursusModule
