// The platform's own message box: a modal form holding a text under a caption, with the buttons
// its flags ask for. It is written to the program's log ("caption : text") and shown modally, so
// that under the production modal driver it answers at once with its default button (OK for the
// OK-only box). Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/ControlesStandard.h"
#include "platform/gui/Fiches.h"

namespace BoiteMessage {

// Button sets and icons of the flags.
inline constexpr uint32_t MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNO = 0x4;
inline constexpr uint32_t MB_ICONERROR = 0x10, MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40;

}  // namespace BoiteMessage

class TBoiteMessage : public TForm {
 public:
  static constexpr const char* kNom = "BoiteMessage";
  TBoiteMessage(TComponent* Owner, const std::string& Texte, const std::string& Legende, uint32_t Drapeaux);
  // The first button of its set: OK, or Yes.
  int32_t ReponseSansUtilisateur() const override;
  uint32_t Drapeaux() const { return drapeaux_; }
  TLabel* Texte;

 private:
  uint32_t drapeaux_;
};

namespace BoiteMessage {

// Logs the message, shows the box modally and answers its modal result.
int32_t Afficher(const std::string& Texte, const std::string& Legende, uint32_t Drapeaux);

}  // namespace BoiteMessage
