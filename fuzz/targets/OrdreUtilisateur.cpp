// The server's orders on the user base, applied to a base holding one record in each table.
// Input: the order's bytes. An order changes at most one record, and the tables still hold together.
#include <vector>

#include "core/records/Xi.h"
#include "fuzz/FuzzSupport.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/OrdreUtilisateur.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  using namespace BaseUtilisateurs;
  ToutSupprimer();
  (void)CreerGroupeUtilisateurs(TypeGroupeUtilisateurs{1, {}, kGenreModification, {}, 0});
  TypeUtilisateur u;
  u.Identifiant = 1;
  u.Code.Definir("USR");
  (void)CreerUtilisateur(u);
  TypeProfilServeur p = TypeProfilServeur::Vierge();
  p.DefinirIdentifiant(1);
  (void)CreerProfilServeur(p);
  (void)CreerAffectation(TypeAffectation{1, 1, 1, 1, 0, {}});
  auto total = [] {
    return Xi::Nombre(Utilisateurs()) + Xi::Nombre(GroupesUtilisateurs()) + Xi::Nombre(Affectations()) +
           Xi::Nombre(ProfilsServeurs());
  };
  const uint32_t avant = total();
  const std::vector<uint8_t> ordre(Data, Data + Size);
  const bool fait = OrdreUtilisateur::Appliquer(ordre.data(), static_cast<int32_t>(ordre.size()));
  const uint32_t apres = total();
  Fuzz::Verifier(apres + 1 >= avant && apres <= avant + 1, "an order changes at most one record");
  Fuzz::Verifier(fait || apres == avant, "an order refused adds or removes nothing");
  ToutSupprimer();
  return 0;
}
