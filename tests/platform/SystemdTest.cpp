#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/service/Systemd.h"

namespace fs = std::filesystem;

namespace {

std::string Lire(const fs::path& p) {
  std::ifstream f(p);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// A datagram socket of the test's own, named by NOTIFY_SOCKET while it lives.
class SocketNotification {
 public:
  explicit SocketNotification(const std::string& Nom) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::memcpy(a.sun_path, Nom.data(), Nom.size());
    if (Nom[0] == '@') a.sun_path[0] = '\0';
    const auto l = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + Nom.size() + (Nom[0] == '/' ? 1 : 0));
    EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&a), l), 0) << std::strerror(errno);
    ::setenv("NOTIFY_SOCKET", Nom.c_str(), 1);
  }
  ~SocketNotification() {
    ::unsetenv("NOTIFY_SOCKET");
    ::close(fd_);
  }
  std::string Recevoir() {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 5000) != 1) return "<rien>";
    char tampon[4096];
    const ssize_t n = ::recv(fd_, tampon, sizeof(tampon), 0);
    return n < 0 ? "<erreur>" : std::string(tampon, static_cast<size_t>(n));
  }

 private:
  int fd_ = -1;
};

TEST(Systemd, NotificationsReachTheSocketNamedInTheEnvironmentByPathOrAbstractName) {
  const fs::path dossier = fs::temp_directory_path() / ("nv_notify_" + std::to_string(::getpid()));
  fs::create_directories(dossier);
  for (const std::string& nom : std::vector<std::string>{(dossier / "notify").string(), "@nv_notify_" + std::to_string(::getpid())}) {
    SocketNotification socket(nom);
    EXPECT_TRUE(Systemd::Notifier("READY=1\nSTATUS=Démarré"));
    EXPECT_EQ(socket.Recevoir(), "READY=1\nSTATUS=Démarré") << nom;
  }
  fs::remove_all(dossier);
  EXPECT_FALSE(Systemd::Notifier("READY=1"));  // no NOTIFY_SOCKET: nowhere to go
  ::setenv("NOTIFY_SOCKET", "relatif", 1);
  EXPECT_FALSE(Systemd::Notifier("READY=1"));
  ::unsetenv("NOTIFY_SOCKET");
}

TEST(Systemd, CommandWordsAreQuotedSoThatSystemdReadsThemBackUnchanged) {
  const struct { const char* mot; const char* attendu; } cas[] = {
      {"Planning", "\"Planning\""},        {"a b", "\"a b\""},          {"a\"b", "\"a\\\"b\""},
      {"c:\\d", "\"c:\\\\d\""},            {"50%", "\"50%%\""},         {"$HOME", "\"$$HOME\""},
      {"l1\nl2", "\"l1 l2\""},             {"", "\"\""},
  };
  for (const auto& c : cas) EXPECT_EQ(TUnitesSystemd::MotCommande(c.mot), c.attendu) << c.mot;
}

class UnitesEssai : public ::testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/nv_units_XXXXXX";
    ASSERT_NE(::mkdtemp(modele), nullptr);
    racine = modele;
  }
  void TearDown() override { fs::remove_all(racine); }
  TDefinitionUnite Unite() const {
    return {"SVCWEBTZ50Service7", "Norvane - Service Web TZ50 Planning", "Le service", {"/opt/tz/svcweb", "Planning", "-svc"},
            "0A1B2C"};
  }
  fs::path racine;
};

