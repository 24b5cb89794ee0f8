#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/records/Xi.h"
#include "net/cipher/CryptageClientServeur.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/Login.h"
#include "server/AccountBase.h"

namespace {

AccountBase Sample(uint32_t& Profile) {
  AccountBase a;
  uint32_t id = 0;
  EXPECT_EQ(a.AddServerProfile("Base", 49300, Profile), "");
  UserProfile modification{0, "Modification", 1, {}};
  modification.Rights[1] = 0x81;
  EXPECT_EQ(a.AddUserProfile(modification, id), "");
  EXPECT_EQ(a.AddUser({0, "Superviseur", "SPR", "", "Secret", 0, ""}, id), "");
  EXPECT_EQ(a.AddUser({0, "Jeanne Martin", "JMA", "jmartin", "pw1", 1, "texte"}, id), "");
  EXPECT_EQ(a.Assign("JMA", Profile, a.FindUserProfileByName("Modification")->Id, id), "");
  return a;
}

TEST(AccountBase, TheFileReadsBackEveryRecordWithItsPassword) {
  uint32_t profile = 0;
  const AccountBase a = Sample(profile);
  const std::string file = a.Serialize();
  EXPECT_EQ(file.find("pw1"), std::string::npos) << "a password is stored as typed";
  AccountBase b;
  std::string error;
  ASSERT_TRUE(b.Parse(file, error)) << error;
  EXPECT_EQ(b.Serialize(), file);
  const Account* u = b.FindUserByCode("JMA");
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(u->Password, "pw1");
  EXPECT_EQ(u->Login, "jmartin");
  EXPECT_EQ(b.FindServerProfile(profile)->Port, 49300);
  EXPECT_EQ(b.KindIn(*u, profile), uint8_t{1});
  // Identifiers go on from where they were.
  uint32_t id = 0;
  ASSERT_EQ(b.AddUser({0, "N", "NEW", "", "", 0, ""}, id), "");
  for (const Account& x : a.Users()) EXPECT_NE(x.Id, id);
}

TEST(AccountBase, ADamagedOrTruncatedFileIsRefusedWholeAndLeavesTheBaseAsItWas) {
  uint32_t profile = 0;
  const std::string file = Sample(profile).Serialize();
  struct Cas {
    const char* Nom;
    std::string Octets;
  };
  std::vector<Cas> cas = {{"empty", ""}, {"magic only", file.substr(0, 4)}, {"header only", file.substr(0, 12)},
                          {"half", file.substr(0, file.size() / 2)}, {"last byte missing", file.substr(0, file.size() - 1)},
                          {"one byte more", file + "x"}};
  for (size_t at : {size_t{2}, size_t{5}, size_t{20}, file.size() / 2, file.size() - 2}) {
    std::string flipped = file;
    flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
    cas.push_back({"byte flipped", flipped});
  }
  for (const Cas& c : cas) {
    AccountBase b;
    uint32_t id = 0;
    ASSERT_EQ(b.AddServerProfile("Autre", 1, id), "");
    std::string error;
    EXPECT_FALSE(b.Parse(c.Octets, error)) << c.Nom;
    EXPECT_FALSE(error.empty()) << c.Nom;
    ASSERT_EQ(b.ServerProfiles().size(), 1u) << c.Nom;
    EXPECT_EQ(b.ServerProfiles()[0].Name(), "Autre") << c.Nom;
  }
}

TEST(AccountBase, ChangesThatWouldBreakTheAccountsAreRefused) {
  uint32_t profile = 0;
  AccountBase a = Sample(profile);
  const Account spr = *a.FindUserByCode("SPR");
  uint32_t id = 0;
  struct Cas {
    const char* Nom;
    std::string Erreur;
  };
  const Cas cas[] = {
      {"a code already used", a.AddUser({0, "X", "JMA", "", "", 0, ""}, id)},
      {"a login already used", a.AddUser({0, "X", "XYZ", "jmartin", "", 0, ""}, id)},
      {"a code already used, in another case", a.AddUser({0, "X", "jMa", "", "", 0, ""}, id)},
      {"a login already used, in another case", a.AddUser({0, "X", "XYZ", "JMartin", "", 0, ""}, id)},
      {"the login that a user without one goes by", a.AddUser({0, "X", "XYZ", "Spr", "", 0, ""}, id)},
      {"an empty code", a.AddUser({0, "X", "", "", "", 0, ""}, id)},
      {"a code of four characters", a.AddUser({0, "X", "ABCD", "", "", 0, ""}, id)},
      {"a password that its coding cannot hold", a.AddUser({0, "X", "XYZ", "", "1234567890123", 0, ""}, id)},
      {"removing the super user", a.RemoveUser("SPR")},
      {"the super user losing its code", a.ChangeUser({spr.Id, "S", "SUP", "", "x", 0, ""})},
      {"an unknown server profile", a.Assign("JMA", profile + 1000, a.UserProfiles()[0].Id, id)},
      {"an unknown user", a.Assign("ZZZ", profile, a.UserProfiles()[0].Id, id)},
      {"a second profile on the same port", a.AddServerProfile("Autre", 49300, id)},
  };
  for (const Cas& c : cas) EXPECT_FALSE(c.Erreur.empty()) << c.Nom;
  EXPECT_EQ(a.Users().size(), 2u);
  // A user profile is looked up by its name in any case; a name of any length is only not found
  // (the administration command passes its argument as it is typed).
  EXPECT_NE(a.FindUserProfileByName("MODIFICATION"), nullptr);
  EXPECT_EQ(a.FindUserProfileByName(std::string(300, 'M')), nullptr);
  // Removing a user takes its assignments with it.
  ASSERT_EQ(a.RemoveUser("JMA"), "");
  EXPECT_TRUE(a.Assignments().empty());
}

// Clients keep the server profiles in orders unique on the name and on the second name: every
// profile the server holds must stand in them.
TEST(AccountBase, EveryServerProfileStandsInTheClientsCopy) {
  uint32_t profile = 0;
  AccountBase a = Sample(profile);
  uint32_t id = 0;
  ASSERT_EQ(a.AddServerProfile("Archives de l'annee 2025-2026, A", 0, id), "");
  ASSERT_EQ(a.AddServerProfile("Autre", 0, id), "");
  EXPECT_NE(a.AddServerProfile("AUTRE", 0, id), "") << "a name in another case";
  EXPECT_NE(a.AddServerProfile("Archives de l'annee 2025-2026, B", 0, id), "") << "the same first 30 characters";
  BaseUtilisateurs::ToutSupprimer();
  for (const ServerProfile& p : a.ServerProfiles())
    EXPECT_TRUE(BaseUtilisateurs::RecevoirProfilServeur(p.Record.data(), static_cast<int32_t>(p.Record.size()))) << p.Name();
  EXPECT_EQ(Xi::Nombre(BaseUtilisateurs::ProfilsServeurs()), a.ServerProfiles().size());
  BaseUtilisateurs::ToutSupprimer();
}

TEST(AccountBase, TheClientReadsTheUsersItIsSentAndOnlyItsOwnRecordHoldsItsPassword) {
  uint32_t profile = 0;
  const AccountBase a = Sample(profile);
  const Account& jma = *a.FindUserByCode("JMA");
  const Account nopassword{9, "Sans", "SAN", "", "", 0, ""};
  struct Cas {
    const Account* U;
    bool Own;
  };
  for (const Cas c : {Cas{&jma, true}, Cas{&jma, false}, Cas{&nopassword, true}, Cas{&nopassword, false}}) {
    const std::string coded = AccountBase::CodedUser(*c.U, c.Own, true);
    TypeUtilisateur e;
    ASSERT_TRUE(BaseUtilisateurs::LireUtilisateurCrypte(coded.data(), static_cast<int32_t>(coded.size()), e));
    EXPECT_EQ(e.Identifiant, c.U->Id);
    EXPECT_EQ(e.Code.Texte(), c.U->Code);
    EXPECT_EQ(e.Nom.Texte(), c.U->Name);
    // A user without a login goes by its code.
    EXPECT_EQ(e.Login.Texte(), c.U == &jma ? "jmartin" : "SAN");
    EXPECT_EQ(e.Administrateur, 1);
    std::string password;
    TMotDePasse::StaticClass()->Decoder(e.MotDePasse.Texte(), password);
    const std::string expected = c.U->Password.empty() ? std::string(Login::SansMotDePasse()) : c.U->Password;
    if (c.Own) {
      EXPECT_EQ(password, expected);
    } else {
      EXPECT_NE(password, expected);
      EXPECT_NE(password, Login::SansMotDePasse()) << "another user's record would pass any password";
    }
  }
}

TEST(AccountBase, AUserProfileTravelsWithOneByteForEachRight) {
  UserProfile p{7, "Profs", 2, {}};
  p.Rights[0] = 0x03;  // rights 0 and 1: right 0 does not exist
  p.Rights[31] = 0x80;  // right 255
  const std::string coded = AccountBase::CodedUserProfile(p);
  TypeGroupeUtilisateurs e;
  ASSERT_TRUE(BaseUtilisateurs::LireGroupeUtilisateursCrypte(coded.data(), static_cast<int32_t>(coded.size()), e));
  EXPECT_EQ(e.Identifiant, 7u);
  EXPECT_EQ(e.Nom.Texte(), "Profs");
  EXPECT_EQ(e.Genre, 2);
  TypeEnsembleDroits droits{};
  droits[0] = 0x02;
  droits[31] = 0x80;
  EXPECT_EQ(e.Droits, droits);
  const std::string affectation = AccountBase::AssignmentRecord({1, 2, 3, 4});
  EXPECT_EQ(affectation, std::string("\1\0\0\0\2\0\0\0\3\0\0\0\4\0\0\0\1\0\0\0", 20));
}

}  // namespace
