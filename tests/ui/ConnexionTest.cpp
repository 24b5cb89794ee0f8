// The connection settings panel, the port entry and the connection wait window, driven through the
// scripted modal driver: the entries typed into the in-place field, the messages answered with Enter
// and read back from the log, the settings read from the data client.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/objects/Exceptions.h"
#include "net/VclClient.h"
#include "net/ip/IEIPAddress.h"
#include "objectdb/Traduction.h"
#include "platform/gui/Saisie.h"
#include "platform/reseau/BaseServices.h"
#include "platform/ui/VclDialogue.h"
#include "tests/ui/FenetresEssai.h"
#include "tests/ui/Photographie.h"
#include "ui/EcrConnexionEnCours.h"
#include "ui/EcrParametresClient.h"
#include "ui/Fiche.h"
#include "ui/VclSaisiePort.h"
#include "ui/vclliste.h"

namespace {

// The network-client module's side as the panel sees it.
class ConnexionEssai : public IConnexionParametresClient {
 public:
  explicit ConnexionEssai(MainLoop& Boucle) : client(Boucle) {}
  TIeClient& ClientDonnees() override { return client; }
  uint8_t ModeConnexion() override { return mode; }
  void DefinirModeConnexion(uint8_t Mode) override { mode = Mode; }
  void SauverParametresConnexion() override {
    sauvegardes.push_back(client.GetAdresseIpServeur() + ":" + client.GetPortTcpServeur());
  }
  void EffacerRefus() override { evenements.push_back("refus efface"); }
  void SetEtatClient(int32_t Etat) override { evenements.push_back("etat " + std::to_string(Etat)); }

  TIeClientDonnees client;
  uint8_t mode = 2;
  std::vector<std::string> sauvegardes;
  std::vector<std::string> evenements;
};

// The service database of the tests: ports in network byte order.
std::optional<uint16_t> BaseEssai(const std::string& Nom, const std::string& Protocole) {
  static const std::map<std::pair<std::string, std::string>, uint16_t> kBase = {
      {{"http", "tcp"}, 80}, {{"jeu", "6"}, 50000}, {{"dns", "udp"}, 53}};
  const auto it = kBase.find({Nom, Protocole});
  if (it == kBase.end()) return std::nullopt;
  return TIPAddress::HostToNetworkOrder(it->second);
}

class ConnexionUi : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    BaseServices::Definir(BaseEssai);
    VclDialogue::DefinirSortie([this](const std::string& l) { messages.push_back(l); });
    Traduction::DefinirTexte("VclSaisiePortFormatServiceNonTrouve", "inconnu %s");
    Traduction::DefinirTexte("VclSaisiePortFormatPortInvalide", "invalide %d");
    Traduction::DefinirTexte("VclSaisiePortFormatPortReserve", "reserve %d");
    Traduction::DefinirTexte("EcrParametresServeurSeConnecter", "Se connecter");
    connexion = std::make_unique<ConnexionEssai>(*boucle);
    EcrParametresClient::DefinirConnexion(connexion.get());
    fiche = std::make_unique<TForm>(nullptr);
    fiche->SetBorderStyle(TFormBorderStyle::bsNone);
    fiche->SetBounds(0, 0, 460, 280);
    conteneur = new TVokPanel(fiche.get());
    conteneur->SetParent(fiche.get());
    conteneur->SetAlign(TAlign::alClient);
    fiche->Show();
    // Every message is answered with Enter; an entry gets the text of the case, then Enter.
    pilote.Script = [this](TForm& f) {
      ++fenetres;
      Saisie::Touche(f, VK_RETURN);
    };
    pilote.ScriptSaisie = [this](TWinControl& champ) {
      auto& edit = static_cast<TEdit&>(champ);
      initial = edit.Text();
      if (abandonner) {
        Saisie::Touche(*champ.FormeParente(), VK_ESCAPE);
        return;
      }
      edit.SelectAll();
      for (char c : saisie) Saisie::Caractere(*champ.FormeParente(), c);
      Saisie::Touche(*champ.FormeParente(), VK_RETURN);
    };
  }
  void TearDown() override {
    if (EcrParametresClient::Affiche()) EcrParametresClient::MasquerParametresConnexion();
    Fiche::LibererFichesDifferees();
    fiche.reset();
    EcrParametresClient::DefinirConnexion(nullptr);
    connexion.reset();
    Traduction::Vider();
    VclDialogue::DefinirSortie(nullptr);
    BaseServices::Definir(nullptr);
    FenetresEssai::TearDown();
  }
  TFicheParametresClient& Panneau() {
    EcrParametresClient::AfficherParametresConnexion(conteneur);
    return *EcrParametresClient::FicheCourante();
  }
  // The messages shown (their log lines' text, after the caption and the empty title).
  std::vector<std::string> Textes() const {
    std::vector<std::string> t;
    for (const std::string& l : messages) t.push_back(l.substr(l.rfind(" : ") + 3));
    return t;
  }

  std::unique_ptr<ConnexionEssai> connexion;
  std::unique_ptr<TForm> fiche;
  TVokPanel* conteneur = nullptr;
  std::vector<std::string> messages;
  int fenetres = 0;
  std::string saisie;
  std::string initial;
  bool abandonner = false;
};

