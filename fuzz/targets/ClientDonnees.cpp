// The data client's readers of the server's messages on the TCP link: the connection identity, the
// host record and its version, the three handshake answers (the identity is set, so the answers
// that decipher lead on to the next step), the login answer, the user-base and server-profile
// messages, disconnection and reconnection, requests and network orders, and the UDP form of a host
// description. Input: messages, each a kind (a byte, chosen in the list below), a 16-bit length and
// the bytes.
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "net/VclClient.h"
#include "net/transport/VclCommUdp.h"

namespace {

using namespace GenresMessages;

constexpr uint32_t kGenres[] = {
    CM_ENVOYER_IDENT_CONNEXION, CM_ENVOYER_HOST, CM_DEMANDER_HOST, CM_REPONDRE_IDENTIFICATION,
    CM_REPONDRE_AUTHENTIFICATION, CM_REPONDRE_LOGIN, CM_RECONNEXION, CM_DECONNEXION,
    CM_ENVOYER_PROFIL_SRV, CM_FIN_ENVOI_PROFILS_SRV, CM_ENVOYER_UTILISATEUR, CM_ENVOYER_PROFIL_UTIL,
    CM_ENVOYER_AFFECTATION_UTIL, CM_FIN_ENVOI_INFOS_UTILISATEURS, CM_ENVOYER_REQUETE, CM_ENVOYER_OrdreReseau,
    CM_REPONDRE_OrdreReseau, CM_REPONDRE_ORDRE_UTIL, CM_REPONDRE_TRAITEMENT_LONG, CM_TRAITEMENT_LONG_MODIFIE,
    CM_ENVOYER_INFOS_VERSION, CM_DEBUT_REQUETE, CM_FIN_REQUETE,
};

struct Client {
  MainLoop boucle{[] {}, [] {}};
  TIeClientDonnees client{boucle};
  Client() {
    client.VersionProgramme = {"", 5, 0, 6, 1};
    client.Identifier(0, "ABC", "", "alice", "Secret");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  static auto* c = new Client;
  TCommunicationTcpClient& tcp = *c->client.CanalTcp();
  tcp.DefinirSecurites(TypeSecurites{});
  Fuzz::TOctets octets(Data, Size);
  while (!octets.Fini()) {
    const uint32_t id = kGenres[octets.Octet() % std::size(kGenres)];
    const std::string_view donnees = octets.Octets(octets.Valeur<uint16_t>());
    const auto* d = reinterpret_cast<const uint8_t*>(donnees.data());
    const auto n = static_cast<uint32_t>(donnees.size());
    (void)tcp.DistribuerMessage(TypeAdresseSocket{2, 0}, {7, 2}, id, d, n);
    const TypeSecurite& s = tcp.Securites()[0];
    Fuzz::Verifier(s.Mode == Trame::kModeCompresse ? s.PhraseSecrete.empty() : s.PhraseSecrete.size() == 16,
                   "the session is either clear or enciphered under a 16-byte key");
    if (id == CM_ENVOYER_HOST) {
      std::array<uint8_t, VclCommUdp::kTailleHost> host;
      if (VclCommUdp::HostActuel(d, n, host) && n == VclCommUdp::kTailleHostAncien)
        Fuzz::Verifier(host[51] <= 30 && host[85] == 0 && host[341] == 7, "an older description becomes the current form");
    }
  }
  BaseUtilisateurs::ToutSupprimer();
  return 0;
}
