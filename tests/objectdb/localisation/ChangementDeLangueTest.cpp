// The language change: the module that "Config.lng" names for a locale, the update location, the
// listeners' agreement, and the update download from a local HTTP server, which never destroys the
// working module.
#include <gtest/gtest.h>

#include <chrono>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read_until.hpp>
#include <boost/asio/streambuf.hpp>
#include <boost/asio/write.hpp>
#include <optional>
#include <thread>

#include "core/objects/ObjetInterfacable.h"
#include "core/values/Ansi1252.h"
#include "tests/objectdb/localisation/ModulesEssai.h"

namespace {

using Impl = TImplChangementDeLangue;

TEST(ChangementDeLangue, ConfigChoosesTheFirstLineWhoseKeyMatchesTheLocale) {
  const struct {
    const char* nom;
    std::string config;
    const char* locale;
    std::string module;  // relative to the program's folder; empty: none
  } cas[] = {
      {"Defaut before fr-FR wins", "Defaut=en.lng\r\nfr-FR=fr.lng\r\n", "fr_FR.UTF-8", "en.lng"},
      {"language and country", "de=de.lng\r\nfr-FR=fr.lng\r\nDefaut=en.lng", "fr_FR", "fr.lng"},
      {"language alone", "fr=fr.lng\r\nDefaut=en.lng", "fr_CA.UTF-8@euro", "fr.lng"},
      {"keys compare with their case", "FR-fr=fr.lng\r\nFR=fr.lng\r\ndefaut=x.lng", "fr_FR", ""},
      {"LF alone makes one line: only its first = counts", "fr-FR=fr.lng\nDefaut=en.lng", "de_DE", ""},
      {"LF alone: the value runs to the end", "fr-FR=fr.lng\nDefaut=en.lng", "fr_FR", "fr.lng\nDefaut=en.lng"},
      {"lines without = are skipped; nothing is trimmed", "commentaire\r\nfr = fr.lng\r\nDefaut= en.lng", "fr_FR", " en.lng"},
      {"a subfolder", "Defaut=langues/fr/fr.lng", "C", "langues/fr/fr.lng"},
      {"the value after the first =", "fr=a=b", "fr", "a=b"},
      {"no line matches", "de=de.lng", "fr_FR", ""},
      {"an empty file", "", "fr_FR", ""},
  };
  for (const auto& c : cas) {
    DossierProgramme dossier;
    dossier.Ecrire("Config.lng", c.config);
    EXPECT_EQ(Impl::NomModule(c.locale), c.module.empty() ? "" : dossier.Chemin(c.module)) << c.nom;
  }
}

TEST(ChangementDeLangue, TheUserLocaleComesFromLcAllThenLcMessagesThenLang) {
  const struct {
    const char *lcAll, *lcMessages, *lang, *langue, *pays;
  } cas[] = {
      {"de_AT.UTF-8", "fr_FR", "en_GB", "de", "AT"},
      {"", "fr_BE@euro", "en_GB", "fr", "BE"},
      {nullptr, nullptr, "en_GB.ISO-8859-1", "en", "GB"},
      {nullptr, nullptr, "C.UTF-8", "", ""},
  };
  std::vector<std::pair<const char*, std::optional<std::string>>> avant;
  for (const char* nom : {"LC_ALL", "LC_MESSAGES", "LANG"})
    avant.emplace_back(nom, std::getenv(nom) ? std::optional<std::string>(std::getenv(nom)) : std::nullopt);
  for (const auto& c : cas) {
    for (auto [nom, valeur] : {std::pair{"LC_ALL", c.lcAll}, {"LC_MESSAGES", c.lcMessages}, {"LANG", c.lang}}) {
      if (valeur) setenv(nom, valeur, 1);
      else unsetenv(nom);
    }
    EXPECT_EQ(Impl::InfoLocale("", 89), c.langue);
    EXPECT_EQ(Impl::InfoLocale("", 90), c.pays);
  }
  for (const auto& [nom, valeur] : avant) {
    if (valeur) setenv(nom, valeur->c_str(), 1);
    else unsetenv(nom);
  }
}

TEST(ChangementDeLangue, TheUpdatePathIsFoundOnlyAfterTheFirstLine) {
  const struct {
    std::string config, chemin;
  } cas[] = {
      {"CheminMiseAJour=http://a/\r\nDefaut=fr.lng", ""},
      {"Defaut=fr.lng\r\nCheminMiseAJour=http://a/b/\r\nfr=x", "http://a/b/"},
      {"Defaut=fr.lng\r\nCheminMiseAJour=http://a/", "http://a/"},
      {"Defaut=fr.lng\r\n", ""},
  };
  for (const auto& c : cas) {
    DossierProgramme dossier;
    dossier.Ecrire("Config.lng", c.config);
    EXPECT_EQ(Impl::LireCheminMiseAJour(), c.chemin) << c.config;
  }
}

class Ecouteur : public TObjetInterfacable, public INotifiableChangementDeLangue {
 public:
  explicit Ecouteur(bool accepte) : accepte_(accepte) {}
  bool PreparerChangement(TypeHandleModule) override {
    ++preparations;
    return accepte_;
  }
  void ValiderChangement(TypeHandleModule Module) override {
    ++validations;
    std::string chaines;
    EXPECT_TRUE(ModuleRessources::LireRessource(Module, "CHAINES", chaines));
  }
  int preparations = 0, validations = 0;

