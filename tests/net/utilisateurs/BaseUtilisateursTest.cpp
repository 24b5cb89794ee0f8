#include <cstring>
#include <vector>

#include "core/records/Xi.h"
#include "core/serial/Serialisation.h"
#include "core/values/Ansi1252.h"
#include "net/utilisateurs/ProfilServeur.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"
#include "tests/support/ServeurScripte.h"

namespace {

using namespace BaseUtilisateurs;

TEST_F(BaseUtilisateursTest, TheLoginCheckComparesPasswordsWithoutCaseAndHonoursTheNoPasswordSentinel) {
  const std::string sentinelle(Login::SansMotDePasse());
  ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(1, "ABC", "Secret")));
  ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(2, "NUL", sentinelle)));
  struct Cas {
    const char* code;
    const char* motDePasse;
    bool sansMotDePasse;
    bool ok;
    int32_t statut;
  };
  const Cas cas[] = {
      {"ABC", "Secret", false, true, 0},   {"abc", "SECRET", false, true, 0}, {"ABC", "secret!", false, false, 2},
      {"ABC", "", true, false, 2},         {"NUL", "n'importe", true, true, 0}, {"NUL", "n'importe", false, false, 2},
      {"NUL", "", false, true, 0},         {"XYZ", "Secret", false, false, 1},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::string(c.code) + " / " + c.motDePasse);
    int32_t statut = -1;
    EXPECT_EQ(VerifierLogin(c.code, c.motDePasse, statut, c.sansMotDePasse), c.ok);
    EXPECT_EQ(statut, c.statut);
  }
  // The login results of the user dialog.
  const std::pair<const char*, int32_t> resultats[] = {
      {"Secret", Utilisateur::LoginOk}, {"faux", Utilisateur::MotDePasseIncorrect}};
  for (auto [mdp, attendu] : resultats) {
    int32_t r = -1;
    EXPECT_EQ(Utilisateur::ControlerLogin("ABC", mdp, r), attendu == Utilisateur::LoginOk);
    EXPECT_EQ(r, attendu);
  }
  int32_t r = -1;
  EXPECT_FALSE(Utilisateur::ControlerLogin("ZZZ", "x", r));
  EXPECT_EQ(r, Utilisateur::LoginInconnu);
}

TEST_F(BaseUtilisateursTest, DuplicatesInUniqueOrdersAreRefusedAndNothingIsNotified) {
  int notifications = 0;
  auto compter = [](TypeGenreModif, uint32_t, const TypeUtilisateur*, void* d) { ++*static_cast<int*>(d); };
  AbonnerUtilisateurs(compter, &notifications);
  ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(1, "ABC")));
  EXPECT_FALSE(CreerUtilisateur(UnUtilisateur(1, "DEF")));  // same identifier
  EXPECT_FALSE(CreerUtilisateur(UnUtilisateur(2, "abc")));  // same code, case ignored
  EXPECT_FALSE(ModifierUtilisateur(UnUtilisateur(9, "GHI")));  // unknown identifier
  EXPECT_EQ(notifications, 1);
  EXPECT_EQ(Xi::Nombre(Utilisateurs()), 1u);
  DesabonnerUtilisateurs(compter);
}

TEST_F(BaseUtilisateursTest, DeletingAllUsersWhileKeepingTheSuperUserLeavesExactlyIt) {
  for (auto [id, code] : {std::pair{1u, "AAA"}, {2u, "SPR"}, {3u, "ZZZ"}, {4u, "INV"}})
    ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(id, code)));
  SupprimerTousUtilisateurs(true);
  ASSERT_EQ(Xi::Nombre(Utilisateurs()), 1u);
  ASSERT_TRUE(ChercherUtilisateurParCode("SPR"));
  EXPECT_TRUE(Utilisateurs()->Administrateur);  // the super user is always an administrator
  SupprimerTousUtilisateurs(false);
  EXPECT_EQ(Xi::Nombre(Utilisateurs()), 0u);
}

