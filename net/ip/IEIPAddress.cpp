#include "net/ip/IEIPAddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>

#include "core/objects/Erreur.h"
#include "core/values/Ansi1252.h"
#include "core/values/Format.h"

std::unique_ptr<TIPAddress> TIPAddress::Any() { return std::make_unique<TIPAddress>(htonl(INADDR_ANY)); }
std::unique_ptr<TIPAddress> TIPAddress::Loopback() { return std::make_unique<TIPAddress>(htonl(INADDR_LOOPBACK)); }
std::unique_ptr<TIPAddress> TIPAddress::Broadcast() { return std::make_unique<TIPAddress>(htonl(INADDR_BROADCAST)); }

std::unique_ptr<TIPAddress> TIPAddress::Parse(const std::string& Texte) {
  std::string t = Texte;
  t.erase(std::remove(t.begin(), t.end(), ' '), t.end());
  if (t == "255.255.255.255") return Broadcast();
  const in_addr_t a = ::inet_addr(t.c_str());
  // A text holding a zero byte would be cut short by the parser: it is no address.
  if (a == INADDR_NONE || t.find('\0') != std::string::npos) return nullptr;
  return std::make_unique<TIPAddress>(a);
}

TErreur* TIPAddress::TryParse(const std::string& Texte) {
  if (Parse(Texte)) return nullptr;
  return new TErreur(Format("la chaîne %s n'est pas une adresse valide"_ansi, {Texte}));
}

std::string TIPAddress::ToString() const {
  const auto* o = reinterpret_cast<const uint8_t*>(&Adresse);
  return std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." + std::to_string(o[3]);
}

uint16_t TIPAddress::HostToNetworkOrder(uint16_t Valeur) { return htons(Valeur); }
uint16_t TIPAddress::NetworkToHostOrder(uint16_t Valeur) { return ntohs(Valeur); }
