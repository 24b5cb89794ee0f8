#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/registry/Registry.h"
#include "platform/service/Systemd.h"
#include "platform/ui/VclDialogue.h"
#include "service/ApplicationServiceWeb.h"
#include "service/EcrSvcWPrincipal.h"
#include "service/ServiceControlManager.h"
#include "streams/Registre.h"
#include "tests/service/Processus.h"
#include "tests/streams/SettingsFixture.h"

namespace fs = std::filesystem;

namespace {

// A port that nothing listens on now (the system's choice for a socket bound then closed).
uint16_t PortLibre() {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t l = sizeof(a);
  ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a));
  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &l);
  ::close(s);
  return ntohs(a.sin_port);
}

// A main window with the loop context and the data module it needs.
struct FicheEssai {
  MainLoop boucle;
  TFicheNetClient netClient;
  TFicheSvcWPrincipal fiche{boucle.Context(), &netClient};
};

TEST(ApplicationServiceWeb, TheLoginTextGivesTheUserCodeAndThePasswordWithinItsLength) {
  const struct { std::string texte, code, motDePasse; } cas[] = {
      {"3 ABCsecret", "ABC", "secret"},
      {"0 secret", "", "secret"},         // length "0": empty user code
      {"99 AB", "AB", ""},                // an announced length past the end stops at the end
      {"x AB", "", "AB"},                 // not a number: 0
      {"1234567890 AB", "", "AB"},        // more digits than any length: 0
      {"4294967299 AB", "", "AB"},
      {"2", "", ""},                      // no blank at all
      {"", "", ""},
      {"1  x", " ", "x"},
      {"3 ABC" + std::string(300, 'p'), "ABC", std::string(255, 'p')},  // the password keeps 255 characters
  };
  for (const auto& c : cas) {
    std::string code = "?", motDePasse = "?";
    TApplicationServiceWeb::AnalyserLogin(c.texte, code, motDePasse);
    EXPECT_EQ(code, c.code) << c.texte;
    EXPECT_EQ(motDePasse, c.motDePasse) << c.texte;
  }
}

class FichierLoginEssai : public ::testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/nv_login_XXXXXX";
    ASSERT_NE(::mkdtemp(modele), nullptr);
    dossier = modele;
  }
  void TearDown() override { fs::remove_all(dossier); }
  std::string Ecrire(const std::string& nom, const std::string& texte, mode_t mode) {
    const std::string p = (dossier / nom).string();
    std::ofstream(p) << texte;
    ::chmod(p.c_str(), mode);
    return p;
  }
  fs::path dossier;
};

TEST_F(FichierLoginEssai, OnlyAFileOfTheServiceAccountThatNoOneElseReadsGivesTheLogin) {
  std::string encode, erreur;
  EXPECT_TRUE(TApplicationServiceWeb::LireFichierLogin(Ecrire("ok", "0A1B\n", 0600), encode, erreur)) << erreur;
  EXPECT_EQ(encode, "0A1B");
  const std::string refuses[] = {
      Ecrire("lisible", "0A1B", 0644),
      Ecrire("groupe", "0A1B", 0640),
      Ecrire("long", std::string(TApplicationServiceWeb::kTailleMaxFichierLogin + 1, 'A'), 0600),
      (dossier / "absent").string(),
      dossier.string(),
  };
  for (const auto& p : refuses) {
    erreur.clear();
    EXPECT_FALSE(TApplicationServiceWeb::LireFichierLogin(p, encode, erreur)) << p;
    EXPECT_FALSE(erreur.empty()) << p;
    EXPECT_TRUE(encode.empty()) << p;
  }
  fs::create_symlink(dossier / "ok", dossier / "lien");
  EXPECT_FALSE(TApplicationServiceWeb::LireFichierLogin((dossier / "lien").string(), encode, erreur));
}

TEST(ApplicationServiceWeb, WithoutABaseTheServiceHasItsBaseLessIdentity) {
  TApplicationServiceWeb application;
  application.TerminerCreation();
  EXPECT_EQ(application.ServiceNT.Nom, "SVCWEBTZ50Service");
  EXPECT_EQ(application.ServiceNT.NomAffiche, "Norvane - Service Web TZ50");
  EXPECT_EQ(application.ServiceNT.Parametres, "");
  EXPECT_FALSE(application.ModeService());  // no "-svc" on the test's command line
}

