// The program's command line carried out in the test's process, against a settings store and a
// service manager's root of the test's own: usage, install and removal, show and set settings with
// their checks and messages, and the refusals with their exit statuses.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/service/Systemd.h"
#include "platform/ui/VclDialogue.h"
#include "service/ApplicationServiceWeb.h"
#include "service/EcrSvcWPrincipal.h"
#include "service/LigneCommande.h"
#include "service/Noyau.h"
#include "service/ServiceControlManager.h"
#include "streams/Registre.h"
#include "tests/streams/SettingsFixture.h"

namespace fs = std::filesystem;

namespace {

class LigneCommandeEssai : public RegistreEssai {
 protected:
  void SetUp() override {
    RegistreEssai::SetUp();
    unites = std::make_unique<TUnitesSystemd>((folder_ / "racine").string());
    Systemd::DefinirGestionnaire(unites.get());
    VclDialogue::DefinirSortie([this](const std::string& l) { messages.push_back(l); });
  }
  void TearDown() override {
    VclDialogue::DefinirSortie(nullptr);
    Systemd::DefinirGestionnaire(nullptr);
    Noyau::DefinirLigneCommande(0, nullptr);
    RegistreEssai::TearDown();
  }
  // Carries out the command line `mots` (after the program) with `entree` on the standard input.
  int Lancer(std::vector<const char*> mots, const std::string& entree = "") {
    mots.insert(mots.begin(), "/opt/tz/svcweb");
    Noyau::DefinirLigneCommande(static_cast<int>(mots.size()), mots.data());
    messages.clear();
    sortie.str("");
    std::istringstream in(entree);
    return LigneCommande::Executer(in, sortie);
  }
  std::string Messages() const {
    std::string m;
    for (const auto& l : messages) m += l + "\n";
    return m;
  }
  int32_t Entier(const std::string& nom) {
    std::string detail;
    TRegistryValue v{HiveFile::kKindNumber, {}, 0};
    if (Store().Read(TRegistryHive::User, TFicheSvcWPrincipal::kRacineParametres, nom, v, detail) != TRegistryStatus::Ok)
      return -999;
    return static_cast<int32_t>(v.Number);
  }

  std::unique_ptr<TUnitesSystemd> unites;
  std::vector<std::string> messages;
  std::ostringstream sortie;
};

TEST_F(LigneCommandeEssai, WithoutACommandTheServiceRunsAndAnUnknownOptionIsRefused) {
  EXPECT_EQ(Lancer({}), -1);
  EXPECT_EQ(Lancer({"Planning", "-svc", "--login-file=/etc/x"}), -1);
  EXPECT_EQ(Lancer({"/SVC"}), -1);
  for (std::vector<const char*> mots : {std::vector<const char*>{"--hepl"}, {"-x", "Planning"}, {"--help", "--settings"}}) {
    EXPECT_EQ(Lancer(mots), LigneCommande::kUsage) << mots[0];
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Option inconnue : "), std::string::npos) << messages[0];
  }
  EXPECT_EQ(Lancer({"--help"}), 0);
  EXPECT_TRUE(sortie.str().starts_with("Usage :\n  svcweb [BASE] [-svc] [--login-file=FICHIER]\n")) << sortie.str();
  EXPECT_NE(sortie.str().find("svcweb --install BASE CODE\n"), std::string::npos);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Lancer({"--settings", "Planning"}), LigneCommande::kUsage);
}

