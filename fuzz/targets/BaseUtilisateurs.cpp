// The server's user-base messages: a coded user, a coded user profile, a 20-byte assignment and a
// 640-byte server profile, stored in the user base. Input: the kind of message (a byte, modulo 4),
// then the message's bytes.
#include "core/records/Xi.h"
#include "fuzz/FuzzSupport.h"
#include "net/utilisateurs/BaseUtilisateurs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  using namespace BaseUtilisateurs;
  Fuzz::TOctets octets(Data, Size);
  const uint8_t genre = octets.Octet() % 4;
  const std::string_view message = octets.Reste();
  const auto taille = static_cast<int32_t>(message.size());

  // A user and a profile for the assignment to refer to.
  (void)CreerGroupeUtilisateurs(TypeGroupeUtilisateurs{1, {}, kGenreModification, {}, 0});
  TypeUtilisateur u;
  u.Identifiant = 1;
  u.Code.Definir("USR");
  (void)CreerUtilisateur(u);

  auto total = [] {
    return Xi::Nombre(Utilisateurs()) + Xi::Nombre(GroupesUtilisateurs()) + Xi::Nombre(Affectations()) +
           Xi::Nombre(ProfilsServeurs());
  };
  const uint32_t avant = total();
  bool stocke = false;
  switch (genre) {
    case 0: {
      TypeUtilisateur e;
      if (LireUtilisateurCrypte(message.data(), taille, e)) {
        Fuzz::Verifier(e.Nom.Octets[0] <= 32 && e.Code.Octets[0] <= 3 && e.Login.Octets[0] <= 30 && e.Texte.Octets[0] <= 20,
                       "a user read keeps its texts within their fields");
      }
      stocke = RecevoirUtilisateur(message.data(), taille);
      break;
    }
    case 1: {
      TypeGroupeUtilisateurs e;
      if (LireGroupeUtilisateursCrypte(message.data(), taille, e))
        Fuzz::Verifier(e.Nom.Octets[0] <= 32 && (e.Droits[0] & 1) == 0, "a profile read keeps its name and ignores right 0");
      stocke = RecevoirGroupeUtilisateurs(message.data(), taille);
      break;
    }
    case 2:
      stocke = RecevoirAffectation(message.data(), taille);
      Fuzz::Verifier(!stocke || taille == kTailleAffectation, "only a whole assignment is stored");
      break;
    default:
      stocke = RecevoirProfilServeur(message.data(), taille);
      Fuzz::Verifier(!stocke || taille == kTailleProfilServeur, "only a whole server profile is stored");
      break;
  }
  const uint32_t apres = total();
  Fuzz::Verifier(stocke ? apres <= avant + 1 : apres == avant, "a message stores at most one record, none when refused");
  ToutSupprimer();
  return 0;
}