// ---- settings ---------------------------------------------------------------------------------

class ParametresEssai : public RegistreEssai {
 protected:
  void SetUp() override {
    RegistreEssai::SetUp();
    VclDialogue::DefinirSortie([this](const std::string& l) { messages.push_back(l); });
  }
  void TearDown() override {
    VclDialogue::DefinirSortie(nullptr);
    RegistreEssai::TearDown();
  }
  int32_t Entier(const std::string& nom) {
    std::string detail;
    TRegistryValue v{HiveFile::kKindNumber, {}, 0};
    EXPECT_EQ(Store().Read(TRegistryHive::User, TFicheSvcWPrincipal::kRacineParametres, nom, v, detail),
              TRegistryStatus::Ok)
        << nom;
    return static_cast<int32_t>(v.Number);
  }
  std::vector<std::string> messages;
};

TEST_F(ParametresEssai, TheWindowsComeWithTheHolderOfTheOpenBaseWhichTheApplicationFreesWithThem) {
  {
    TApplicationServiceWeb application;
    application.TerminerCreation();
    application.CreerFenetres();
    ASSERT_NE(application.FicheGlobales(), nullptr);
    EXPECT_EQ(EcrGlobale::FicheGlobales(), application.FicheGlobales()) << "local changes would mark nothing";
  }
  EXPECT_EQ(EcrGlobale::FicheGlobales(), nullptr) << "the global holder outlived its application";
}

TEST_F(ParametresEssai, MissingSettingsTakeTheirDefaultsAndSavedOnesComeBack) {
  FicheEssai essai_fiche;
  auto& fiche = essai_fiche.fiche;
  fiche.LireParametres();
  EXPECT_EQ(fiche.PortIp, 8080u);
  EXPECT_FALSE(fiche.RPCLiteral);
  EXPECT_EQ(fiche.TailleLimite, 100u);
  EXPECT_FALSE(fiche.AppliquerTailleLimite);
  EXPECT_TRUE(fiche.DiffererTraitementSoap);
  EXPECT_TRUE(fiche.DiffererErreur401);
  EXPECT_FALSE(fiche.UniquementTypesSimples);

  fiche.PortIp = 9090;
  fiche.RPCLiteral = true;
  fiche.TailleLimite = 2048;
  fiche.AppliquerTailleLimite = true;
  fiche.DiffererTraitementSoap = false;
  fiche.DiffererErreur401 = false;
  fiche.UniquementTypesSimples = true;
  fiche.EcrireParametres();
  EXPECT_EQ(Entier("PortIp"), 9090);
  EXPECT_EQ(Entier("RPCLiteral"), 1);
  EXPECT_EQ(Entier("DiffererErreur401"), 0);

  FicheEssai essai_relue;
  auto& relue = essai_relue.fiche;
  relue.LireParametres();
  EXPECT_EQ(relue.PortIp, 9090u);
  EXPECT_EQ(relue.edPortIp, "9090");
  EXPECT_TRUE(relue.RPCLiteral);
  EXPECT_EQ(relue.TailleLimite, 2048u);
  EXPECT_EQ(relue.edTailleLimite, "2048");
  EXPECT_TRUE(relue.AppliquerTailleLimite);
  EXPECT_FALSE(relue.DiffererTraitementSoap);
  EXPECT_FALSE(relue.DiffererErreur401);
  EXPECT_TRUE(relue.UniquementTypesSimples);
}

TEST_F(ParametresEssai, AStoredPortOrLimitTheFieldsWouldRefuseKeepsTheDefault) {
  for (int32_t port : {-1, 0, 65536, 70000}) {
    Poser(TRegistryHive::User, TFicheSvcWPrincipal::kRacineParametres, "PortIp", VCLRegis::Entier(port));
    Poser(TRegistryHive::User, TFicheSvcWPrincipal::kRacineParametres, "TailleLimite", VCLRegis::Entier(port < 0 ? 0 : -5));
    FicheEssai essai_fiche;
  auto& fiche = essai_fiche.fiche;
    fiche.LireParametres();
    EXPECT_EQ(fiche.PortIp, 8080u) << port;
    EXPECT_EQ(fiche.TailleLimite, 100u) << port;
  }
}

