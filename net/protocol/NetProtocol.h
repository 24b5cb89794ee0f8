// The rows of the protocol trace window: one row per trace entry, oldest first, in six columns. The
// window itself comes with the user-interface stand-ins; this is what it shows.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace NetProtocol {

inline constexpr std::string_view kTitre = "Trace protocole de communication";

struct TypeColonne {
  std::string_view Titre;
  int Largeur;  // pixels
};
// "Heure", "Ordre", "Sens", "Proto.", "IP", "Processus".
std::span<const TypeColonne, 6> Colonnes();

// Row r (the trace entry at position r): the time "hh:nn:ss", "<name> (<kind>)", "<--" for a received
// message and "-->" for a sent one, "???", the sender's dotted IPv4 address, the connection
// identifier in decimal.
std::array<std::string, 6> Ligne(size_t r);
size_t NombreLignes();

}  // namespace NetProtocol