TEST_F(UnitesEssai, InstallingWritesTheUnitItsBootLinkAndALoginFileOnlyItsOwnerReads) {
  TUnitesSystemd unites(racine.string());
  EXPECT_EQ(unites.Etat("SVCWEBTZ50Service7"), kServiceAbsent);
  ASSERT_TRUE(unites.Creer(Unite()));
  const fs::path unite = racine / "etc/systemd/system/SVCWEBTZ50Service7.service";
  const std::string texte = Lire(unite);
  const std::string login = unites.FichierLogin("SVCWEBTZ50Service7");
  EXPECT_NE(texte.find("Description=Norvane - Service Web TZ50 Planning\n"), std::string::npos) << texte;
  EXPECT_NE(texte.find("Type=notify\n"), std::string::npos);
  EXPECT_NE(texte.find("\nRuntimeDirectory=SVCWEBTZ50Service7\nRuntimeDirectoryMode=0700\n"), std::string::npos) << texte;
  EXPECT_NE(texte.find("ExecStart=\"/opt/tz/svcweb\" \"Planning\" \"-svc\" \"--login-file=" + login + "\"\n"),
            std::string::npos)
      << texte;
  EXPECT_EQ(texte.find("0A1B2C"), std::string::npos);  // the login never stands in the unit
  EXPECT_EQ(Lire(login), "0A1B2C");
  struct stat st {};
  ASSERT_EQ(::stat(login.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_TRUE(fs::is_symlink(racine / "etc/systemd/system/multi-user.target.wants/SVCWEBTZ50Service7.service"));
  EXPECT_EQ(unites.Etat("SVCWEBTZ50Service7"), kServiceArrete);

  EXPECT_FALSE(unites.Creer(Unite()));  // already there
  EXPECT_EQ(Lire(login), "0A1B2C");
}

TEST_F(UnitesEssai, ARunningUnitIsToldByItsInvocationLinkAndRemovingTakesEverythingAway) {
  TUnitesSystemd unites(racine.string());
  ASSERT_TRUE(unites.Creer(Unite()));
  fs::create_directories(racine / "run/systemd/units");
  fs::create_symlink("0123", racine / "run/systemd/units/invocation:SVCWEBTZ50Service7.service");
  EXPECT_EQ(unites.Etat("SVCWEBTZ50Service7"), kServiceLance);
  const auto liste = unites.Lister();
  ASSERT_EQ(liste.size(), 1u);
  EXPECT_EQ(liste[0].Nom, "SVCWEBTZ50Service7");
  EXPECT_EQ(liste[0].NomAffiche, "Norvane - Service Web TZ50 Planning");
  EXPECT_EQ(liste[0].Commande.rfind("\"/opt/tz/svcweb\" \"Planning\"", 0), 0u);

  ASSERT_TRUE(unites.Supprimer("SVCWEBTZ50Service7"));
  EXPECT_EQ(unites.Etat("SVCWEBTZ50Service7"), kServiceAbsent);
  EXPECT_FALSE(fs::exists(unites.FichierLogin("SVCWEBTZ50Service7")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(racine / "etc/systemd/system/multi-user.target.wants/SVCWEBTZ50Service7.service")));
  EXPECT_FALSE(unites.Supprimer("SVCWEBTZ50Service7"));
  EXPECT_TRUE(unites.Lister().empty());
}

TEST_F(UnitesEssai, SystemdReadsTheWrittenUnitWithoutAWarning) {
  if (!fs::exists("/usr/bin/systemd-analyze")) GTEST_SKIP() << "systemd-analyze is not installed";
  TUnitesSystemd unites(racine.string());
  auto u = Unite();
  u.Commande = {"/bin/true", "Mon \"Planning\" 50% $HOME", "-svc"};
  ASSERT_TRUE(unites.Creer(u));
  const std::string commande =
      "/usr/bin/systemd-analyze verify '" + (racine / "etc/systemd/system/SVCWEBTZ50Service7.service").string() + "' 2>&1";
  FILE* f = ::popen(commande.c_str(), "r");
  ASSERT_NE(f, nullptr);
  std::string sortie;
  char tampon[512];
  while (std::fgets(tampon, sizeof(tampon), f) != nullptr) sortie += tampon;
  EXPECT_EQ(::pclose(f), 0) << sortie;
  EXPECT_EQ(sortie, "");
}

TEST_F(UnitesEssai, ANameThatIsNotAUnitNameIsRefusedAndWritesNothing) {
  TUnitesSystemd unites(racine.string());
  for (const char* nom : {"../evade", "a/b", "", "..", "un nom"}) {
    auto u = Unite();
    u.Nom = nom;
    EXPECT_FALSE(unites.Creer(u)) << nom;
    EXPECT_FALSE(unites.Supprimer(nom)) << nom;
    EXPECT_EQ(unites.Etat(nom), kServiceAbsent) << nom;
  }
  EXPECT_FALSE(fs::exists(racine / "etc"));
}

}  // namespace