TEST_F(LigneCommandeEssai, TheSevenSettingsAreShownAndSetWithTheSettingsPagesChecks) {
  EXPECT_EQ(Lancer({"--settings"}), 0);
  const std::string defauts = sortie.str();
  EXPECT_TRUE(defauts.starts_with("PortIp=8080\nRPCLiteral=0\nTailleLimite=100\nAppliquerTailleLimite=0\n"
                                  "DiffererTraitementSoap=1\nDiffererErreur401=1\nUniquementTypesSimples=0\n"
                                  "UrlDocumentWsdl=http://"))
      << defauts;
  EXPECT_TRUE(defauts.ends_with(":8080\n")) << defauts;

  EXPECT_EQ(Lancer({"--set", "PortIp=9090", "rpcliteral=1", "TailleLimite=250", "AppliquerTailleLimite=1",
                    "DiffererTraitementSoap=0", "DiffererErreur401=0", "UniquementTypesSimples=1"}),
            0)
      << Messages();
  EXPECT_EQ(Lancer({"--settings"}), 0);
  EXPECT_TRUE(sortie.str().starts_with("PortIp=9090\nRPCLiteral=1\nTailleLimite=250\nAppliquerTailleLimite=1\n"
                                       "DiffererTraitementSoap=0\nDiffererErreur401=0\nUniquementTypesSimples=1\n"))
      << sortie.str();
  EXPECT_TRUE(sortie.str().ends_with(":9090\n"));

  // Each refusal: its message, a failure status, and nothing written (a good value before it included).
  const struct {
    std::vector<const char*> mots;
    int statut;
    const char* message;
  } refus[] = {
      {{"--set", "TailleLimite=7", "PortIp=0"}, LigneCommande::kEchec, "EcrSvcWPrincipalPortIpInvalide"},
      {{"--set", "PortIp=70000"}, LigneCommande::kEchec, "EcrSvcWPrincipalPortIpInvalide"},
      {{"--set", "PortIp=8O"}, LigneCommande::kEchec, "EcrSvcWPrincipalPortIpInvalide"},
      {{"--set", "TailleLimite=0"}, LigneCommande::kEchec, "EcrSvcWPrincipalTailleLimiteInvalide"},
      {{"--set", "DiffererErreur401=oui"}, LigneCommande::kEchec, "Le r\xE9glage DiffererErreur401 vaut 0 ou 1."},
      {{"--set", "Port=80"}, LigneCommande::kUsage, "Le r\xE9glage Port n'existe pas"},
      {{"--set", "PortIp"}, LigneCommande::kUsage, "Le r\xE9glage PortIp n'existe pas"},
      {{"--set"}, LigneCommande::kUsage, "Les arguments de --set ne conviennent pas"},
  };
  for (const auto& r : refus) {
    EXPECT_EQ(Lancer(r.mots), r.statut) << r.message;
    EXPECT_EQ(messages.size(), 1u) << Messages();
    EXPECT_NE(Messages().find(r.message), std::string::npos) << Messages();
    EXPECT_EQ(Entier("PortIp"), 9090);
    EXPECT_EQ(Entier("TailleLimite"), 250);
  }
}

TEST_F(LigneCommandeEssai, ADamagedUserHiveIsSaidOnceAndNeverWrittenOver) {
  const fs::path ruche = folder_ / "user.hive";
  std::ofstream(ruche) << "pas une ruche";
  EXPECT_EQ(Lancer({"--settings"}), LigneCommande::kEchec);
  ASSERT_EQ(messages.size(), 1u) << Messages();
  EXPECT_NE(messages[0].find("Les r\xE9glages du service web ne peuvent pas \xEAtre lus (hive file \"" + ruche.string() +
                             "\" is corrupt"),
            std::string::npos)
      << messages[0];
  EXPECT_TRUE(sortie.str().starts_with("PortIp=8080\n"));

  EXPECT_EQ(Lancer({"--set", "PortIp=9000"}), LigneCommande::kEchec);
  EXPECT_EQ(messages.size(), 1u) << Messages();

  // The window's way: read once (said once), then closing saves nothing over the file.
  MainLoop boucle;
  TFicheSvcWPrincipal fiche(boucle.Context(), nullptr);
  messages.clear();
  fiche.LireParametres();
  EXPECT_FALSE(fiche.EcrireParametres());
  fiche.FormClose();
  EXPECT_EQ(messages.size(), 1u) << Messages();
  std::ifstream relue(ruche);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(relue), {}), "pas une ruche");
}

TEST_F(LigneCommandeEssai, InstallAndRemoveTheServiceOfABaseWithItsLoginInItsFile) {
  EXPECT_EQ(Lancer({"--install", "Planning"}), LigneCommande::kUsage);
  EXPECT_EQ(Lancer({"--install", "Planning", "ABC"}, ""), LigneCommande::kEchec);
  EXPECT_NE(Messages().find("Le mot de passe du compte du service se lit sur l'entr\xE9" "e standard"), std::string::npos);
  EXPECT_EQ(Lancer({"--install", std::string(33, 'B').c_str(), "ABC"}, "secret\n"), LigneCommande::kUsage);
  EXPECT_TRUE(unites->Lister().empty());

  ASSERT_EQ(Lancer({"--install", "Planning", "ABC"}, "secret\n"), 0) << Messages();
  EXPECT_NE(Messages().find("Cr\xE9" "ation du service NT en cours ..."), std::string::npos) << Messages();
  EXPECT_NE(Messages().find("EcrSvcWPrincipalServiceInstalle"), std::string::npos) << Messages();
  const auto liste = unites->Lister();
  ASSERT_EQ(liste.size(), 1u);
  EXPECT_EQ(liste[0].Nom, "SVCWEBTZ50Service");
  EXPECT_EQ(liste[0].NomAffiche, "Norvane - Service Web TZ50 Planning");
  const std::string login = unites->FichierLogin("SVCWEBTZ50Service");
  // The program's own path (this test program's here), the base, service mode and the login's file.
  EXPECT_EQ(liste[0].Commande, "\"" + TApplicationNorvane::CheminProgramme() + "\" \"Planning\" \"-svc\" \"--login-file=" +
                                   login + "\"");
  std::string encode, erreur, code, motDePasse;
  ASSERT_TRUE(TApplicationServiceWeb::LireFichierLogin(login, encode, erreur)) << erreur;
  TApplicationServiceWeb::DecoderLogin(encode, code, motDePasse);
  EXPECT_EQ(code, "ABC");
  EXPECT_EQ(motDePasse, "secret");

  // One web service of the family at a time.
  EXPECT_EQ(Lancer({"--install", "Autre", "ABC"}, "secret\n"), LigneCommande::kEchec);
  EXPECT_NE(Messages().find("EcrSvcWPrincipalServiceInstallationEnDoubleImpossible"), std::string::npos);
  EXPECT_EQ(unites->Lister().size(), 1u);

  // Removal is refused in service mode, then done with the state's text and the base's display name.
  EXPECT_EQ(Lancer({"--remove", "-svc"}), LigneCommande::kEchec);
  EXPECT_NE(Messages().find("EcrSvcWPrincipalServiceEchecDesinstallationCarLanceService"), std::string::npos);
  EXPECT_EQ(unites->Lister().size(), 1u);
  EXPECT_EQ(Lancer({"--remove"}), 0);
  EXPECT_NE(Messages().find(ServiceControlManager::TexteEtat(0, "Norvane - Service Web TZ50 Planning")), std::string::npos)
      << Messages();
  EXPECT_TRUE(unites->Lister().empty());
  EXPECT_FALSE(fs::exists(login));

  // Removing every web service of the family reports each one.
  ASSERT_EQ(Lancer({"--install", "Planning", "ABC"}, "secret\n"), 0) << Messages();
  EXPECT_EQ(Lancer({"--remove-all"}), 0);
  EXPECT_NE(Messages().find("Le service Norvane - Service Web TZ50 Planning a \xE9t\xE9 supprim\xE9"), std::string::npos)
      << Messages();
  EXPECT_TRUE(unites->Lister().empty());
}

