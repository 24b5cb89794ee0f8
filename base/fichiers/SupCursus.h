// Curricula (".CUR"): named courses of study made of modules. Bases older than format 4.0.99 store
// the label alone.
#pragma once

#include "base/fichiers/SupModule.h"

namespace SupCursus {

inline constexpr uint32_t kTailleStockeeAvant4099 = 31;  // the label alone

TFichierSup& Fichier();
TypeEnregistrementModuleCursus* Article();

}  // namespace SupCursus
