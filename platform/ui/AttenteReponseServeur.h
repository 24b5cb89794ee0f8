// The wait while the data server processes a request. The task windows are disabled for the length
// of the wait (no user action may start another change meanwhile), and a borderless wait window
// named "AttenteReponseServeur" may be shown. Main thread only.
#pragma once

#include <string>

#include "platform/gui/ControlesStandard.h"
#include "platform/ui/FenetreAttente.h"

namespace FenetresTaches {

// Disables the visible task windows for its lifetime and enables again those it disabled; nests.
class TDesactivation {
 public:
  TDesactivation();
  ~TDesactivation();
  TDesactivation(const TDesactivation&) = delete;
  TDesactivation& operator=(const TDesactivation&) = delete;

 private:
  TListeFenetres desactivees_;
};

// True while no wait has them disabled.
bool Actives();

}  // namespace FenetresTaches

class TAttenteReponseServeur : public TFenetreAttente {
 public:
  static constexpr const char* kNom = "AttenteReponseServeur";
  static constexpr int kLargeur = 297;
  static constexpr int kHauteur = 45;

  // Caption: the translated text the label shows.
  explicit TAttenteReponseServeur(std::string Caption, TComponent* Proprietaire = nullptr);
  void Afficher() { Show(); }
  void Masquer() { Hide(); }
  TLabel* Texte;

 protected:
  // Shown for every request to the server: too frequent for the log.
  std::string TexteJournal() const override { return {}; }
};
