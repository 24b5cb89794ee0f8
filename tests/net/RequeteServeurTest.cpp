// The synchronous request against a scripted answer on the main loop: accepted with its answer
// bytes copied up to the caller's capacity, refused, answered empty, interrupted by the loss of the
// link, a second request refused while one waits, and a server that never answers.
#include <gtest/gtest.h>

#include <boost/asio/post.hpp>

#include <string>
#include <vector>

#include "net/RequeteServeur.h"
#include "platform/ui/AttenteReponseServeur.h"

using namespace std::chrono_literals;

namespace {

struct Essai {
  MainLoop boucle{[] {}, [] {}};
  TEchangeSynchrone echange;
  TypeLienRequetes lien;
  std::vector<uint32_t> envoyes;
  std::vector<std::string> evenements;
  int fermetures = 0;
  // What the server does once a request is sent (run on the loop).
  std::function<void()> serveur;

  Essai() {
    lien.Boucle = &boucle;
    lien.Envoyer = [this](uint32_t code, uint32_t, const void*, uint32_t) {
      envoyes.push_back(code);
      if (serveur) boost::asio::post(boucle.Context(), serveur);
      return true;
    };
    lien.Fermer = [this] {
      ++fermetures;
      echange.Abandonner();
    };
  }
  bool Envoyer(uint32_t code, void* reponse = nullptr, int32_t capacite = 0, MainLoop::Duration delai = 5s) {
    RequeteServeur::TypeRequete r;
    r.Code = code;
    r.Reponse = reponse;
    r.TailleReponse = capacite;
    r.AfficherAttente = true;
    return RequeteServeur::EnvoyerSynchrone(
        echange, lien, r, delai, [this](bool a) { evenements.push_back(a ? "pre+" : "pre"); },
        [this](bool a) { evenements.push_back(a ? "post+" : "post"); });
  }
  void Repondre(const std::string& octets) {
    echange.RecevoirReponse(reinterpret_cast<const uint8_t*>(octets.data()), uint32_t(octets.size()));
  }
};

TEST(RequeteServeur, TheVerdictAndTheAnswerBytesComeBackWithinTheCallersCapacity) {
  struct Cas {
    const char* nom;
    std::string reponse;
    int32_t capacite;
    bool verdict;
    std::string copie;
  } cas[] = {
      {"accepted with an identifier", std::string("\x01\x2a\x00\x00\x00", 5), 4, true, std::string("\x2a\0\0\0", 4)},
      {"more bytes than the capacity", std::string("\x01" "abcdefgh"), 4, true, "abcd"},
      {"accepted without bytes", "\x01", 4, true, ""},
      {"refused", std::string("\x00" "zz", 3), 4, false, "zz"},
      {"answered empty", "", 4, false, ""},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    Essai e;
    e.serveur = [&] {
      EXPECT_FALSE(FenetresTaches::Actives());
      e.Repondre(c.reponse);
    };
    char zone[8] = {};
    EXPECT_EQ(e.Envoyer(7, zone, c.capacite), c.verdict);
    EXPECT_EQ(std::string(zone, c.copie.size()), c.copie);
    EXPECT_EQ(std::string(zone + c.copie.size(), 8 - c.copie.size()), std::string(8 - c.copie.size(), '\0'));
    EXPECT_EQ(e.evenements, (std::vector<std::string>{"pre+", "post+"}));
    EXPECT_TRUE(FenetresTaches::Actives());
    EXPECT_FALSE(e.echange.Occupe());
  }
}

TEST(RequeteServeur, TheLossOfTheLinkEndsTheWaitWithARefusal) {
  Essai e;
  e.serveur = [&] { e.echange.Abandonner(); };
  int32_t ident = 0;
  EXPECT_FALSE(e.Envoyer(7, &ident, 4));
  EXPECT_TRUE(FenetresTaches::Actives());
  // An answer that comes when nothing waits is ignored.
  e.Repondre("\x01");
  EXPECT_FALSE(e.echange.Repondu());
}

TEST(RequeteServeur, ASecondRequestWhileOneWaitsIsRefusedWithoutBeingSent) {
  Essai e;
  bool second = true;
  e.serveur = [&] {
    e.serveur = nullptr;
    second = e.Envoyer(8);
    e.Repondre("\x01");
  };
  EXPECT_TRUE(e.Envoyer(7));
  EXPECT_FALSE(second);
  EXPECT_EQ(e.envoyes, std::vector<uint32_t>{7});
  EXPECT_EQ(e.evenements, (std::vector<std::string>{"pre+", "post+"}));
}

TEST(RequeteServeur, AServerThatNeverAnswersTimesOutAndTheLinkIsClosed) {
  Essai e;
  EXPECT_FALSE(e.Envoyer(7, nullptr, 0, 20ms));
  EXPECT_EQ(e.fermetures, 1);
  EXPECT_FALSE(e.echange.Occupe());
  // The next request is not taken for the late answer's.
  e.Repondre("\x01");
  e.serveur = [&] { e.Repondre(std::string("\x00", 1)); };
  EXPECT_FALSE(e.Envoyer(8));
}

TEST(RequeteServeur, ABadArgumentSendsNothing) {
  Essai e;
  RequeteServeur::TypeRequete r;
  r.Taille = 4;  // no data
  EXPECT_FALSE(RequeteServeur::EnvoyerSynchrone(e.echange, e.lien, r, 1s, nullptr, nullptr));
  r.Taille = -1;
  EXPECT_FALSE(RequeteServeur::EnvoyerSynchrone(e.echange, e.lien, r, 1s, nullptr, nullptr));
  EXPECT_TRUE(e.envoyes.empty());
}

}  // namespace