TEST_F(BaseUtilisateursTest, AnAdministrationProfileKeepsTheAdministratorFlagAndIsRefusedToOtherUsers) {
  ASSERT_TRUE(CreerGroupeUtilisateurs(UnGroupe(10, "Admin", kGenreAdministration, {})));
  ASSERT_TRUE(CreerGroupeUtilisateurs(UnGroupe(11, "Modif", kGenreModification, {})));
  ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(1, "ADM", "", true)));
  ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(2, "USR")));
  ASSERT_TRUE(CreerProfilServeur(UnProfilServeur(100, "Lycee")));

  EXPECT_FALSE(CreerAffectation(UneAffectation(1, 100, 10, 2)));  // no administrator
  EXPECT_FALSE(CreerAffectation(UneAffectation(1, 100, 12, 1)));  // unknown profile
  EXPECT_FALSE(CreerAffectation(UneAffectation(1, 100, 11, 7)));  // unknown user
  EXPECT_EQ(Xi::Nombre(Affectations()), 0u);
  ASSERT_TRUE(CreerAffectation(UneAffectation(1, 100, 10, 1)));
  ASSERT_TRUE(CreerAffectation(UneAffectation(2, 100, 11, 2)));
  EXPECT_FALSE(CreerAffectation(UneAffectation(3, 100, 11, 2)));  // one assignment per server profile and user
  EXPECT_FALSE(ModifierAffectation(UneAffectation(2, 100, 10, 2)));  // a change to administration, refused too

  // A change that clears the flag of a user holding an administration profile keeps it set.
  ASSERT_TRUE(ModifierUtilisateur(UnUtilisateur(1, "ADM", "", false)));
  ASSERT_TRUE(ChercherUtilisateurParIdent(1));
  EXPECT_TRUE(Utilisateurs()->Administrateur);
  ASSERT_TRUE(ChercherUtilisateurParIdent(2));
  EXPECT_FALSE(Utilisateurs()->Administrateur);
}

TEST_F(BaseUtilisateursTest, UnsubscribingTheSecondOfThreeKeepsTheOthersInOrder) {
  static std::string appels;
  appels.clear();
  auto a = [](TypeGenreModif, uint32_t, const TypeGroupeUtilisateurs*, void*) { appels += 'a'; };
  auto b = [](TypeGenreModif, uint32_t, const TypeGroupeUtilisateurs*, void*) { appels += 'b'; };
  auto c = [](TypeGenreModif, uint32_t, const TypeGroupeUtilisateurs*, void*) { appels += 'c'; };
  AbonnerGroupesUtilisateurs(a, nullptr);
  AbonnerGroupesUtilisateurs(b, nullptr);
  AbonnerGroupesUtilisateurs(c, nullptr);
  DesabonnerGroupesUtilisateurs(b);
  ASSERT_TRUE(CreerGroupeUtilisateurs(UnGroupe(1, "G", 1, {})));
  EXPECT_EQ(appels, "ac");
  DesabonnerGroupesUtilisateurs(a);
  DesabonnerGroupesUtilisateurs(c);
}

TEST_F(BaseUtilisateursTest, AReloadDeletesTheRecordsNotReceivedAgainWithoutNotifying) {
  // The first load, then a reload that receives user 1 and the profile, but not user 2.
  for (uint32_t id : {1u, 2u}) {
    const auto u = TServeurScripte::UtilisateurCrypte(id, "Nom", "U" + std::to_string(id) + "X", "l" + std::to_string(id), "p", "t");
    ASSERT_TRUE(RecevoirUtilisateur(u.data(), static_cast<int32_t>(u.size())));
  }
  const auto g = TServeurScripte::GroupeCrypte(5, "Modif", 1, {});
  ASSERT_TRUE(RecevoirGroupeUtilisateurs(g.data(), static_cast<int32_t>(g.size())));
  int notifications = 0;
  auto compter = [](TypeGenreModif, uint32_t, const TypeUtilisateur*, void* d) { ++*static_cast<int*>(d); };
  AbonnerUtilisateurs(compter, &notifications);
  EffacerMarquesReception();
  const auto u1 = TServeurScripte::UtilisateurCrypte(1, std::string("Renommé"_ansi), "U1X", "l1", "p", "t");
  ASSERT_TRUE(RecevoirUtilisateur(u1.data(), static_cast<int32_t>(u1.size())));
  EXPECT_EQ(notifications, 1);  // the change of user 1
  SupprimerNonRecus();
  EXPECT_EQ(notifications, 1);
  DesabonnerUtilisateurs(compter);
  EXPECT_EQ(Xi::Nombre(Utilisateurs()), 1u);
  ASSERT_TRUE(ChercherUtilisateurParIdent(1));
  EXPECT_EQ(Utilisateurs()->Nom.Texte(), std::string("Renommé"_ansi));
  EXPECT_EQ(Xi::Nombre(GroupesUtilisateurs()), 0u);
}

