// The common behaviour of the wait windows: none of them is modal, but while one is shown every
// other task window is disabled (the user cannot act on the rest of the program while the caller's
// code keeps running), and hiding it enables again exactly the windows its showing disabled. A
// wait window writes one line to the program's log when it is shown (its text), none per step.
// Main thread only.
#pragma once

#include <string>

#include "platform/gui/Fiches.h"

class TFenetreAttente : public TForm {
 public:
  explicit TFenetreAttente(TComponent* Owner);
  ~TFenetreAttente() override;
  // The windows the current showing disabled.
  const TListeFenetres& Desactivees() const { return desactivees_; }

 protected:
  // The line written when the window is shown (nothing when empty).
  virtual std::string TexteJournal() const { return Caption(); }
  void VisibleChanged() override;

 private:
  TListeFenetres desactivees_;
};
