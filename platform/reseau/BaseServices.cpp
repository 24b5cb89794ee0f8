#include "platform/reseau/BaseServices.h"

#include <netdb.h>

#include <array>

namespace BaseServices {

namespace {
TypeBaseServices& Installee() {
  static TypeBaseServices base;
  return base;
}
}  // namespace

void Definir(TypeBaseServices Base) { Installee() = std::move(Base); }

std::optional<uint16_t> Chercher(const std::string& Nom, const std::string& Protocole) {
  if (const TypeBaseServices& base = Installee()) return base(Nom, Protocole);
  return ChercherSysteme(Nom, Protocole);
}

std::optional<uint16_t> ChercherSysteme(const std::string& Nom, const std::string& Protocole) {
  // A name with a NUL inside would be cut by the C library: no service has one.
  if (Nom.empty() || Nom.find('\0') != std::string::npos || Protocole.find('\0') != std::string::npos)
    return std::nullopt;
  servent entree{};
  servent* resultat = nullptr;
  std::array<char, 4096> tampon{};
  if (::getservbyname_r(Nom.c_str(), Protocole.empty() ? nullptr : Protocole.c_str(), &entree, tampon.data(),
                        tampon.size(), &resultat) != 0 ||
      !resultat)
    return std::nullopt;
  // s_port holds the 16-bit port in network byte order in an int.
  return static_cast<uint16_t>(resultat->s_port);
}

}  // namespace BaseServices