 private:
  bool accepte_;
};

TEST(ChangementDeLangue, EveryListenerIsAskedOnceAndTheFirstRefusalStopsTheChange) {
  DossierProgramme dossier;
  dossier.EcrireModule("fr.lng", Entree("A", "a"));
  dossier.Ecrire("Config.lng", "Defaut=fr.lng\r\n");
  Ecouteur premier(true), refus(false), dernier(true);
  EXPECT_TRUE(TChangementDeLangue::AjouterNotifiable(&premier));
  EXPECT_FALSE(TChangementDeLangue::AjouterNotifiable(&premier));
  EXPECT_TRUE(TChangementDeLangue::AjouterNotifiable(&refus));
  EXPECT_TRUE(TChangementDeLangue::AjouterNotifiable(&dernier));
  const int32_t charges = ModuleRessources::NombreModulesCharges();
  EXPECT_FALSE(TChangementDeLangue::ChangerLangue("fr_FR"));
  EXPECT_EQ(premier.preparations, 1);
  EXPECT_EQ(refus.preparations, 1);
  EXPECT_EQ(dernier.preparations, 0);
  EXPECT_EQ(premier.validations + refus.validations + dernier.validations, 0);
  EXPECT_EQ(ModuleRessources::NombreModulesCharges(), charges);  // the refused module was let go
  EXPECT_TRUE(TChangementDeLangue::RetirerNotifiable(&refus));
  EXPECT_FALSE(TChangementDeLangue::RetirerNotifiable(&refus));
  EXPECT_TRUE(TChangementDeLangue::ChangerLangue("fr_FR"));
  EXPECT_EQ(premier.validations, 1);
  EXPECT_EQ(dernier.validations, 1);
  EXPECT_TRUE(TChangementDeLangue::RetirerNotifiable(&premier));
  EXPECT_TRUE(TChangementDeLangue::RetirerNotifiable(&dernier));
}

// A one-shot HTTP server on loopback: it answers one request with the given raw answer, keeps the
// request it read and stops listening, so that a later download is refused at once instead of
// waiting for an answer until the client's time-out.
class ServeurEssai {
 public:
  explicit ServeurEssai(std::string reponse)
      : reponse_(std::move(reponse)),
        accepteur_(io_, {boost::asio::ip::make_address("127.0.0.1"), 0}),
        port_(accepteur_.local_endpoint().port()) {
    fil_ = std::thread([this] {
      boost::asio::ip::tcp::socket s(io_);
      boost::system::error_code ec;
      accepteur_.accept(s, ec);
      accepteur_.close(ec);
      if (ec) return;
      boost::asio::streambuf tampon;
      boost::asio::read_until(s, tampon, "\r\n\r\n", ec);
      requete_.assign(boost::asio::buffers_begin(tampon.data()), boost::asio::buffers_end(tampon.data()));
      boost::asio::write(s, boost::asio::buffer(reponse_), ec);
      s.shutdown(boost::asio::ip::tcp::socket::shutdown_both, ec);
    });
  }
  // A connection of its own, closed at once, ends a wait for a request that never came.
  ~ServeurEssai() {
    boost::system::error_code ec;
    boost::asio::io_context io;
    boost::asio::ip::tcp::socket reveil(io);
    reveil.connect({boost::asio::ip::make_address("127.0.0.1"), port_}, ec);
    reveil.close(ec);
    fil_.join();
  }
  std::string Hote() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string Adresse() const { return "http://" + Hote() + "/langues/"; }
  // Read after the client's answer: the server thread has written it before.
  const std::string& Requete() const { return requete_; }

