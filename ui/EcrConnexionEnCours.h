// The connection wait window: one line of text shown while the client connects to the data server.
// It is created once at start-up; the connection state machine shows it and hides it. Main thread only.
#pragma once

#include <string>

#include "platform/gui/Fiches.h"
#include "ui/vclpanel.h"

class TFichePatienceConnexion : public TForm {
 public:
  explicit TFichePatienceConnexion(TComponent* Owner);

  TVokPanel* PanelMessage;

  // Shows Message, without a modal loop and without taking the focus.
  void Afficher(const std::string& Message);
};
