#include "ui/EcrParametresClient.h"

#include <memory>

#include "core/objects/Erreur.h"
#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "net/VclClient.h"
#include "net/ip/IEIPAddress.h"
#include "objectdb/Traduction.h"
#include "ui/Fiche.h"
#include "ui/Saisies.h"
#include "ui/VclSaisiePort.h"

namespace {

constexpr TColor kCouleurTitre = 0x2066DD;

IConnexionParametresClient* connexion = nullptr;
TForm* fiche = nullptr;
bool affiche = false;

IConnexionParametresClient& Connexion() {
  if (!connexion) throw ENonConstruit("EcrParametresClient: the network-client module is not built yet");
  return *connexion;
}

TFicheParametresClient* FicheParametres() { return static_cast<TFicheParametresClient*>(fiche); }

std::string SansBlancs(std::string Texte) {
  std::erase(Texte, ' ');
  return Texte;
}

// Four groups of 1 to 3 decimal digits, each at most 255: the groups' values.
bool QuatreGroupesDecimaux(const std::string& Texte, int (&Groupes)[4]) {
  size_t p = 0;
  for (int g = 0; g < 4; ++g) {
    if (g > 0) {
      if (p >= Texte.size() || Texte[p] != '.') return false;
      ++p;
    }
    int valeur = 0, chiffres = 0;
    for (; p < Texte.size() && Texte[p] >= '0' && Texte[p] <= '9'; ++p, ++chiffres) {
      if (chiffres == 3) return false;
      valeur = valeur * 10 + (Texte[p] - '0');
    }
    if (chiffres == 0 || valeur > 255) return false;
    Groupes[g] = valeur;
  }
  return p == Texte.size();
}

template <class T>
T* Creer(TComponent* Owner, TWinControl* Parent, const char* Nom, int Left, int Top, int Width, int Height) {
  T* c = new T(Owner);
  c->SetName(Nom);
  c->SetParent(Parent);
  c->SetBounds(Left, Top, Width, Height);
  return c;
}

}  // namespace

void TPanneauCliquable::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TVokPanel::MouseUp(Bouton, Shift, X, Y);
  if (Bouton == TMouseButton::mbLeft && ClientRect().Contient({X, Y})) Click();
}

