// The program's own registry object, created once at start-up: it holds the per-version root key
// of the program ("Software\Norvane\" + product + "\" + major.minor + "\") and reads and writes the
// "Session" values below it. The unit also holds the program's reversible encoding of a text, used
// for values that must not be readable as they are (the login among the NT service's parameters).
#pragma once

#include <cstdint>
#include <string>

#include "net/Version.h"
#include "streams/VCLRegis.h"

namespace Registre {

// Failures never raise: they leave an empty value and set the error flag and texts.
class TRegistre {
 public:
  bool Erreur() const { return etat_.Erreur; }
  const std::string& TexteErreur() const { return etat_.Texte; }
  const std::string& DetailErreur() const { return etat_.Detail; }

  // Creates the machine hive's key Chemin when needed and writes a text value.
  void EcrireChaineMachine(const std::string& Chemin, const std::string& Nom, const std::string& Valeur);
  // A text value of at most 16383 bytes; empty when it is missing (or longer).
  void LireChaineMachine(const std::string& Chemin, const std::string& Nom, std::string& Valeur);
  void LireChaineUtilisateur(const std::string& Chemin, const std::string& Nom, std::string& Valeur);
  // The machine hive's value under the root's "Session", written / read; a read falls back on the
  // user hive's value when the machine's is empty.
  void EcrireValeurSession(const std::string& Nom, const std::string& Valeur);
  void LireValeurSession(const std::string& Nom, std::string& Valeur);

 private:
  void LireChaine(TRegistryHive Ruche, const std::string& Chemin, const std::string& Nom, std::string& Valeur);

  VCLRegis::TEtatErreur etat_;
};

// Fills the program's version record.
using TLireVersion = void (*)(TypeVersion& Version);

// Called once by the application at start-up: creates the registry object, builds the root key
// from the version record that LireVersion gives, then loads "NombreBasesMemorisees" from the
// session values (5 when missing or not a number) and writes it back.
void InitialiserRegistre(TLireVersion LireVersion);
// The registry object; nil before InitialiserRegistre and after the unit's shut-down.
TRegistre* Registre();
// The root key of the program, empty before InitialiserRegistre.
const std::string& RacineProgramme();
int32_t NombreBasesMemorisees();

// Encodes (Coder True) or decodes (Coder False) a text with the program's built-in pass phrase.
// The encoded text holds only the digits and the letters A to F, 2 x (48 + 32 x ceil(length / 16))
// of them. A text that is not such an encoding, or whose check does not hold, decodes to the
// empty text.
void CoderValeur(const std::string& Texte, bool Coder, std::string& Resultat);

// Shut-down of the unit: frees the registry object.
void Finaliser();

}  // namespace Registre
