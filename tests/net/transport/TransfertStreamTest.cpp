// Stream transfer between two channels in memory (one serving, one receiving): the message layouts,
// streams of 0 bytes, one piece and many pieces with the pieces asked and the progress seen, every
// bound on what the sender announces, corrupt compressed bytes, and the inflation bound.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "net/protocol/VclCommIp.h"
#include "net/transport/TransfertStream.h"
#include "net/transport/VclCommTcp.h"

using namespace GenresMessages;
using namespace TransfertStream;

namespace {

// A channel whose sent messages wait in a queue until the test delivers them.
class Canal : public TCommunicationIp {
 public:
  explicit Canal(MainLoop& b) : TCommunicationIp(b) {}
  std::deque<TypeMessageRecu> sortants;

 protected:
  void EnvoyerOctets(const TypeAdresseMessage&, const std::string& trame) override {
    TypeMessageRecu m;
    ASSERT_TRUE(Trame::Extraire(std::string_view(trame).substr(Trame::kTailleEntete), m));
    sortants.push_back(std::move(m));
  }
  bool TraiterEnvoyerHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override {
    return true;
  }
  bool TraiterDeconnexion(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override {
    return true;
  }
  bool TraiterDemanderHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override {
    return true;
  }
};

// The server side serves Contenu; the client side records what it sees.
struct Paire {
  MainLoop boucle{[] {}, [] {}};
  Canal canalServeur{boucle}, canalClient{boucle};
  TTransfertStream serveur, client;
  std::string contenu;
  std::vector<uint32_t> demandes;  // positions the client asked for
  std::vector<uint32_t> progression;
  std::vector<std::string> lus;
  std::vector<std::string> corrompus;
  std::vector<uint8_t> refus;
  int acquittements = 0;

