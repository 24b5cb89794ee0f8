// Streams received from the scripted data server over loopback: 0 bytes, one piece, many pieces,
// and a corrupt one, after which the link is closed.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "net/transport/TransfertStream.h"
#include "net/transport/VclCommTcp.h"
#include "tests/support/StreamsServeur.h"

using namespace std::chrono_literals;

namespace {

class TransfertStreamTcp : public ::testing::Test {
 protected:
  void SetUp() override {
    client.AdresseServeur = "127.0.0.1";
    client.PortServeur = std::to_string(serveur.Demarrer());
    transfert.Enregistrer(client, [this] { return TypeAdresseMessage{client.IdentServeur(), 2}; });
    transfert.SurLire = [this](TStream& f, uint8_t g) {
      std::string s(static_cast<std::size_t>(f.Size()), '\0');
      f.ReadBuffer(s.data(), f.Size());
      lus.emplace_back(g, s);
    };
    transfert.SurCorrompu = [this](uint8_t, const std::string&) {
      ++corrompus;
      (void)client.Desactiver(0, true);
    };
    ASSERT_TRUE(client.Activer());
    ASSERT_TRUE(Attendre([this] { return client.IdentServeur() != 0; }));
  }
  bool Attendre(const std::function<bool()>& Condition) {
    return boucle.WaitUntil(Condition, 10s) == MainLoop::WaitResult::Satisfied;
  }

  MainLoop boucle{[] {}, [] {}};
  TServeurScripte serveur{boucle};
  TStreamsServeur streams{serveur};
  TCommunicationTcpClient client{boucle};
  TransfertStream::TTransfertStream transfert;
  std::vector<std::pair<uint8_t, std::string>> lus;
  int corrompus = 0;
};

TEST_F(TransfertStreamTcp, StreamsOfNoByteOnePieceAndManyPiecesArriveWhole) {
  std::string grand;
  for (int i = 0; grand.size() < 300000; ++i) grand += std::to_string(i * 2654435761u) + ";";
  const std::string contenus[] = {"", "une piece", grand};
  std::size_t acquittes = 0;
  for (const auto& contenu : contenus) {
    SCOPED_TRACE(contenu.size());
    streams.Servir(StreamInfosUtilisateur, contenu);
    streams.Demandes.clear();
    lus.clear();
    ASSERT_TRUE(transfert.Demander(StreamInfosUtilisateur));
    ASSERT_TRUE(Attendre([this] { return !lus.empty(); }));
    EXPECT_EQ(lus[0].second, contenu);
    const std::size_t pieces = (streams.Compresses[StreamInfosUtilisateur].size() + 4095) / 4096;
    EXPECT_EQ(streams.Demandes.size(), pieces);
    EXPECT_EQ(streams.Demandes.back().Position, (pieces - 1) * 4096);
    ++acquittes;
    ASSERT_TRUE(Attendre([&] { return streams.Acquittements.size() == acquittes; }));
  }
  EXPECT_EQ(streams.Acquittements, (std::vector<uint8_t>{1, 1, 1}));
  EXPECT_EQ(corrompus, 0);
}

TEST_F(TransfertStreamTcp, ACorruptStreamClosesTheLinkAndReachesNoReader) {
  streams.Compresses[StreamBase] = std::string(10000, 'x');
  ASSERT_TRUE(transfert.Demander(StreamBase));
  ASSERT_TRUE(Attendre([this] { return corrompus == 1; }));
  EXPECT_TRUE(lus.empty());
  EXPECT_FALSE(client.Actif());
  // Found at its first piece: the third is never asked for.
  EXPECT_LE(streams.Demandes.size(), 2u);
  ASSERT_TRUE(Attendre([this] { return !serveur.Connecte(); }));
}

TEST_F(TransfertStreamTcp, AnnouncementsBeyondTheBoundsCloseTheLink) {
  streams.Servir(StreamBase, "contenu");
  streams.CompteAnnonce = TransfertStream::kTailleZone + 1;
  ASSERT_TRUE(transfert.Demander(StreamBase));
  ASSERT_TRUE(Attendre([this] { return corrompus == 1; }));
  EXPECT_TRUE(lus.empty());
  EXPECT_TRUE(streams.Acquittements.empty());
}

}  // namespace