TEST_F(ConnexionUi, APortIsANumberOrAServiceNameClassifiedByItsRange) {
  struct Cas {
    const char* texte;
    const char* protocole;
    int32_t numero;
    uint8_t attendu;
    int64_t port;
  } cas[] = {
      {"49152", "tcp", 6, VclSaisiePort::kPortLibre, 49152},
      {"65535", "tcp", 6, VclSaisiePort::kPortLibre, 65535},
      {"65536", "tcp", 6, VclSaisiePort::kPortInvalide, 65536},
      {"1", "tcp", 6, VclSaisiePort::kPortReserve, 1},
      {"49151", "tcp", 6, VclSaisiePort::kPortReserve, 49151},
      {"+8080", "tcp", 6, VclSaisiePort::kPortReserve, 8080},
      {"0", "tcp", 6, VclSaisiePort::kPortInvalide, 0},
      {"-1", "tcp", 6, VclSaisiePort::kPortInvalide, -1},
      // Digits that no 32-bit integer holds are still a number, never a service name.
      {"99999999999", "tcp", 6, VclSaisiePort::kPortInvalide, 99999999999},
      {"4294967297", "tcp", 6, VclSaisiePort::kPortInvalide, 4294967297},
      {"999999999999999999999999", "tcp", 6, VclSaisiePort::kPortInvalide, INT64_MAX},
      {"-999999999999999999999999", "tcp", 6, VclSaisiePort::kPortInvalide, INT64_MIN},
      {"http", "tcp", 6, VclSaisiePort::kPortReserve, 80},
      // Not known by name: the protocol's number is asked next.
      {"jeu", "tcp", 6, VclSaisiePort::kPortLibre, 50000},
      {"jeu", "tcp", 0, VclSaisiePort::kServiceNonTrouve, -7},
      {"http", "udp", 17, VclSaisiePort::kServiceNonTrouve, -7},
      {"dns", "", 17, VclSaisiePort::kServiceNonTrouve, -7},
      {"", "tcp", 6, VclSaisiePort::kServiceNonTrouve, -7},
      {"+", "tcp", 6, VclSaisiePort::kServiceNonTrouve, -7},
      {"12a", "tcp", 6, VclSaisiePort::kServiceNonTrouve, -7},
  };
  for (const Cas& c : cas) {
    int64_t port = -7;
    EXPECT_EQ(VclSaisiePort::AnalyserPort(c.texte, c.protocole, c.numero, port), c.attendu) << c.texte;
    EXPECT_EQ(port, c.port) << c.texte;
  }
}