TFicheParametresClient::TFicheParametresClient(TComponent* Owner) : TForm(Owner) {
  SetName("FicheParametresClient");
  SetBorderStyle(TFormBorderStyle::bsNone);
  SetBounds(0, 0, 440, 260);

  PanelPrincipal = Creer<TVokPanel>(this, this, "PanelPrincipal", 0, 0, 440, 260);
  PanelPrincipal->SetAlign(TAlign::alClient);
  PanelPrincipal->SetBevelOuter(TBevelCut::bvNone);
  PanelPrincipal->SetBorderWidth(4);

  PanelTitreListe = Creer<TVokPanel>(this, PanelPrincipal, "PanelTitreListe", 0, 0, 432, 20);
  PanelTitreListe->SetAlign(TAlign::alTop);
  PanelTitreListe->SetBevelOuter(TBevelCut::bvNone);
  PanelTitreListe->SetAlignment(TAlignment::taLeftJustify);
  PanelTitreListe->SetColor(kCouleurTitre);
  PanelTitreListe->SetParentFont(false);
  PanelTitreListe->FontModifiable().Color = Couleurs::clWhite;
  PanelTitreListe->FontModifiable().Style = fsBold;

  LabelCommentaire = Creer<TLabel>(this, PanelPrincipal, "LabelCommentaire", 8, 30, 420, 16);
  LabelCommentaire->SetParentFont(false);
  LabelCommentaire->FontModifiable().Color = Couleurs::clRed;
  LabelCommentaire->FontModifiable().Height = 13;

  GBConnexionServeur = Creer<TGroupBox>(this, PanelPrincipal, "GBConnexionServeur", 8, 52, 420, 160);
  RBConnexionAuServeur = Creer<TRadioButton>(this, GBConnexionServeur, "RBConnexionAuServeur", 10, 18, 200, 17);
  LabelSaisirParametresServeur =
      Creer<TLabel>(this, GBConnexionServeur, "LabelSaisirParametresServeur", 26, 40, 180, 16);
  LabelAdresseIpServeur = Creer<TLabel>(this, GBConnexionServeur, "LabelAdresseIpServeur", 26, 62, 126, 16);
  PanelSaisieAdresseIpServeur =
      Creer<TPanneauCliquable>(this, GBConnexionServeur, "PanelSaisieAdresseIpServeur", 26, 80, 126, 21);
  PanelSaisieAdresseIpServeur->Tag = 1;
  LabelDeuxPoints = Creer<TLabel>(this, GBConnexionServeur, "LabelDeuxPoints", 155, 82, 6, 16);
  LabelDeuxPoints->SetCaption(":");
  LabelPortTcpServeur = Creer<TLabel>(this, GBConnexionServeur, "LabelPortTcpServeur", 164, 62, 60, 16);
  PanelSaisiePortTcpServeur =
      Creer<TPanneauCliquable>(this, GBConnexionServeur, "PanelSaisiePortTcpServeur", 164, 80, 60, 21);
  PanelSaisiePortTcpServeur->Tag = EcrParametresClient::kTagPortTcpServeur;
  for (TPanneauCliquable* p : {PanelSaisieAdresseIpServeur, PanelSaisiePortTcpServeur}) {
    p->SetBevelOuter(TBevelCut::bvLowered);
    p->SetAlignment(TAlignment::taLeftJustify);
    // The panel's own colour says whether it can be edited, also while it is disabled.
    p->DisabledColor = Couleurs::clNone;
  }

  PanelAideConnexionServeur = Creer<TVokPanel>(this, GBConnexionServeur, "PanelAideConnexionServeur", 236, 18, 176, 134);
  PanelAideConnexionServeur->SetBevelOuter(TBevelCut::bvNone);
  PanelAideConnexionServeur->SetBorderWidth(8);
  PanelAideConnexionServeur->SetColor(Couleurs::clWhite);
  LabelAideConnexionServeur = Creer<TLabel>(this, PanelAideConnexionServeur, "LabelAideConnexionServeur", 0, 0, 160, 118);
  LabelAideConnexionServeur->SetAutoSize(false);
  LabelAideConnexionServeur->SetWordWrap(true);
  LabelAideConnexionServeur->SetAlign(TAlign::alClient);

  BtnConnecter = new TVokSpeedButton(this);
  BtnConnecter->SetName("BtnConnecter");
  BtnConnecter->SetParent(PanelPrincipal);
  BtnConnecter->SetBounds(278, 220, 150, 28);

  RBConnexionAuServeur->OnClick = [this](TComponent* s) { RBRechercheUDPOuTCPClick(s); };
  PanelSaisieAdresseIpServeur->OnClick = [this](TComponent* s) { PanelSaisieAdresseIPServeurClick(s); };
  PanelSaisiePortTcpServeur->OnClick = [this](TComponent* s) { PanelSaisiePortClick(s); };
  BtnConnecter->OnClick = [this](TComponent* s) { BtnConnecterClick(s); };

  FormCreate(this);
}

void TFicheParametresClient::FormCreate(TComponent*) {
  PanelTitreListe->SetCaption(" " + Traduction::Traduire("SupConstParamètres_de_connexion4"_ansi));
  LabelCommentaire->SetCaption(Traduction::Traduire("EcrParametresClientCommentaireServiceWeb"));
  GBConnexionServeur->SetCaption(Traduction::Traduire("EcrParametresClientTitreConnexionServeur"));
  LabelAideConnexionServeur->SetCaption(Traduction::Traduire("EcrParametresClientAideConnexionServeur"));
  RBConnexionAuServeur->SetCaption(Traduction::Traduire("EcrParametresClientConnexionServeur"));
  LabelSaisirParametresServeur->SetCaption(Traduction::Traduire("EcrParametresClientSaisissezParamServeur"));
  LabelAdresseIpServeur->SetCaption(Traduction::Traduire("EcrParametresClientAdresseIpServeur"));
  LabelPortTcpServeur->SetCaption(Traduction::Traduire("EcrParametresClientPortTcpServeur"));
}

void TFicheParametresClient::RBRechercheUDPOuTCPClick(TComponent*) {
  if (RBConnexionAuServeur->Checked()) Connexion().DefinirModeConnexion(2);
  EcrParametresClient::ActualiserParametresConnexion();
}

