// The scripted data server's side of the stream transfer: it serves a compressed stream per kind
// (a kind it has none of is refused), in the pieces the client asks for, and notes the positions
// asked and the acknowledgements. A test may change a stream's bytes or what is announced.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/ServeurScripte.h"

class TStreamsServeur {
 public:
  // Takes over the three stream kinds of the server.
  explicit TStreamsServeur(TServeurScripte& Serveur);

  // The compressed bytes served for a kind.
  std::map<uint8_t, std::string> Compresses;
  // Announced instead of the real size, when set.
  std::optional<uint32_t> TailleAnnoncee;
  // Every piece served counts this instead of the bytes sent, when set.
  std::optional<uint32_t> CompteAnnonce;
  // Sends, for a kind, the content deflated (default level).
  void Servir(uint8_t Genre, const std::string& Contenu);

  struct Demande {
    uint8_t Genre;
    uint32_t Position;
  };
  std::vector<Demande> Demandes;       // CM_DEMANDER_STREAM_SUIVANT received
  std::vector<uint8_t> Acquittements;  // CM_STREAM_BIEN_RECU received
  std::vector<uint8_t> Annonces;       // CM_DEMANDER_STREAM received
};
