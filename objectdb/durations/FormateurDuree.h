// Durations (doubles counting days) written as readable text and read back: the exact value, then
// its breakdown into days, hours, minutes, seconds and milliseconds in French words. The duration
// arrays use it for the text of an element and for their traces.
#pragma once

#include <string>

#include "core/objects/Erreur.h"

class TCustomFormateurDuree : public TObject {
  NV_DECLARE_CLASS(TCustomFormateurDuree)
 public:
  TCustomFormateurDuree() = default;
  explicit TCustomFormateurDuree(TBlank b) : TObject(b) {}

  virtual void DureeEnTexte(double Duree, std::string& Texte) = 0;
  // Nil when Texte is a duration; otherwise an error (without parent, so the collector's).
  virtual TErreur* TexteEnDuree(const std::string& Texte, double& Duree) = 0;
};

class TFormateurDureePourDebogage : public TCustomFormateurDuree {
  NV_DECLARE_CLASS(TFormateurDureePourDebogage)
 public:
  TFormateurDureePourDebogage() = default;
  explicit TFormateurDureePourDebogage(TBlank b) : TCustomFormateurDuree(b) {}

  // "NAN", "+ infini", "- infini", "0", or "<value> soit[- ]<breakdown>".
  void DureeEnTexte(double Duree, std::string& Texte) override;
  // The leading number of the text (before its first blank), or the three special texts.
  TErreur* TexteEnDuree(const std::string& Texte, double& Duree) override;
};

// A text that is not a duration.
class TErreurChaineEnDuree : public TErreur {
  NV_DECLARE_CLASS(TErreurChaineEnDuree)
 public:
  TErreurChaineEnDuree(const std::string& Chaine, const std::string& Complement);
  explicit TErreurChaineEnDuree(TBlank b) : TErreur(b) {}
};

namespace FormateurDuree {
// The number format of duration texts: general format, at most 15 significant digits, "." as the
// decimal separator, no thousands separator.
std::string NombreEnTexte(double Valeur);
// Reads such a number; false when Texte is not one.
bool TexteEnNombre(const std::string& Texte, double& Valeur);
// Registers the unit's resource strings.
void Initialiser();
}  // namespace FormateurDuree