TEST_F(ConnexionUi, ThePortPanelStoresWhatTheEntryAcceptsAfterItsMessage) {
  struct Cas {
    const char* saisie;
    std::vector<std::string> messages;
    const char* stocke;
  } cas[] = {
      {"0", {"invalide 0"}, "49300"},
      {"70000", {"invalide 70000"}, "49300"},
      {"99999999999", {"invalide 99999999999"}, "49300"},
      {"-1", {"invalide -1"}, "49300"},
      {"8080", {"reserve 8080"}, "8080"},
      {"49300", {}, "49300"},
      {"http", {"reserve 80"}, "http"},
      {"nosuch", {"inconnu nosuch"}, "nosuch"},
      {" 49 301 ", {}, "49301"},
  };
  TFicheParametresClient& p = Panneau();
  for (const Cas& c : cas) {
    connexion->client.SetPortTcpServeur("49300");
    EcrParametresClient::ActualiserParametresConnexion();
    messages.clear();
    fenetres = 0;
    saisie = c.saisie;
    ASSERT_TRUE(Saisie::Cliquer(*p.PanelSaisiePortTcpServeur)) << c.saisie;
    EXPECT_EQ(initial, "49300") << c.saisie;
    EXPECT_EQ(Textes(), c.messages) << c.saisie;
    EXPECT_EQ(fenetres, static_cast<int>(c.messages.size())) << c.saisie;
    EXPECT_EQ(connexion->client.GetPortTcpServeur(), c.stocke) << c.saisie;
    EXPECT_EQ(p.PanelSaisiePortTcpServeur->Caption(), c.stocke) << c.saisie;
  }
  // An entry left with Escape changes nothing and says nothing.
  connexion->client.SetPortTcpServeur("49300");
  abandonner = true;
  messages.clear();
  ASSERT_TRUE(Saisie::Cliquer(*p.PanelSaisiePortTcpServeur));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(connexion->client.GetPortTcpServeur(), "49300");
  // Another panel sharing the handler but not the server port's tag does nothing.
  abandonner = false;
  p.PanelSaisiePortTcpServeur->Tag = 2;
  saisie = "50000";
  ASSERT_TRUE(Saisie::Cliquer(*p.PanelSaisiePortTcpServeur));
  EXPECT_EQ(connexion->client.GetPortTcpServeur(), "49300");
}

TEST_F(ConnexionUi, APortTypedInAListCellOpensOverTheCellAndIsCheckedTheSameWay) {
  auto* liste = new TVokStringList(conteneur);
  liste->SetParent(conteneur);
  liste->SetScrollBars(TListScrollBars::ssNone);
  liste->DefinirNombreLignes(3);
  liste->SetBounds(0, 0, 300, 100);
  TRect ouverte;
  pilote.ScriptSaisie = [&](TWinControl& champ) {
    ouverte = champ.BoundsRect();
    static_cast<TEdit&>(champ).SelectAll();
    for (char c : std::string("8080")) Saisie::Caractere(*champ.FormeParente(), c);
    Saisie::Touche(*champ.FormeParente(), VK_RETURN);
  };
  std::string texte = "49300";
  TypeToucheDeValidation finale = TypeToucheDeValidation::tvAucune;
  EXPECT_TRUE(VclSaisiePort::SaisirPort(texte, VclSaisiePort::kTcp, liste, true, 0, 1, TRect{}, finale, false));
  EXPECT_EQ(texte, "8080");
  EXPECT_EQ(Textes(), std::vector<std::string>{"reserve 8080"});
  EXPECT_EQ(finale, TypeToucheDeValidation::tvRetour);
  const TRect cellule = liste->RectangleCellule(0, 1);
  EXPECT_EQ(ouverte.Left, cellule.Left);
  EXPECT_EQ(ouverte.Top, cellule.Top);
  // A cell entry needs a list to open in.
  EXPECT_THROW(VclSaisiePort::SaisirPort(texte, VclSaisiePort::kTcp, conteneur, true, 0, 1, TRect{}, finale, false),
               EInvalidOperation);
}

TEST_F(ConnexionUi, TheAddressPanelStoresDottedAddressesInDecimalAndHostNamesAsTyped) {
  const std::pair<const char*, const char*> cas[] = {
      {" 192.168.1.2 ", "192.168.1.2"},
      // Leading zeros would read as octal in the data client: the groups are decimal.
      {"192.168.001.010", "192.168.1.10"},
      {"1 0.0. 0.1", "10.0.0.1"},
      {"0x7f.1", "127.0.0.1"},
      {"10", "0.0.0.10"},
      {"serveur.local", "serveur.local"},
      {"192.168.1.256", "192.168.1.256"},
      {"1.2.3.4.5", "1.2.3.4.5"},
  };
  TFicheParametresClient& p = Panneau();
  for (const auto& [texte, attendu] : cas) {
    connexion->client.SetAdresseIpServeur("127.0.0.1");
    saisie = texte;
    ASSERT_TRUE(Saisie::Cliquer(*p.PanelSaisieAdresseIpServeur)) << texte;
    EXPECT_EQ(initial, "127.0.0.1");
    EXPECT_EQ(connexion->client.GetAdresseIpServeur(), attendu) << texte;
    EXPECT_EQ(p.PanelSaisieAdresseIpServeur->Caption(), attendu) << texte;
    EXPECT_EQ(EcrParametresClient::NormaliserAdresse(texte), attendu) << texte;
  }
  EXPECT_TRUE(messages.empty());
  connexion->client.SetAdresseIpServeur("127.0.0.1");
  abandonner = true;
  ASSERT_TRUE(Saisie::Cliquer(*p.PanelSaisieAdresseIpServeur));
  EXPECT_EQ(connexion->client.GetAdresseIpServeur(), "127.0.0.1");
}