 private:
  std::string reponse_, requete_;
  boost::asio::io_context io_;
  boost::asio::ip::tcp::acceptor accepteur_;
  unsigned short port_;
  std::thread fil_;
};

// The lines traced to the default tracer while it lives.
class TraceEssai {
 public:
  TraceEssai() {
    Trace::TraceurParDefaut()->SurTrace = [this](TCustomTraceur*, const std::string& ligne) { texte += ligne; };
  }
  ~TraceEssai() { Trace::TraceurParDefaut()->SurTrace = nullptr; }
  TraceEssai(const TraceEssai&) = delete;
  TraceEssai& operator=(const TraceEssai&) = delete;
  TCustomTraceur* Traceur() const { return Trace::TraceurParDefaut(); }
  bool Contient(const std::string& ligne) const { return texte.find(ligne + "\r\n") != std::string::npos; }
  std::string texte;
};

std::string Reponse(const std::string& corps, const std::string& entetes = "") {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(corps.size()) + "\r\n" + entetes + "\r\n" + corps;
}

TEST(ChangementDeLangue, AnUpdateReplacesTheModuleAndTheChangeLoadsTheNewOne) {
  DossierProgramme dossier;
  dossier.EcrireModule("fr.lng", Entree("Version", "ancienne"));
  ServeurEssai serveur(Reponse(FormatModule::Ecrire({{"CHAINES", Entree("Version", "nouvelle")}})));
  dossier.Ecrire("Config.lng", "Defaut=fr.lng\r\nCheminMiseAJour=" + serveur.Adresse() + "\r\n");
  const auto debut = std::chrono::steady_clock::now();
  TraceEssai trace;
  ASSERT_TRUE(TChangementDeLangue::ChangerLangue("fr_FR", trace.Traceur()));
  // The download ends with the answer, not with the 30 s time-out of the HTTP client.
  EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::seconds(10));
  EXPECT_EQ(Traduction::Traduire("Version"), "nouvelle");
  const std::string& requete = serveur.Requete();
  EXPECT_TRUE(requete.starts_with("GET /langues/fr.lng HTTP/1.1\r\n")) << requete;
  EXPECT_NE(requete.find("Host: " + serveur.Hote() + "\r\n"), std::string::npos) << requete;
  EXPECT_NE(requete.find("User-Agent: Module de traduction Norvane\r\n"), std::string::npos) << requete;
  EXPECT_NE(requete.find("Cache-Control: max-age=0\r\n"), std::string::npos) << requete;
  EXPECT_TRUE(trace.Contient(dossier.Chemin("fr.lng") + std::string(" a été mise à jour"_ansi))) << trace.texte;
  EXPECT_TRUE(trace.Contient("Chargement de " + dossier.Chemin("fr.lng"))) << trace.texte;
}

TEST(ChangementDeLangue, ABrokenOrRefusedUpdateLeavesTheWorkingModuleInPlace) {
  const std::string module = FormatModule::Ecrire({{"CHAINES", Entree("Version", "nouvelle")}});
  const struct {
    const char* nom;
    std::string reponse;
  } cas[] = {
      {"an HTML page", Reponse("<!DOCTYPE html><html></html>")},
      {"not a module", Reponse("NVRESMOD tronque")},
      {"a module cut short", "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(module.size()) + "\r\n\r\n" +
                                 module.substr(0, module.size() / 2)},
      {"no length", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + module},
      {"not found", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"},
      {"larger than a module may be",
       "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(ChangementDeLangue::kTailleMaximaleModule + 1) + "\r\n\r\n" + module},
  };
  for (const auto& c : cas) {
    DossierProgramme dossier;
    dossier.EcrireModule("fr.lng", Entree("Version", "ancienne"));
    const std::string avant = dossier.Lire("fr.lng");
    ServeurEssai serveur(c.reponse);
    dossier.Ecrire("Config.lng", "Defaut=fr.lng\r\nCheminMiseAJour=" + serveur.Adresse() + "\r\n");
    TraceEssai trace;
    EXPECT_TRUE(TChangementDeLangue::ChangerLangue("fr_FR", trace.Traceur())) << c.nom;
    EXPECT_TRUE(trace.Contient(std::string("Échec de la mise à jour de "_ansi) + dossier.Chemin("fr.lng"))) << c.nom;
    EXPECT_EQ(Traduction::Traduire("Version"), "ancienne") << c.nom;
    EXPECT_EQ(dossier.Lire("fr.lng"), avant) << c.nom;
    EXPECT_FALSE(std::filesystem::exists(dossier.Chemin("fr.lng.maj"))) << c.nom;
  }
}

TEST(ChangementDeLangue, AnUnreachableUpdateLocationStillLoadsTheExistingModule) {
  DossierProgramme dossier;
  dossier.EcrireModule("fr.lng", Entree("Version", "ancienne"));
  std::string adresse;
  { ServeurEssai ferme(""); adresse = ferme.Adresse(); }  // a port that nobody listens on any more
  dossier.Ecrire("Config.lng", "Defaut=fr.lng\r\nCheminMiseAJour=" + adresse + "\r\n");
  EXPECT_TRUE(TChangementDeLangue::ChangerLangue("fr_FR"));
  EXPECT_EQ(Traduction::Traduire("Version"), "ancienne");
}

}  // namespace