void TFicheParametresClient::PanelSaisieAdresseIPServeurClick(TComponent*) {
  TIeClient& client = Connexion().ClientDonnees();
  std::string texte = client.GetAdresseIpServeur();
  TypeToucheDeValidation finale = TypeToucheDeValidation::tvAucune;
  TPanneauCliquable* panneau = PanelSaisieAdresseIpServeur;
  if (!Saisies::EditerZone(panneau, 0, panneau->ClientRect(), 100, 1, 1, false, Saisies::TouchePourValiderParDefaut,
                           finale, texte))
    return;
  client.SetAdresseIpServeur(EcrParametresClient::NormaliserAdresse(texte));
  panneau->SetCaption(client.GetAdresseIpServeur());
}

void TFicheParametresClient::PanelSaisiePortClick(TComponent* Sender) {
  auto* panneau = dynamic_cast<TPanneauCliquable*>(Sender);
  if (!panneau || panneau->Tag != EcrParametresClient::kTagPortTcpServeur) return;
  TIeClient& client = Connexion().ClientDonnees();
  std::string texte = client.GetPortTcpServeur();
  TypeToucheDeValidation finale = TypeToucheDeValidation::tvAucune;
  if (!VclSaisiePort::SaisirPortDansZone(texte, VclSaisiePort::kTcp, panneau, panneau->ClientRect(), finale, true))
    return;
  client.SetPortTcpServeur(SansBlancs(texte));
  panneau->SetCaption(client.GetPortTcpServeur());
  EcrParametresClient::ActualiserParametresConnexion();
}

void TFicheParametresClient::BtnConnecterClick(TComponent*) {
  IConnexionParametresClient& c = Connexion();
  c.EffacerRefus();
  c.SetEtatClient(2);
  EcrParametresClient::ActualiserParametresConnexion();
}

namespace EcrParametresClient {

void DefinirConnexion(IConnexionParametresClient* Connexion) { connexion = Connexion; }

std::string NormaliserAdresse(const std::string& Saisie) {
  const std::string texte = SansBlancs(Saisie);
  int groupes[4];
  if (QuatreGroupesDecimaux(texte, groupes))
    return std::to_string(groupes[0]) + "." + std::to_string(groupes[1]) + "." + std::to_string(groupes[2]) + "." +
           std::to_string(groupes[3]);
  if (std::unique_ptr<TErreur> erreur(TIPAddress::TryParse(texte)); erreur) return Saisie;
  return TIPAddress::Parse(texte)->ToString();
}

void AfficherParametresConnexion(TVokPanel* Conteneur) {
  if (affiche) return;
  if (::Fiche::AnnulerLiberationDifferee(fiche)) {
    delete fiche;
    fiche = nullptr;
  }
  fiche = new TFicheParametresClient(&Application());
  affiche = true;
  ActualiserParametresConnexion();
  FicheParametres()->PanelPrincipal->SetParent(Conteneur);
}

void MasquerParametresConnexion() {
  if (!fiche) return;
  Connexion().SauverParametresConnexion();
  FicheParametres()->PanelPrincipal->SetParent(fiche);
  affiche = false;
  (void)::Fiche::DiffererLiberation(fiche);
}

void ActualiserParametresConnexion() {
  if (!affiche || !fiche) return;
  TFicheParametresClient& f = *FicheParametres();
  IConnexionParametresClient& c = Connexion();
  f.BtnConnecter->SetCaption(Traduction::Traduire("EcrParametresServeurSeConnecter"));
  f.BtnConnecter->SetEnabled(true);
  f.RBConnexionAuServeur->SetChecked(c.ModeConnexion() == 2);
  f.RBConnexionAuServeur->SetEnabled(true);
  f.PanelSaisieAdresseIpServeur->SetCaption(c.ClientDonnees().GetAdresseIpServeur());
  f.PanelSaisiePortTcpServeur->SetCaption(c.ClientDonnees().GetPortTcpServeur());
  const bool actif = f.RBConnexionAuServeur->Checked();
  for (TPanneauCliquable* p : {f.PanelSaisieAdresseIpServeur, f.PanelSaisiePortTcpServeur}) {
    p->SetEnabled(actif);
    p->SetColor(actif ? Couleurs::clWhite : Couleurs::clSilver);
  }
}

TFicheParametresClient* FicheCourante() { return FicheParametres(); }
bool Affiche() { return affiche; }

}  // namespace EcrParametresClient