TEST_F(BaseUtilisateursTest, TheCodedFormsAreDecodedAndEveryTruncationIsRefusedWithNothingStored) {
  const std::string texteLong(25, 't');
  const auto u = TServeurScripte::UtilisateurCrypte(7, "Jeanne Martin", "JMA", "jmartin", "Motdepasse", texteLong);
  TypeUtilisateur e;
  ASSERT_TRUE(LireUtilisateurCrypte(u.data(), static_cast<int32_t>(u.size()), e));
  EXPECT_EQ(e.Identifiant, 7u);
  EXPECT_EQ(e.Nom.Texte(), "Jeanne Martin");
  EXPECT_EQ(e.Code.Texte(), "JMA");
  EXPECT_EQ(e.Login.Texte(), "jmartin");
  EXPECT_EQ(e.Texte.Texte(), std::string(20, 't'));  // cut to 20
  EXPECT_TRUE(e.Drapeau);
  std::string mdp;
  TMotDePasse::StaticClass()->Decoder(e.MotDePasse.Texte(), mdp);
  EXPECT_EQ(mdp, "Motdepasse");

  const auto g = TServeurScripte::GroupeCrypte(3, "Profs", 0x0102, {0, 1, 9, 255});
  TypeGroupeUtilisateurs pg;
  ASSERT_TRUE(LireGroupeUtilisateursCrypte(g.data(), static_cast<int32_t>(g.size()), pg));
  EXPECT_EQ(pg.Nom.Texte(), "Profs");
  EXPECT_EQ(pg.Genre, 2);  // the low byte of the word
  TypeEnsembleDroits attendu{};
  attendu[0] = 0x02;  // bit 1 (byte 0 of the message is ignored)
  attendu[1] = 0x02;  // bit 9
  attendu[31] = 0x80;  // bit 255
  EXPECT_EQ(pg.Droits, attendu);

  for (std::size_t n = 0; n < u.size(); ++n)
    EXPECT_FALSE(RecevoirUtilisateur(u.data(), static_cast<int32_t>(n))) << n;
  for (std::size_t n = 0; n < g.size(); ++n)
    EXPECT_FALSE(RecevoirGroupeUtilisateurs(g.data(), static_cast<int32_t>(n))) << n;
  const auto a = TServeurScripte::AffectationOctets(1, 2, 3, 4);
  EXPECT_FALSE(RecevoirAffectation(a.data(), kTailleAffectation - 1));
  const std::vector<uint8_t> p(kTailleProfilServeur + 1, 0);
  EXPECT_FALSE(RecevoirProfilServeur(p.data(), kTailleProfilServeur + 1));
  EXPECT_EQ(Xi::Nombre(Utilisateurs()) + Xi::Nombre(GroupesUtilisateurs()) + Xi::Nombre(Affectations()) +
                Xi::Nombre(ProfilsServeurs()),
            0u);
}

