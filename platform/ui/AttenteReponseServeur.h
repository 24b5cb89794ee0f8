// The wait while the data server processes a request, headless. The task windows are disabled for
// the length of the wait (no user action may start another change meanwhile) and a borderless wait
// window named "AttenteReponseServeur" may be shown. There is no screen on the server: disabling
// counts the waits under way, and the window only keeps its caption and whether it is shown, so
// the rest of the program can ask as it would ask the window library. Main thread only.
#pragma once

#include <string>

namespace FenetresTaches {

// Disables the task windows for its lifetime; nests.
class TDesactivation {
 public:
  TDesactivation();
  ~TDesactivation();
  TDesactivation(const TDesactivation&) = delete;
  TDesactivation& operator=(const TDesactivation&) = delete;
};

// True while no wait has them disabled.
bool Actives();

}  // namespace FenetresTaches

class TAttenteReponseServeur {
 public:
  static constexpr const char* kNom = "AttenteReponseServeur";
  static constexpr int kLargeur = 297;
  static constexpr int kHauteur = 45;

  // Caption: the translated text the label shows.
  explicit TAttenteReponseServeur(std::string Caption) : caption_(std::move(Caption)) {}
  const std::string& Caption() const { return caption_; }
  void Afficher() { visible_ = true; }
  void Masquer() { visible_ = false; }
  bool Visible() const { return visible_; }

 private:
  std::string caption_;
  bool visible_ = false;
};