TEST_F(ConnexionUi, TheModeEnablesTheEntriesAndTheButtonStartsTheConnection) {
  connexion->mode = 0;
  TFicheParametresClient& p = Panneau();
  EXPECT_EQ(p.PanelTitreListe->Caption().substr(0, 1), " ");
  EXPECT_EQ(p.BtnConnecter->Caption(), "Se connecter");
  EXPECT_FALSE(p.RBConnexionAuServeur->Checked());
  EXPECT_FALSE(p.PanelSaisieAdresseIpServeur->Enabled());
  EXPECT_EQ(p.PanelSaisiePortTcpServeur->Color(), Couleurs::clSilver);
  // A disabled entry panel takes no click.
  EXPECT_FALSE(Saisie::Cliquer(*p.PanelSaisiePortTcpServeur));
  ASSERT_TRUE(Saisie::Cliquer(*p.RBConnexionAuServeur));
  EXPECT_EQ(connexion->mode, 2);
  EXPECT_TRUE(p.RBConnexionAuServeur->Checked());
  EXPECT_TRUE(p.PanelSaisieAdresseIpServeur->Enabled());
  EXPECT_EQ(p.PanelSaisieAdresseIpServeur->Color(), Couleurs::clWhite);
  EXPECT_EQ(p.PanelSaisieAdresseIpServeur->Caption(), "127.0.0.1");
  EXPECT_EQ(p.PanelSaisiePortTcpServeur->Caption(), "49300");
  ASSERT_TRUE(Saisie::Cliquer(*p.BtnConnecter));
  EXPECT_EQ(connexion->evenements, (std::vector<std::string>{"refus efface", "etat 2"}));
}

TEST_F(ConnexionUi, ThePanelIsBuiltOnceWhileShownAndItsFormFreedLaterWhenTakenBack) {
  EcrParametresClient::ActualiserParametresConnexion();  // nothing shown: nothing happens
  EXPECT_EQ(EcrParametresClient::FicheCourante(), nullptr);
  EcrParametresClient::AfficherParametresConnexion(conteneur);
  TFicheParametresClient* premiere = EcrParametresClient::FicheCourante();
  ASSERT_NE(premiere, nullptr);
  EXPECT_EQ(premiere->PanelPrincipal->Parent(), conteneur);
  EcrParametresClient::AfficherParametresConnexion(conteneur);
  EXPECT_EQ(EcrParametresClient::FicheCourante(), premiere);

  connexion->client.SetAdresseIpServeur("10.0.0.9");
  EcrParametresClient::ActualiserParametresConnexion();
  EcrParametresClient::MasquerParametresConnexion();
  EXPECT_EQ(connexion->sauvegardes, (std::vector<std::string>{"10.0.0.9:49300"}));
  EXPECT_EQ(premiere->PanelPrincipal->Parent(), premiere);
  EXPECT_FALSE(EcrParametresClient::Affiche());
  EXPECT_EQ(conteneur->ControlCount(), 0);
  // Hidden: a refresh leaves the panel as it was.
  connexion->client.SetAdresseIpServeur("10.0.0.10");
  EcrParametresClient::ActualiserParametresConnexion();
  EXPECT_EQ(premiere->PanelSaisieAdresseIpServeur->Caption(), "10.0.0.9");

  // Shown again before the deferred destruction: the waiting form goes, a new one comes.
  EcrParametresClient::AfficherParametresConnexion(conteneur);
  EXPECT_FALSE(Screen().Existe(premiere));
  TForm* seconde = EcrParametresClient::FicheCourante();
  ASSERT_NE(seconde, nullptr);
  EXPECT_EQ(EcrParametresClient::FicheCourante()->PanelSaisieAdresseIpServeur->Caption(), "10.0.0.10");
  EcrParametresClient::MasquerParametresConnexion();
  EXPECT_EQ(EcrParametresClient::FicheCourante(), seconde);
  Fiche::LibererFichesDifferees();
  EXPECT_FALSE(Screen().Existe(seconde));
  EXPECT_EQ(EcrParametresClient::FicheCourante(), nullptr);
}

