#include "tests/support/StreamsServeur.h"

#include <algorithm>

#include "net/protocol/GenresMessages.h"
#include "net/transport/TransfertStream.h"

using namespace GenresMessages;
using namespace TransfertStream;

namespace {
template <std::size_t N>
std::string Texte(const std::array<uint8_t, N>& a) {
  return std::string(a.begin(), a.end());
}
}  // namespace

TStreamsServeur::TStreamsServeur(TServeurScripte& Serveur) {
  Serveur.Traitements[CM_DEMANDER_STREAM] = [this](TServeurScripte& S, const TypeMessageRecu& m) {
    if (m.Donnees.size() != 1) return;
    const auto genre = static_cast<uint8_t>(m.Donnees[0]);
    Annonces.push_back(genre);
    const auto it = Compresses.find(genre);
    if (it == Compresses.end()) {
      S.Envoyer(CM_STREAM_REFUSE, Texte(StreamRefuse(genre)));
      return;
    }
    S.Envoyer(CM_STREAM_PRET, Texte(StreamPret(genre, TailleAnnoncee.value_or(uint32_t(it->second.size())))));
  };
  Serveur.Traitements[CM_DEMANDER_STREAM_SUIVANT] = [this](TServeurScripte& S, const TypeMessageRecu& m) {
    TypeSuivant s;
    if (!LireSuivant(reinterpret_cast<const uint8_t*>(m.Donnees.data()), uint32_t(m.Donnees.size()), s)) return;
    Demandes.push_back({s.Genre, s.Position});
    const std::string& octets = Compresses[s.Genre];
    const std::size_t debut = std::min<std::size_t>(s.Position, octets.size());
    const auto compte = uint32_t(std::min<std::size_t>({octets.size() - debut, s.Taille, kTailleZone}));
    auto piece = EnvoyerStream(s.Genre, octets.data() + debut, compte);
    if (CompteAnnonce) {
      const uint32_t c = *CompteAnnonce;
      for (int i = 0; i < 4; ++i) piece[4 + i] = uint8_t(c >> (8 * i));
    }
    S.Envoyer(CM_ENVOYER_STREAM, Texte(piece));
  };
  Serveur.Traitements[CM_STREAM_BIEN_RECU] = [this](TServeurScripte&, const TypeMessageRecu& m) {
    if (m.Donnees.size() == 1) Acquittements.push_back(uint8_t(m.Donnees[0]));
  };
}

void TStreamsServeur::Servir(uint8_t Genre, const std::string& Contenu) {
  Compresses[Genre] = Deflater(Contenu.data(), Contenu.size());
}
