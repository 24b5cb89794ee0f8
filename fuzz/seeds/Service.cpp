// Seeds of the web service's readers: its login file.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/seeds/Semences.h"
#include "streams/Registre.h"

namespace Semences {
namespace {

// The service's login file as its installation writes it, with or without a line end.
void SemencesLoginService() {
  std::string code;
  Registre::CoderValeur("3 ABCmotdepasse", true, code);
  Ecrire("LoginService", "fichier", Texte(code));
  Ecrire("LoginService", "ligne", Texte(code + "\n"));
  Ecrire("LoginService", "clair", Texte("3 ABCmotdepasse"));
}

}  // namespace

void Service() {
  SemencesLoginService();
}

}  // namespace Semences