TEST_F(ParametresEssai, TheFieldsAreValidatedAndARefusedValueGivesAMessageAndTheLastGoodValue) {
  const struct { const char* port; bool valide; uint32_t attendu; } ports[] = {
      {"65535", true, 65535}, {"0", false, 0},       {"1", true, 1},      {"70000", false, 0}, {"65536", false, 0},
      {"-1", false, 0},       {"abc", false, 0},     {"", false, 0},      {" 81 ", true, 81},
      {"8O80", false, 81},    {"99999999999999999999", false, 81},
  };
  FicheEssai essai_fiche;
  auto& fiche = essai_fiche.fiche;
  fiche.PortIp = 8080;
  for (const auto& c : ports) {
    const uint32_t avant = fiche.PortIp;
    messages.clear();
    fiche.edPortIp = c.port;
    EXPECT_EQ(fiche.ValiderPort(), c.valide) << c.port;
    EXPECT_EQ(fiche.PortIp, c.valide ? c.attendu : avant) << c.port;
    EXPECT_EQ(fiche.edPortIp, std::to_string(fiche.PortIp)) << c.port;
    EXPECT_EQ(messages.size(), c.valide ? 0u : 1u) << c.port;
    if (!c.valide && !messages.empty()) {
      EXPECT_NE(messages[0].find("EcrSvcWPrincipalPortIpInvalide"), std::string::npos);
    }
  }
  const struct { const char* taille; bool valide; } tailles[] = {{"0", false}, {"1", true}, {"-3", false}, {"2147483648", false}};
  for (const auto& c : tailles) {
    fiche.edTailleLimite = c.taille;
    EXPECT_EQ(fiche.ValiderTailleLimite(), c.valide) << c.taille;
  }
  EXPECT_EQ(fiche.TailleLimite, 1u);
  EXPECT_EQ(fiche.edTailleLimite, "1");
}

TEST_F(ParametresEssai, OnlyTheSettingsPageHoldsTheWindowBackAndClosingSavesValidSettings) {
  FicheEssai essai_fiche;
  auto& fiche = essai_fiche.fiche;
  fiche.edPortIp = "70000";
  fiche.PageCourante = 1;
  EXPECT_TRUE(fiche.ValiderParametres());  // the invalid field is not on the page shown
  fiche.PageCourante = 2;
  EXPECT_FALSE(fiche.ValiderParametres());
  fiche.edPortIp = "70000";
  fiche.PortIp = 8181;
  fiche.FormClose();  // invalid: nothing saved
  std::string detail;
  TRegistryValue v{HiveFile::kKindNumber, {}, 0};
  EXPECT_NE(Store().Read(TRegistryHive::User, TFicheSvcWPrincipal::kRacineParametres, "PortIp", v, detail),
            TRegistryStatus::Ok);
  fiche.edPortIp = "8282";
  fiche.FormClose();
  EXPECT_EQ(Entier("PortIp"), 8282);
}

TEST_F(ParametresEssai, TheHttpServerStartsFromTheSettingsOnlyWithTheRightAndStops) {
  FicheEssai essai;
  auto& fiche = essai.fiche;
  fiche.DemarrerServeurHttp();  // no right yet
  EXPECT_FALSE(fiche.ServeurActif);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("SupRessourceSuppressionImpossibleDroitUtilisateur"), std::string::npos);

  fiche.DroitGererServiceWeb = true;
  fiche.PageCourante = 2;
  fiche.edPortIp = "70000";  // an invalid settings page keeps the server stopped
  fiche.DemarrerServeurHttp();
  EXPECT_FALSE(fiche.ServeurActif);

  fiche.edPortIp = std::to_string(PortLibre());
  fiche.RPCLiteral = true;
  fiche.DemarrerServeurHttp();
  ASSERT_TRUE(fiche.ServeurActif);
  EXPECT_TRUE(fiche.Frontal.Parametres.RPCLiteral);
  EXPECT_EQ(Entier("RPCLiteral"), 1);  // saved before starting
  const uint16_t port = fiche.Frontal.ServeurHttp.PortEcoute();
  EXPECT_NE(port, 0);
  auto connecter = [port] {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0;
    ::close(s);
    return ok;
  };
  EXPECT_TRUE(connecter());
  fiche.ArreterServeurHttp();
  EXPECT_FALSE(fiche.ServeurActif);
  EXPECT_FALSE(connecter());
}

// ---- service control manager over a test root ---------------------------------------------------

