// An object that can be handed to the collector at creation: the temporary objects of a call (the
// visitors of a walk, for instance) then need no explicit release and are freed at the next turn of
// the main loop.
#pragma once

#include "core/objects/ObjetInterfacable.h"

class TObjetTemporaire : public TObjetInterfacable {
  NV_DECLARE_CLASS(TObjetTemporaire)
 public:
  // Temporaire: the collector owns the new object; otherwise its creator does.
  explicit TObjetTemporaire(bool Temporaire);
  explicit TObjetTemporaire(TBlank b) : TObjetInterfacable(b) {}
  // Always takes the object back from the collector first.
  ~TObjetTemporaire() override;

  void InscrireRamasseMiettes();
  void DesinscrireRamasseMiettes();
  bool EstInscrit() const;
};