TEST_F(BaseUtilisateursTest, ReceivedRecordsAreCreatedThenChangedByIdentifier) {
  auto p = UnProfilServeur(40, std::string("Collège"_ansi));
  ASSERT_TRUE(RecevoirProfilServeur(p.Octets, kTailleProfilServeur));
  p.DefinirNom("Collège Nord"_ansi);
  p.Octets[600] = 0xAB;  // a setting carried unchanged
  ASSERT_TRUE(RecevoirProfilServeur(p.Octets, kTailleProfilServeur));
  EXPECT_EQ(Xi::Nombre(ProfilsServeurs()), 1u);
  std::string nom;
  ProfilServeur::NomProfilServeur(40, nom);
  EXPECT_EQ(nom, "Collège Nord"_ansi);
  ProfilServeur::NomProfilServeur(41, nom);
  EXPECT_EQ(nom, "");
  ASSERT_TRUE(ProfilServeur::ChercherProfilServeurParNom("COLLÈGE NORD"_ansi));
  EXPECT_EQ(ProfilsServeurs()->Octets[600], 0xAB);

  ASSERT_TRUE(CreerGroupeUtilisateurs(UnGroupe(3, "G", kGenreModification, {})));
  ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(4, "USR")));
  auto a = TServeurScripte::AffectationOctets(1, 40, 3, 4);
  ASSERT_TRUE(RecevoirAffectation(a.data(), kTailleAffectation));
  a[4] = 41;  // moved to another server profile
  ASSERT_TRUE(RecevoirAffectation(a.data(), kTailleAffectation));
  EXPECT_EQ(Xi::Nombre(Affectations()), 1u);
  EXPECT_TRUE(ChercherAffectationDe(41, 4));
  EXPECT_FALSE(ChercherAffectationDe(40, 4));
}

TEST_F(BaseUtilisateursTest, AccessToServerProfilesFollowsTheKindOfTheProfileHeld) {
  ASSERT_TRUE(CreerGroupeUtilisateurs(UnGroupe(10, NomGroupeAdministration() + "x", kGenreAdministration, {})));
  ASSERT_TRUE(CreerGroupeUtilisateurs(UnGroupe(11, "Modif", kGenreModification, {})));
  ASSERT_TRUE(CreerGroupeUtilisateurs(UnGroupe(12, "Consult", kGenreConsultation, {})));
  for (auto [id, code, admin] : {std::tuple{1u, "SPR", false}, {2u, "INV", false}, {3u, "ADM", true},
                                 {4u, "MOD", false}, {5u, "CON", false}, {6u, "SAN", false}})
    ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(id, code, "", admin)));
  ASSERT_TRUE(CreerAffectation(UneAffectation(1, 100, 10, 3)));
  ASSERT_TRUE(CreerAffectation(UneAffectation(2, 100, 11, 4)));
  ASSERT_TRUE(CreerAffectation(UneAffectation(3, 100, 12, 5)));
  struct Cas {
    const char* code;
    bool accede, affecte;
    uint8_t genre;
  };
  // The super user's kind is the one of the group named like the administration group, absent here.
  const Cas cas[] = {{"SPR", true, true, 3}, {"INV", false, true, 3}, {"ADM", true, true, 0},
                     {"MOD", false, true, 1}, {"CON", false, true, 2}, {"SAN", false, false, 3}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.code);
    ASSERT_TRUE(Utilisateur::ChercherUtilisateurParCode(c.code));
    const uint32_t courant = Xi::NumeroCourant(Utilisateurs());
    EXPECT_EQ(Utilisateur::AccedeProfilServeur(100), c.accede);
    EXPECT_EQ(Utilisateur::AffecteAuProfilServeur(100), c.affecte);
    EXPECT_EQ(Utilisateur::GenreProfilUtilisateur(100), c.genre);
    EXPECT_EQ(Utilisateur::AccedeProfilServeur(101), std::string(c.code) == "SPR");
    EXPECT_EQ(Xi::NumeroCourant(Utilisateurs()), courant);  // positions restored
  }
  Utilisateur::IdentProfilServeurConnexion() = 100;
  ASSERT_TRUE(CreerProfilServeur(UnProfilServeur(100, "P")));
  EXPECT_TRUE(Utilisateur::UtilisateurAccedeProfilServeurCourant("ADM"));
  EXPECT_FALSE(Utilisateur::UtilisateurAccedeProfilServeurCourant("MOD"));
  EXPECT_FALSE(Utilisateur::UtilisateurAccedeProfilServeurCourant("???"));
}

}  // namespace
