#include "core/objects/ObjetTemporaire.h"

#include "core/objects/RamasseMiettes.h"

NV_DEFINE_CLASS(TObjetTemporaire, TObjetInterfacable)

TObjetTemporaire::TObjetTemporaire(bool Temporaire) {
  if (Temporaire) InscrireRamasseMiettes();
}

TObjetTemporaire::~TObjetTemporaire() { DesinscrireRamasseMiettes(); }

void TObjetTemporaire::InscrireRamasseMiettes() { TRamasseMiettes::Ajouter(this); }
void TObjetTemporaire::DesinscrireRamasseMiettes() { TRamasseMiettes::Retirer(this); }
bool TObjetTemporaire::EstInscrit() const { return TRamasseMiettes::RangDe(this) >= 0; }