class GestionnaireEssai : public ::testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/nv_scm_XXXXXX";
    ASSERT_NE(::mkdtemp(modele), nullptr);
    racine = modele;
    unites = std::make_unique<TUnitesSystemd>(racine.string());
    Systemd::DefinirGestionnaire(unites.get());
  }
  void TearDown() override {
    Systemd::DefinirGestionnaire(nullptr);
    fs::remove_all(racine);
  }
  static TServiceNTNorvane Service(const std::string& nom, const std::string& affiche, const std::string& parametres) {
    TServiceNTNorvane s;
    s.Nom = nom;
    s.NomAffiche = affiche;
    s.Parametres = parametres;
    return s;
  }
  fs::path racine;
  std::unique_ptr<TUnitesSystemd> unites;
};

TEST_F(GestionnaireEssai, InstallingPutsTheBaseOnTheCommandLineAndTheLoginInItsFile) {
  std::string encode;
  Registre::CoderValeur("3 ABCsecret", true, encode);
  const auto service = Service("SVCWEBTZ50Service7", "Norvane - Service Web TZ50 Planning", " \"Mon Planning\" " + encode);
  ASSERT_TRUE(ServiceControlManager::CreerService(service, "/opt/tz/svcweb"));
  const auto liste = unites->Lister();
  ASSERT_EQ(liste.size(), 1u);
  EXPECT_EQ(liste[0].Commande, "\"/opt/tz/svcweb\" \"Mon Planning\" \"-svc\" \"--login-file=" +
                                   unites->FichierLogin("SVCWEBTZ50Service7") + "\"");
  std::string lu, erreur, clair, code, motDePasse;
  ASSERT_TRUE(TApplicationServiceWeb::LireFichierLogin(unites->FichierLogin("SVCWEBTZ50Service7"), lu, erreur)) << erreur;
  Registre::CoderValeur(lu, false, clair);
  TApplicationServiceWeb::AnalyserLogin(clair, code, motDePasse);
  EXPECT_EQ(code, "ABC");
  EXPECT_EQ(motDePasse, "secret");
  EXPECT_EQ(ServiceControlManager::EtatService(service), 1u);

  auto enService = service;
  enService.Nom = "Autre";
  enService.ModeService = true;
  EXPECT_FALSE(ServiceControlManager::CreerService(enService, "/opt/tz/svcweb"));  // refused in service mode
  EXPECT_EQ(ServiceControlManager::EtatServiceNomme("Autre"), 0u);
}

TEST_F(GestionnaireEssai, OnlyTheFamilysServicesAreListedAndRemovedWithAReport) {
  const struct { const char* nom; const char* affiche; const char* programme; } services[] = {
      {"A", "Norvane - Service Web TZ50", "/opt/tz/svcweb"},
      {"B", "Norvane - Service Web TZ50 Planning", "/OPT/TZ/svcweb"},
      {"C", "Autre - Norvane - Service Web TZ", "/opt/tz/svcweb"},  // "Norvane -" not at its start
      {"D", "Norvane - Serveur", "/usr/bin/serveur"},
  };
  for (const auto& s : services)
    ASSERT_TRUE(ServiceControlManager::CreerService(Service(s.nom, s.affiche, ""), s.programme)) << s.nom;

  std::vector<std::string> noms, affiches;
  EXPECT_TRUE(ServiceControlManager::ListerServices(noms, affiches));
  EXPECT_EQ(noms, (std::vector<std::string>{"A", "B", "D"}));
  noms.clear(), affiches.clear();
  EXPECT_TRUE(ServiceControlManager::ListerServices(noms, affiches, "Service Web TZ"));
  EXPECT_EQ(noms, (std::vector<std::string>{"A", "B"}));
  noms.clear(), affiches.clear();
  EXPECT_TRUE(ServiceControlManager::ListerServices(noms, affiches, "", "/opt/TZ/"));
  EXPECT_EQ(noms, (std::vector<std::string>{"A", "B"}));
  EXPECT_FALSE(ServiceControlManager::ServicesPresents("service web"));  // the display filter heeds case

  const std::string rapport = ServiceControlManager::SupprimerServices("TZ");
  EXPECT_EQ(rapport, ServiceControlManager::TexteEtat(0, "Norvane - Service Web TZ50") + "\r\n" +
                         ServiceControlManager::TexteEtat(0, "Norvane - Service Web TZ50 Planning"));
  EXPECT_EQ(ServiceControlManager::TexteEtat(0, "X"),
            "Le service X a \xE9t\xE9 supprim\xE9, il n'est plus enregistr\xE9 comme service NT ...");
  EXPECT_EQ(ServiceControlManager::EtatServiceNomme("A"), 0u);
  EXPECT_EQ(ServiceControlManager::EtatServiceNomme("C"), 1u);
  EXPECT_EQ(ServiceControlManager::SupprimerServices("TZ"), "");
}

