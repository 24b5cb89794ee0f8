// Places a printable of a report test: made for Owner, on On, at a position and size in tenths of a
// millimetre.
#pragma once

#include "reports/BandRpt.h"

template <class T>
T* PlacedControl(TComponent* Owner, TWinControl* On, double Left, double Top, double Width, double Height) {
  auto* c = new T(Owner);
  c->SetParent(On);
  c->Size.Units = TRBUnit::Native;
  c->Size.SetLeft(Left);
  c->Size.SetTop(Top);
  c->Size.SetWidth(Width);
  c->Size.SetHeight(Height);
  return c;
}