TEST_F(ConnexionUi, WithoutTheNetworkModuleThePanelSaysItIsNotBuilt) {
  EcrParametresClient::DefinirConnexion(nullptr);
  EXPECT_THROW(EcrParametresClient::AfficherParametresConnexion(conteneur), ENonConstruit);
  EcrParametresClient::DefinirConnexion(connexion.get());
}

TEST_F(ConnexionUi, PicturesEntryPanelsWhiteWhenEnabledSilverWhenNotUnderTheBlueTitleBar) {
  // The texts of the French module, for a person looking at the pictures.
  for (const auto& [cle, texte] : std::vector<std::pair<std::string, std::string>>{
           {"SupConstParam\xE8tres_de_connexion4", "Param\xE8tres de connexion"},
           {"EcrParametresClientCommentaireServiceWeb", "Le service web publie la base du serveur de donn\xE9" "es."},
           {"EcrParametresClientTitreConnexionServeur", "Connexion au serveur de donn\xE9" "es"},
           {"EcrParametresClientAideConnexionServeur", "Saisissez l'adresse et le port TCP du serveur."},
           {"EcrParametresClientConnexionServeur", "Connexion directe au serveur"},
           {"EcrParametresClientSaisissezParamServeur", "Param\xE8tres du serveur :"},
           {"EcrParametresClientAdresseIpServeur", "Adresse IP"},
           {"EcrParametresClientPortTcpServeur", "Port TCP"}})
    Traduction::DefinirTexte(cle, texte);
  TFicheParametresClient& p = Panneau();
  auto pixel = [&](TCanvasCairo& c, TControl& ctl, TPoint pt) {
    const TPoint ecran = ctl.ClientToScreen(pt);
    const TPoint origine = fiche->ClientToScreen({0, 0});
    return c.LirePixel(ecran.X - origine.X, ecran.Y - origine.Y);
  };
  for (bool actif : {true, false}) {
    connexion->mode = actif ? 2 : 0;
    EcrParametresClient::ActualiserParametresConnexion();
    auto photo = Photographier(*fiche, actif ? "ParametresClientActif" : "ParametresClientInactif");
    for (TControl* panneau : {static_cast<TControl*>(p.PanelSaisieAdresseIpServeur),
                              static_cast<TControl*>(p.PanelSaisiePortTcpServeur)})
      EXPECT_EQ(pixel(*photo, *panneau, {panneau->Width() - 4, 3}), actif ? 0xFFFFFF : 0xC0C0C0) << actif;
    EXPECT_EQ(pixel(*photo, *p.PanelTitreListe, {p.PanelTitreListe->Width() - 3, 2}), 0x2066DD);
  }
}

TEST_F(ConnexionUi, TheWaitWindowShowsOneLineWithoutAModalLoop) {
  Traduction::DefinirTexte("EcrConnexionEnCoursPatientez", "Patientez");
  TFichePatienceConnexion f(nullptr);
  EXPECT_EQ(f.Caption(), "Patientez");
  EXPECT_EQ(f.ClientWidth(), 353);
  EXPECT_EQ(f.ClientHeight(), 38);
  EXPECT_EQ(f.BorderStyle(), TFormBorderStyle::bsDialog);
  EXPECT_EQ(f.BorderIcons, 0);
  EXPECT_EQ(f.PanelMessage->Width(), 353);
  EXPECT_EQ(f.PanelMessage->Height(), 38);
  EXPECT_EQ(f.PanelMessage->BorderWidth(), 8);
  f.Afficher("Connexion au serveur en cours");
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(f.Modal());
  EXPECT_EQ(pilote.Entrees, 0);
  EXPECT_EQ(f.PanelMessage->Caption(), "Connexion au serveur en cours");
}

}  // namespace