  Paire() {
    serveur.Enregistrer(canalServeur, [] { return TypeAdresseMessage{1, 2}; });
    client.Enregistrer(canalClient, [] { return TypeAdresseMessage{9, 2}; });
    serveur.PeutEnvoyer = [](uint8_t g) { return g == StreamInfosUtilisateur; };
    serveur.SurPreparer = [this](TStream& f, uint8_t) {
      f.WriteBuffer(contenu.data(), static_cast<int64_t>(contenu.size()));
      return true;
    };
    client.SurProgression = [this](uint8_t, uint32_t p, uint32_t) { progression.push_back(p); };
    client.SurLire = [this](TStream& f, uint8_t) {
      EXPECT_EQ(f.Position(), 0);
      std::string s(static_cast<std::size_t>(f.Size()), '\0');
      f.ReadBuffer(s.data(), f.Size());
      lus.push_back(s);
    };
    client.SurCorrompu = [this](uint8_t, const std::string& r) { corrompus.push_back(r); };
    client.SurRefus = [this](uint8_t g) { refus.push_back(g); };
  }
  // Delivers both queues until they are empty.
  void Echanger() {
    while (!canalServeur.sortants.empty() || !canalClient.sortants.empty()) {
      Livrer(canalClient, canalServeur);
      Livrer(canalServeur, canalClient);
    }
  }
  void Livrer(Canal& de, Canal& vers) {
    while (!de.sortants.empty()) {
      TypeMessageRecu m = std::move(de.sortants.front());
      de.sortants.pop_front();
      if (m.Id == CM_DEMANDER_STREAM_SUIVANT) {
        TypeSuivant s;
        ASSERT_TRUE(LireSuivant(reinterpret_cast<const uint8_t*>(m.Donnees.data()), 12, s));
        EXPECT_EQ(s.Taille, kTaillePiece);
        demandes.push_back(s.Position);
      }
      if (m.Id == CM_STREAM_BIEN_RECU) ++acquittements;
      (void)vers.DistribuerMessage({}, m.Adresse, m.Id, reinterpret_cast<const uint8_t*>(m.Donnees.data()),
                                   static_cast<uint32_t>(m.Donnees.size()));
    }
  }
  // The client receives a message as if the server had sent it.
  void Recevoir(uint32_t id, const void* d, uint32_t n) {
    (void)canalClient.DistribuerMessage({}, {1, 2}, id, static_cast<const uint8_t*>(d), n);
  }
};

std::string Pseudo(std::size_t n) {
  std::string s(n, '\0');
  uint32_t x = 12345;
  for (auto& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 24);
  }
  return s;
}

TEST(TransfertStream, MessagesHaveTheirFixedLayouts) {
  EXPECT_EQ(StreamPret(1, 0x01020304), (std::array<uint8_t, 8>{1, 0, 0, 0, 4, 3, 2, 1}));
  EXPECT_EQ(StreamRefuse(1), (std::array<uint8_t, 8>{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(DemanderStreamSuivant(0, 0x1000, 4096), (std::array<uint8_t, 12>{0, 0, 0, 0, 0, 0x10, 0, 0, 0, 0x10, 0, 0}));
  const char donnees[] = "abc";
  const auto piece = EnvoyerStream(1, donnees, 3);
  EXPECT_EQ(piece.size(), 4108u);
  EXPECT_EQ(std::vector<uint8_t>(piece.begin(), piece.begin() + 11),
            (std::vector<uint8_t>{1, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c'}));
  // A count beyond the area is cut to it.
  const std::string grand(5000, 'g');
  const auto pleine = EnvoyerStream(1, grand.data(), 5000);
  EXPECT_EQ(std::vector<uint8_t>(pleine.begin() + 4, pleine.begin() + 8), (std::vector<uint8_t>{0x04, 0x10, 0, 0}));
  TypePret pret;
  const uint8_t pret9[9] = {1, 0, 0, 0, 3, 0, 0, 0, 0};
  EXPECT_FALSE(LirePret(pret9, 9, pret)) << "a ready message is exactly 8 bytes";
  EXPECT_TRUE(LirePret(pret9, 8, pret));
  TypePiece p;
  EXPECT_FALSE(LirePiece(piece.data(), 4107, p));
  EXPECT_TRUE(LirePiece(piece.data(), 4108, p));
  EXPECT_EQ(p.Compte, 3u);
}

// A served stream reaches the reader whole; the client asks every 4096 bytes, acknowledges once and
// reports its progress from 0 to the total.
TEST(TransfertStream, StreamsOfNoByteOnePieceAndManyPiecesArriveWhole) {
  for (const std::size_t taille : {std::size_t{0}, std::size_t{100}, std::size_t{50000}}) {
    SCOPED_TRACE(taille);
    Paire p;
    p.contenu = Pseudo(taille);
    const std::size_t compresse = Deflater(p.contenu.data(), p.contenu.size()).size();
    ASSERT_TRUE(p.client.Demander(StreamInfosUtilisateur));
    p.Echanger();
    ASSERT_EQ(p.lus.size(), 1u);
    EXPECT_EQ(p.lus[0], p.contenu);
    EXPECT_EQ(p.acquittements, 1);
    EXPECT_TRUE(p.corrompus.empty());
    std::vector<uint32_t> attendues;
    for (std::size_t pos = 0; pos < compresse || pos == 0; pos += kTaillePiece) attendues.push_back(uint32_t(pos));
    EXPECT_EQ(p.demandes, attendues);
    EXPECT_EQ(p.progression.front(), 0u);
    EXPECT_EQ(p.progression.back(), compresse);
    EXPECT_FALSE(p.client.Recu().EnCours());
  }
}

TEST(TransfertStream, AnAnnouncedEmptyStreamIsCompletedByOneEmptyPiece) {
  Paire p;
  const auto pret = StreamPret(StreamBase, 0);
  p.Recevoir(CM_STREAM_PRET, pret.data(), 8);
  ASSERT_EQ(p.canalClient.sortants.size(), 1u);
  const auto vide = EnvoyerStream(StreamBase, nullptr, 0);
  p.Recevoir(CM_ENVOYER_STREAM, vide.data(), 4108);
  ASSERT_EQ(p.lus.size(), 1u);
  EXPECT_TRUE(p.lus[0].empty());
  EXPECT_EQ(p.canalClient.sortants.back().Id, CM_STREAM_BIEN_RECU);
}

TEST(TransfertStream, AServerThatMayNotServeAKindRefusesIt) {
  Paire p;
  ASSERT_TRUE(p.client.Demander(StreamBase));
  p.Echanger();
  EXPECT_EQ(p.refus, std::vector<uint8_t>{StreamBase});
  EXPECT_TRUE(p.lus.empty());
}

// Whatever the sender announces is checked: the stream is then corrupt, the reader never runs, and
// later pieces are ignored.
TEST(TransfertStream, WhatTheSenderAnnouncesIsBounded) {
  const std::string compresse = Deflater("abcdef", 6);
  struct Cas {
    const char* nom;
    uint32_t total;
    uint32_t compte;
  } cas[] = {
      {"size beyond the bound", kTailleCompresseeMaximale + 1, 0},
      {"count beyond the area", 10000, kTailleZone + 1},
      {"count beyond the announced size", uint32_t(compresse.size()), uint32_t(compresse.size()) + 1},
      {"count beyond the announced size, within the area", 4, 6},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    Paire p;
    const auto pret = StreamPret(StreamBase, c.total);
    p.Recevoir(CM_STREAM_PRET, pret.data(), 8);
    if (p.corrompus.empty()) {
      auto piece = EnvoyerStream(StreamBase, compresse.data(), uint32_t(compresse.size()));
      piece[4] = uint8_t(c.compte);
      piece[5] = uint8_t(c.compte >> 8);
      piece[6] = uint8_t(c.compte >> 16);
      p.Recevoir(CM_ENVOYER_STREAM, piece.data(), 4108);
    }
    ASSERT_EQ(p.corrompus.size(), 1u);
    // Refused for what it announces, before any byte is inflated.
    EXPECT_EQ(p.corrompus[0], c.compte == 0 ? "announced size beyond the bound" : "piece beyond its area or the announced size");
    EXPECT_TRUE(p.lus.empty());
    EXPECT_FALSE(p.client.Recu().EnCours());
  }
  // The bound itself is accepted.
  Paire p;
  const auto pret = StreamPret(StreamBase, kTailleCompresseeMaximale);
  p.Recevoir(CM_STREAM_PRET, pret.data(), 8);
  EXPECT_TRUE(p.corrompus.empty());
  EXPECT_TRUE(p.client.Recu().EnCours());
}

// The serving side answers only for the stream it is sending: a request for the next piece of another
// kind gets nothing, and an acknowledgement of another kind does not end the stream being sent.
TEST(TransfertStream, TheSenderAnswersOnlyForTheKindItSends) {
  Paire p;
  p.contenu = "contenu";
  auto serveur = [&](uint32_t id, const void* d, uint32_t n) {
    (void)p.canalServeur.DistribuerMessage({}, {9, 2}, id, static_cast<const uint8_t*>(d), n);
  };
  const uint8_t genre = StreamInfosUtilisateur, autre = StreamBase;
  serveur(CM_DEMANDER_STREAM, &genre, 1);
  ASSERT_EQ(p.canalServeur.sortants.size(), 1u);
  EXPECT_EQ(p.canalServeur.sortants.back().Id, CM_STREAM_PRET);
  p.canalServeur.sortants.clear();
  const auto suivantAutre = DemanderStreamSuivant(autre, 0, kTaillePiece);
  serveur(CM_DEMANDER_STREAM_SUIVANT, suivantAutre.data(), kLongueurSuivant);
  EXPECT_TRUE(p.canalServeur.sortants.empty());
  serveur(CM_STREAM_BIEN_RECU, &autre, 1);
  const auto suivant = DemanderStreamSuivant(genre, 0, kTaillePiece);
  serveur(CM_DEMANDER_STREAM_SUIVANT, suivant.data(), kLongueurSuivant);
  ASSERT_EQ(p.canalServeur.sortants.size(), 1u);
  EXPECT_EQ(p.canalServeur.sortants.back().Id, CM_ENVOYER_STREAM);
}

TEST(TransfertStream, MessagesOfAnotherLengthOrKindAreIgnored) {
  Paire p;
  const auto pret = StreamPret(StreamBase, 3);
  p.Recevoir(CM_STREAM_PRET, pret.data(), 7);
  EXPECT_FALSE(p.client.Recu().EnCours());
  const uint8_t long9[9] = {StreamBase, 0, 0, 0, 3, 0, 0, 0, 0};
  p.Recevoir(CM_STREAM_PRET, long9, 9);
  EXPECT_FALSE(p.client.Recu().EnCours()) << "a longer message is not a ready message";
  p.Recevoir(CM_STREAM_PRET, pret.data(), 8);
  const auto autre = EnvoyerStream(StreamInfosUtilisateur, "abc", 3);
  p.Recevoir(CM_ENVOYER_STREAM, autre.data(), 4108);
  EXPECT_EQ(p.client.Recu().Recus(), 0u);
  EXPECT_TRUE(p.corrompus.empty());
}

TEST(TransfertStream, CorruptCompressedBytesOrAReaderThatFailsMakeTheStreamCorrupt) {
  const std::string bon = Deflater("contenu", 7);
  const std::string tronque = bon.substr(0, bon.size() - 2);
  std::string altere = bon;
  altere[3] = char(altere[3] ^ 0x55);
  for (const std::string& octets : {std::string("pas du zlib"), tronque, altere, bon + "x", bon}) {
    Paire p;
    const bool lecteurEchoue = octets == bon;
    if (lecteurEchoue) p.client.SurLire = [](TStream&, uint8_t) { throw EReadError("bad content"); };
    const auto pret = StreamPret(StreamBase, uint32_t(octets.size()));
    p.Recevoir(CM_STREAM_PRET, pret.data(), 8);
    const auto piece = EnvoyerStream(StreamBase, octets.data(), uint32_t(octets.size()));
    p.Recevoir(CM_ENVOYER_STREAM, piece.data(), 4108);
    EXPECT_EQ(p.corrompus.size(), 1u) << octets.size();
    EXPECT_TRUE(p.lus.empty());
  }
}

// The inflated bytes read back across the blocks that hold them, from any position; one byte more
// than the bound is refused.
TEST(TransfertStream, InflatedStreamsReadAcrossTheirBlocksAndStopAtTheirBound) {
  const std::string contenu = Pseudo(TFluxInflate::kTailleBloc * 2 + 12345);
  const std::string compresse = Deflater(contenu.data(), contenu.size());
  const auto* octets = reinterpret_cast<const uint8_t*>(compresse.data());
  TFluxInflate flux;
  Inflater(octets, compresse.size(), flux, contenu.size());
  ASSERT_EQ(flux.Size(), int64_t(contenu.size()));
  EXPECT_EQ(flux.Texte(), contenu);
  flux.SetPosition(int64_t(TFluxInflate::kTailleBloc) - 7);
  std::string lu(int64_t(TFluxInflate::kTailleBloc) + 20, '\0');
  flux.ReadBuffer(lu.data(), int64_t(lu.size()));
  EXPECT_EQ(lu, contenu.substr(TFluxInflate::kTailleBloc - 7, lu.size()));
  flux.Seek(-5, TSeekOrigin::soEnd);
  char fin[10];
  EXPECT_EQ(flux.Read(fin, 10), 5);
  EXPECT_EQ(std::string(fin, 5), contenu.substr(contenu.size() - 5));
  EXPECT_EQ(flux.Seek(-100, TSeekOrigin::soBeginning), 0);
  EXPECT_EQ(flux.Position(), 0);
  EXPECT_EQ(flux.Seek(-int64_t(contenu.size()) - 3, TSeekOrigin::soEnd), 0);
  EXPECT_THROW(flux.SetSize(0), EWriteError);
  EXPECT_THROW(Inflater(octets, compresse.size(), flux, contenu.size() - 1), EDecompressionError);
  // Nothing at all is an empty stream; bytes that have not finished a stream are not.
  Inflater(nullptr, 0, flux, 10);
  EXPECT_EQ(flux.Size(), 0);
  EXPECT_THROW(Inflater(octets, 2, flux, contenu.size()), EDecompressionError);
}

}  // namespace
