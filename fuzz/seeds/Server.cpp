// Seeds of the data server's readers: its account file and the sessions' messages.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/seeds/Semences.h"
#include "net/protocol/GenresMessages.h"
#include "net/protocol/Trame.h"
#include "server/AccountBase.h"

namespace Semences {
namespace {

// The data server's account file and the sessions' messages: a few exchanges, with and without a
// login first.
void SemencesServeur() {
  AccountBase comptes;
  uint32_t profil = 0, id = 0;
  (void)comptes.AddServerProfile("Base", 49300, profil);
  (void)comptes.AddUserProfile({0, "Modification", 1, {}}, id);
  (void)comptes.AddUser({0, "Superviseur", "SPR", "", "Secret", 0, ""}, id);
  (void)comptes.AddUser({0, "Jeanne", "JMA", "jm", "pw1", 1, "texte"}, id);
  (void)comptes.Assign("JMA", profil, comptes.UserProfiles()[0].Id, id);
  Ecrire("ComptesServeur", "comptes", Texte(comptes.Serialize()));
  // A message: the index of its kind, a 16-bit length, the data.
  auto message = [](uint8_t Genre, const Octets& Donnees) {
    return Octets{Genre} + Valeur(static_cast<uint16_t>(Donnees.size())) + Donnees;
  };
  Octets requete(19, 0);
  requete[2] = 1;
  requete[15] = 4;
  requete = requete + Octets{1, 2, 3, 4};
  Octets suivant(12, 0);
  suivant[9] = 0x10;
  Ecrire("SessionServeur", "avant-login", Octets{0} + message(2, {}) + message(0, {}) + message(11, requete));
  Ecrire("SessionServeur", "session",
         Octets{1} + message(7, {}) + message(8, {0}) + message(9, suivant) + message(10, {0}) + message(8, {1}) +
             message(9, suivant) + message(11, requete) + message(12, {1}) + message(6, {}) + message(2, {}) +
             message(13, Octets(16, 0)));
  std::string trame;
  if (Trame::Construire({1, 2}, GenresMessages::CM_DEMANDER_PROFILS_SRV, nullptr, 0, 0, trame))
    Ecrire("SessionServeur", "brut", Octets{2, 6} + Texte(trame) + Texte(trame));
}

}  // namespace

void Server() {
  SemencesServeur();
}

}  // namespace Semences