// ---- the real program ---------------------------------------------------------------------------

class ProgrammeEssai : public ::testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/nv_svcweb_XXXXXX";
    ASSERT_NE(::mkdtemp(modele), nullptr);
    dossier = modele;
    env = {"NORVANE_RUN_DIR=" + (dossier / "run").string(), "NORVANE_REGISTRY_USER=" + (dossier / "user.hive").string(),
           "NORVANE_REGISTRY_MACHINE=" + (dossier / "machine.hive").string()};
  }
  void TearDown() override { fs::remove_all(dossier); }
  fs::path dossier;
  std::vector<std::string> env;
};

TEST_F(ProgrammeEssai, TheProgramRefusesASecondInstanceAndStopsCleanlyOnEitherSignal) {
  for (int signal : {SIGTERM, SIGINT}) {
    ProcessusService premier({"Planning"}, env);
    ASSERT_TRUE(premier.AttendreTexte("en attente de la connexion au serveur de donn")) << premier.Sortie();
    EXPECT_NE(premier.Sortie().find("\"Planning\""), std::string::npos);

    ProcessusService second({"Planning"}, env);
    EXPECT_EQ(second.Attendre(), 1);
    EXPECT_NE(second.Sortie().find("Application d\xC3\xA9j\xC3\xA0 lanc\xC3\xA9" "e"), std::string::npos) << second.Sortie();
    EXPECT_EQ(second.Sortie().find("en attente"), std::string::npos);  // its loop never ran

    premier.Signaler(signal);
    EXPECT_EQ(premier.Attendre(), 0) << premier.Sortie();
    EXPECT_NE(premier.Sortie().find("Arr\xC3\xAAt du service web"), std::string::npos);
  }
  // Closing saved the settings.
  THiveFiles ruches((dossier / "machine.hive").string(), (dossier / "user.hive").string());
  std::string detail;
  TRegistryValue v{HiveFile::kKindNumber, {}, 0};
  EXPECT_EQ(ruches.Read(TRegistryHive::User, TFicheSvcWPrincipal::kRacineParametres, "PortIp", v, detail),
            TRegistryStatus::Ok)
      << detail;
  EXPECT_EQ(v.Number, 8080u);
}

TEST_F(ProgrammeEssai, InServiceModeTheProgramReportsReadinessAndItsStopToTheNotifySocket) {
  const std::string socketNom = (dossier / "notify").string();
  const int s = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::memcpy(a.sun_path, socketNom.data(), socketNom.size());
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)), 0);
  auto recevoir = [s] {
    pollfd p{s, POLLIN, 0};
    if (::poll(&p, 1, 20000) != 1) return std::string("<rien>");
    char tampon[4096];
    const ssize_t n = ::recv(s, tampon, sizeof(tampon), 0);
    return n < 0 ? std::string("<erreur>") : std::string(tampon, static_cast<size_t>(n));
  };

  std::string encode;
  Registre::CoderValeur("3 ABCsecret", true, encode);
  const std::string login = (dossier / "login").string();
  std::ofstream(login) << encode;
  ::chmod(login.c_str(), 0600);
  auto envService = env;
  envService.push_back("NOTIFY_SOCKET=" + socketNom);
  ProcessusService service({"Planning", "-svc", "--login-file=" + login}, envService);

  EXPECT_EQ(recevoir(), "READY=1\nSTATUS=D\xC3\xA9marr\xC3\xA9");
  const std::string statut = recevoir();
  EXPECT_EQ(statut.rfind("STATUS=Service web svcweb (service) : en attente de la connexion au serveur de donn", 0), 0u)
      << statut;
  EXPECT_EQ(service.Sortie().find("fichier d'identification"), std::string::npos);
  service.Signaler(SIGTERM);
  EXPECT_EQ(recevoir(), "STOPPING=1");
  EXPECT_EQ(service.Attendre(), 0) << service.Sortie();
  EXPECT_EQ(service.Sortie().find("fichier d'identification"), std::string::npos) << service.Sortie();
  ::close(s);
}