// A translator that gives each resource string its name, with the argument the state texts take.
bool TraduireParNom(const TChaineRessource& Chaine, std::string& Texte) {
  Texte = "<" + std::string(Chaine.Nom) + (std::string_view(Chaine.TexteIntegre).find("%s") != std::string_view::npos ? " %s>" : ">");
  return true;
}

TEST_F(LigneCommandeEssai, TheServiceTextsAreResourceStringsThatAModuleTranslates) {
  const TChaineRessource* const attendues[] = {
      ChaineRessource::ParId(65200), ChaineRessource::ParId(65208), ChaineRessource::ParId(65211),
      ChaineRessource::ParId(65218)};
  for (const auto* c : attendues) ASSERT_NE(c, nullptr);
  EXPECT_EQ(attendues[0]->Nom, "ServiceControlManager_RS_NTServiceEstSupprime");
  EXPECT_EQ(attendues[1]->Nom, "ApplicationCommuneNorvane_RS_InstallationEnCours");
  EXPECT_EQ(attendues[2]->Nom, "VclDialogue_SVokMsgDlgInformation");
  EXPECT_EQ(attendues[3]->Nom, "LigneCommande_RS_Usage");

  const auto avant = ChaineRessource::Traducteur();
  ChaineRessource::DefinirTraducteur(TraduireParNom);
  EXPECT_EQ(ServiceControlManager::TexteEtat(4, "S"), "<ServiceControlManager_RS_NTServiceEstDemarre S>");
  VclDialogue::DefinirNomProgramme("TEMPRAVO");
  EXPECT_EQ(VclDialogue::Legende(5, 8), "TEMPRAVO - <VclDialogue_SVokMsgDlgAlerte>");
  EXPECT_EQ(Lancer({"--help"}), 0);
  const std::string aide = sortie.str();
  EXPECT_EQ(Lancer({"--install", "Planning", "ABC"}, "secret\n"), 0);
  const std::string installe = Messages();
  ChaineRessource::DefinirTraducteur(avant);
  EXPECT_EQ(aide, "<LigneCommande_RS_Usage>\n");
  EXPECT_NE(installe.find("<ApplicationCommuneNorvane_RS_InstallationEnCours>"), std::string::npos) << installe;
}

TEST_F(LigneCommandeEssai, ASwitchIsNeverTakenAsTheBaseName) {
  const struct {
    std::vector<const char*> mots;
    const char* base;
  } cas[] = {{{"-svc"}, ""}, {{"--help"}, ""}, {{"-svc", "--login-file=x", "Planning"}, "Planning"}, {{"Planning", "-svc"}, "Planning"}};
  for (const auto& c : cas) {
    std::vector<const char*> mots = c.mots;
    mots.insert(mots.begin(), "svcweb");
    Noyau::DefinirLigneCommande(static_cast<int>(mots.size()), mots.data());
    MainLoop boucle;
    TFicheSvcWPrincipal fiche(boucle.Context(), nullptr);
    fiche.FormCreate();
    EXPECT_EQ(fiche.NomBase, c.base) << mots[1];
  }
}

}  // namespace
