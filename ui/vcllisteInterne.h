// What the two sources of the list control share: its resource strings and the raising of its
// geometry errors.
#pragma once

#include "core/values/ChaineRessource.h"
#include "ui/vclliste.h"

namespace vclliste {

extern const TChaineRessource RS_TropSupprimees;
extern const TChaineRessource RS_GrilleTropGrande;
extern const TChaineRessource RS_IndexHorsLimites;
extern const TChaineRessource Consts_SIndexOutOfRange;
extern const TChaineRessource Consts_SFixedColTooBig;
extern const TChaineRessource Consts_SFixedRowTooBig;

// Raises EInvalidListOperation with the string's text.
[[noreturn]] void ErreurListe(const TChaineRessource& Chaine);

}  // namespace vclliste
