// The connection settings in the two hives: the hive saved last gives the values, the machine hive
// on a tie; saving stamps both hives.
#include "streams/SupParametreClient.h"

#include "core/objects/Exceptions.h"
#include "tests/streams/SettingsFixture.h"

using namespace SupParametreClient;

namespace {
const std::string kRacine = "Software\\Norvane\\Tempravo\\Service web";
const std::string kConnexion = kRacine + "\\Connexion";
}  // namespace

TEST(DateDeSauvegarde, ReadsTheStampAndTakesAnythingElseForTheDefaultDate) {
  const TDateTime defaut = DateTime::EncodeDate(2007, 2, 5);
  struct Cas {
    const char* texte;
    TDateTime attendu;
  };
  const Cas cas[] = {
      {"5/2/2007 00:00:00", defaut},
      {"31/12/2026 23:59:59", DateTime::EncodeDate(2026, 12, 31) + DateTime::EncodeTime(23, 59, 59, 0)},
      {"01/03/2024 7:05", DateTime::EncodeDate(2024, 3, 1) + DateTime::EncodeTime(7, 5, 0, 0)},
      {"29/02/2024", DateTime::EncodeDate(2024, 2, 29)},
      {"29/02/2023 10:00:00", defaut},
      {"12/13/2024 10:00:00", defaut},
      {"01/01/2024 24:00:00", defaut},
      {"01/01/2024 10:00:00 pm", defaut},
      {"2024-01-01 10:00:00", defaut},
      {"", defaut},
  };
  for (const Cas& c : cas) EXPECT_DOUBLE_EQ(DateSauvegarde(c.texte), c.attendu) << c.texte;
  const TDateTime instant = DateTime::EncodeDate(2026, 1, 9) + DateTime::EncodeTime(8, 7, 6, 0);
  EXPECT_EQ(TexteSauvegarde(instant), "09/01/2026 08:07:06");
  EXPECT_DOUBLE_EQ(DateSauvegarde(TexteSauvegarde(instant)), instant);
}

TEST_F(RegistreEssai, TheHiveSavedLastGivesTheConnectionSettings) {
  struct Cas {
    const char* quoi;
    const char* dateUtilisateur;  // nil: no stamp
    const char* dateMachine;
    bool adresseUtilisateur, adresseMachine;
    const char* attendu;
  };
  const Cas cas[] = {
      {"user saved later", "02/01/2026 10:00:00", "01/01/2026 10:00:00", true, true, "user"},
      {"machine saved later", "01/01/2026 10:00:00", "01/01/2026 10:00:01", true, true, "machine"},
      {"same moment: the machine hive", "01/01/2026 10:00:00", "1/1/2026 10:00:00", true, true, "machine"},
      {"no stamp anywhere: the machine hive", nullptr, nullptr, true, true, "machine"},
      {"no stamp, value in the user hive only", nullptr, nullptr, true, false, "user"},
      {"user later, value in the machine hive only", "02/01/2026 10:00:00", "01/01/2026 10:00:00", false, true, "machine"},
      {"nothing stored: the client's value", "02/01/2026 10:00:00", nullptr, false, false, "client"},
      {"an unreadable user stamp counts as the default date", "hier", "06/02/2007 00:00:00", true, true, "machine"},
  };
  for (const Cas& c : cas) {
    std::filesystem::remove(Store().Path(TRegistryHive::User));
    std::filesystem::remove(Store().Path(TRegistryHive::Machine));
    if (c.dateUtilisateur) Poser(TRegistryHive::User, kConnexion, "Derniere Sauvegarde", VCLRegis::Chaine(c.dateUtilisateur));
    if (c.dateMachine) Poser(TRegistryHive::Machine, kConnexion, "Derniere Sauvegarde", VCLRegis::Chaine(c.dateMachine));
    for (const char* nom : {"Adresse IP du Serveur", "Port TCP du Serveur"}) {
      if (c.adresseUtilisateur) Poser(TRegistryHive::User, kConnexion, nom, VCLRegis::Chaine("user"));
      if (c.adresseMachine) Poser(TRegistryHive::Machine, kConnexion, nom, VCLRegis::Chaine("machine"));
    }
    TRegistre registre;
    registre.Racine = kRacine;
    TypeParametresConnexion parametres{"client", "client"};
    LireParametresConnexion(parametres, registre);
    EXPECT_EQ(parametres.AdresseIpServeur, c.attendu) << c.quoi;
    EXPECT_EQ(parametres.PortTcpServeur, c.attendu) << c.quoi;
    EXPECT_EQ(registre.Racine, kRacine) << c.quoi;
  }
}

TEST_F(RegistreEssai, SavingStampsBothHivesAndASecondReaderSeesTheValues) {
  DateTime::SetClock([] { return DateTime::EncodeDate(2026, 12, 10) + DateTime::EncodeTime(14, 30, 5, 600); });
  TRegistre registre;
  registre.Racine = kRacine;
  SauverParametresConnexion(TypeParametresConnexion{"192.168.1.20", "49301"}, registre);
  DateTime::SetClock(nullptr);
  EXPECT_EQ(registre.Racine, kRacine);
  for (TRegistryHive ruche : {TRegistryHive::User, TRegistryHive::Machine}) {
    EXPECT_EQ(Texte(ruche, kConnexion, "Derniere Sauvegarde"), "10/12/2026 14:30:05");
    EXPECT_EQ(Texte(ruche, kConnexion, "Adresse IP du Serveur"), "192.168.1.20");
    EXPECT_EQ(Texte(ruche, kConnexion, "Port TCP du Serveur"), "49301");
  }
  TRegistre autre;
  autre.Racine = kRacine;
  TypeParametresConnexion lus{"127.0.0.1", "49300"};
  LireParametresConnexion(lus, autre);
  EXPECT_EQ(lus.AdresseIpServeur, "192.168.1.20");
  EXPECT_EQ(lus.PortTcpServeur, "49301");
}

TEST_F(RegistreEssai, TheDataClientsAddressAndPortGoThroughTheRegistry) {
  TRegistre registre;
  registre.Racine = kRacine;
  MainLoop loop{[] {}, [] {}};
  TIeClient client(loop);
  EXPECT_EQ(client.GetAdresseIpServeur(), "127.0.0.1");
  EXPECT_EQ(client.GetPortTcpServeur(), "49300");
  client.SetAdresseIpServeur("10.0.0.7");
  client.SetPortTcpServeur("49310");
  SauverParametresConnexion(client, registre);
  TIeClient autre(loop);
  LireParametresConnexion(autre, registre);
  EXPECT_EQ(autre.GetAdresseIpServeur(), "10.0.0.7");
  EXPECT_EQ(autre.GetPortTcpServeur(), "49310");
}
