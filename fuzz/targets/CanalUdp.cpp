// The data client's UDP channel: datagrams from several senders reach `DatagrammeRecu`.
// Input: datagrams, each a sender byte (eight senders, 127.0.0.1 to 127.0.0.8), a 16-bit length and
// its bytes. The channel is active without a socket; the frames it would send are kept.
// Checked: never more known servers than senders; names and labels within their sizes; every frame
// the channel would send reads back whole.
#include <set>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "net/cipher/CryptageClientServeur.h"
#include "net/protocol/Trame.h"
#include "net/transport/VclCommUdp.h"
#include "platform/loop/MainLoop.h"

namespace {

class CanalEssai final : public TCommunicationUdpClient {
 public:
  explicit CanalEssai(MainLoop& Boucle) : TCommunicationUdpClient(Boucle) {}
  ~CanalEssai() override { Desactiver(MDA_Aucun, true); }
  void Recevoir(const TypeAdresseSocket& Expediteur, const uint8_t* Donnees, size_t Taille) {
    DatagrammeRecu(Expediteur, Donnees, Taille);
  }
  std::vector<std::string> Envoyees;

 protected:
  bool Ouvrir() override { return true; }  // no socket, no presence timer
  void EnvoyerOctets(const TypeAdresseMessage&, const std::string& Trame) override { Envoyees.push_back(Trame); }
};

TypeAdresseSocket Expediteur(uint8_t n) {
  TypeAdresseSocket a{};
  a[0] = 2;
  a[2] = 0xC0;  // port 49200
  a[3] = 0x30;
  a[4] = 127;
  a[7] = static_cast<uint8_t>(1 + n % 8);
  return a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  MainLoop boucle([] {}, [] {});
  CanalEssai canal(boucle);
  Fuzz::Verifier(canal.Activer(), "the channel opens");
  std::set<TypeAdresseSocket> expediteurs;
  uint32_t datagrammes = 0;
  while (!octets.Fini()) {
    const TypeAdresseSocket de = Expediteur(octets.Octet());
    const std::string_view datagramme = octets.Octets(octets.Valeur<uint16_t>());
    expediteurs.insert(de);
    ++datagrammes;
    canal.Recevoir(de, reinterpret_cast<const uint8_t*>(datagramme.data()), datagramme.size());
    Fuzz::Verifier(canal.NombreServeurs() <= expediteurs.size(), "no more servers than senders");
  }
  // Identifiers are never reused: the known servers are among the first ones handed out.
  for (uint32_t ident = 1; ident <= datagrammes; ++ident) {
    if (!canal.ServeurDeIdent(ident)) continue;
    const ServeurConnu* s = canal.Courant();
    Fuzz::Verifier(s->Nom.size() <= 50 && s->Libelle.size() <= 30, "names and labels within their sizes");
    Fuzz::Verifier(expediteurs.count(s->AdresseSocket) == 1, "a server is one of the senders");
  }
  TClassCryptageClientServeur chiffreur;
  for (const std::string& trame : canal.Envoyees) {
    TBufferDynamique file;
    file.Ajouter(trame.data(), trame.size());
    TypeMessageRecu message;
    Fuzz::Verifier(Trame::Lire(file, TypeSecurite{}, chiffreur, message) == Trame::TypeLecture::Fait && file.EstVide(),
                   "every frame sent reads back whole");
  }
  return 0;
}