TEST_F(ProgrammeEssai, AServiceWhoseLoginFileOthersCanReadSaysSoAndRunsWithoutItsLogin) {
  const std::string login = (dossier / "login").string();
  std::ofstream(login) << "00";
  ::chmod(login.c_str(), 0644);
  auto envService = env;
  envService.push_back("NOTIFY_SOCKET=" + (dossier / "notify").string());  // nobody listens: notices are lost
  ProcessusService service({"Planning", "-svc", "--login-file=" + login}, envService);
  ASSERT_TRUE(service.AttendreTexte("(0600)")) << service.Sortie();
  ASSERT_TRUE(service.AttendreTexte("en attente")) << service.Sortie();
  service.Signaler(SIGTERM);
  EXPECT_EQ(service.Attendre(), 0) << service.Sortie();
}

TEST_F(ProgrammeEssai, TheCommandLineGivesItsUsageAndRefusesWhatItDoesNotKnow) {
  ProcessusService aide({"--help"}, env);
  EXPECT_EQ(aide.Attendre(), 0);
  EXPECT_TRUE(aide.Sortie().starts_with("Usage :\n  svcweb [BASE] [-svc] [--login-file=FICHIER]\n")) << aide.Sortie();
  EXPECT_EQ(aide.Sortie().find("en attente"), std::string::npos);  // nothing ran for a base "--help"

  ProcessusService inconnue({"--aide"}, env);
  EXPECT_EQ(inconnue.Attendre(), 2);
  EXPECT_NE(inconnue.Sortie().find("Option inconnue : --aide"), std::string::npos) << inconnue.Sortie();
}

TEST_F(ProgrammeEssai, ServiceModeOutsideTheServiceManagerEndsAtOnceAndSaysWhy) {
  ProcessusService service({"-svc"}, env);
  EXPECT_EQ(service.Attendre(), 1);
  EXPECT_NE(service.Sortie().find("Le mode service (-svc) ne s'emploie que lanc\xC3\xA9 par le gestionnaire de services"),
            std::string::npos)
      << service.Sortie();
  EXPECT_EQ(service.Sortie().find("en attente"), std::string::npos);
}

TEST_F(ProgrammeEssai, ARunFolderOfAnotherAccountOrReachedThroughALinkIsRefusedWithItsRealReason) {
  // Another account made the folder first (as root here, the test gives it away).
  const fs::path autre = dossier / "autre";
  fs::create_directory(autre);
  ASSERT_EQ(::chown(autre.c_str(), 65534, 65534), 0);
  auto envAutre = env;
  envAutre[0] = "NORVANE_RUN_DIR=" + autre.string();
  ProcessusService service({"Planning"}, envAutre);
  EXPECT_EQ(service.Attendre(), 1);
  EXPECT_NE(service.Sortie().find("appartient \xC3\xA0 un autre compte (uid 65534)"), std::string::npos) << service.Sortie();
  EXPECT_EQ(service.Sortie().find("d\xC3\xA9j\xC3\xA0 lanc"), std::string::npos);

  // A link planted in the path, above the folder itself.
  fs::create_directory(dossier / "vrai");
  fs::create_directory_symlink(dossier / "vrai", dossier / "lien");
  auto envLien = env;
  envLien[0] = "NORVANE_RUN_DIR=" + (dossier / "lien" / "run").string();
  ProcessusService lien({"Planning"}, envLien);
  EXPECT_EQ(lien.Attendre(), 1);
  EXPECT_NE(lien.Sortie().find("est atteint par un lien symbolique (lien)"), std::string::npos) << lien.Sortie();
  EXPECT_FALSE(fs::exists(dossier / "vrai" / "run"));

  // A folder that others may write to.
  const fs::path ouvert = dossier / "ouvert";
  fs::create_directory(ouvert);
  ::chmod(ouvert.c_str(), 0777);
  auto envOuvert = env;
  envOuvert[0] = "NORVANE_RUN_DIR=" + ouvert.string();
  ProcessusService partage({"Planning"}, envOuvert);
  EXPECT_EQ(partage.Attendre(), 1);
  EXPECT_NE(partage.Sortie().find("peut \xC3\xAAtre modifi\xC3\xA9 par d'autres comptes"), std::string::npos)
      << partage.Sortie();
}

}  // namespace
