#include "net/protocol/NetProtocol.h"

#include "core/values/DateTime.h"
#include "net/protocol/VclProtocole.h"

namespace NetProtocol {

namespace {
constexpr TypeColonne kColonnes[6] = {{"Heure", 50}, {"Ordre", 220}, {"Sens", 50},
                                      {"Proto.", 70}, {"IP", 100},   {"Processus", 100}};

std::string DeuxChiffres(unsigned v) { return std::string{char('0' + v / 10 % 10), char('0' + v % 10)}; }
}  // namespace

std::span<const TypeColonne, 6> Colonnes() { return kColonnes; }

size_t NombreLignes() { return VclProtocole::NombreTraces(); }

std::array<std::string, 6> Ligne(size_t r) {
  const TypeTraceProtocole& t = VclProtocole::Trace(r);
  unsigned h, n, s, ms;
  DateTime::DecodeTime(t.Heure, h, n, s, ms);
  const uint8_t* ip = t.AdresseIp.data() + 4;
  return {DeuxChiffres(h) + ":" + DeuxChiffres(n) + ":" + DeuxChiffres(s),
          t.Nom + " (" + std::to_string(static_cast<int32_t>(t.Id)) + ")",
          t.Sens != 0 ? "-->" : "<--",
          "???",
          std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." + std::to_string(ip[3]),
          std::to_string(t.IdentConnexion)};
}

}  // namespace NetProtocol
