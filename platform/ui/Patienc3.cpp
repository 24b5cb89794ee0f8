#include "platform/ui/Patienc3.h"

#include "platform/gui/Images.h"

namespace Patienc3 {
namespace {
TBitmap image;
}
void Initialiser() { image = Images::ImageParNom("PATIENCE2"); }
void Finaliser() { image.Liberer(); }
const TBitmap& Image() { return image; }
}  // namespace Patienc3

namespace {

TFont Arial(int Hauteur) {
  TFont f;
  f.Name = "Arial";
  f.Height = Hauteur;
  f.Style = fsBold;
  f.Color = Couleurs::clWhite;
  return f;
}

}  // namespace

TPatienceCompteur::TPatienceCompteur(TComponent* Proprietaire, const std::string& TexteAttente)
    : TFenetreAttente(Proprietaire) {
  SetName("PatienceCompteur");
  SetBorderStyle(TFormBorderStyle::bsNone);
  BorderIcons = 0;
  SetCaption("Patientez");
  SetClientWidth(268);
  SetClientHeight(49);
  Position = TPosition::poMainFormCenter;
  Scaled = false;
  Panel1 = new TPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetColor(Couleurs::clBlue);
  Panel1->SetBevelInner(TBevelCut::bvLowered);
  Panel1->SetAlign(TAlign::alClient);
  Panel1->SetParent(this);
  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetBounds(3, 9, 38, 32);
  Image1->Center = true;
  Image1->Picture = Patienc3::Image();
  Image1->SetParent(Panel1);
  Texte = new TLabel(this);
  Texte->SetName("Texte");
  Texte->SetFont(Arial(13));
  Texte->SetAlignment(TAlignment::taCenter);
  Texte->Transparent = true;
  Texte->SetLeft(44);
  Texte->SetWordWrap(true);
  Texte->SetParent(Panel1);
  Compteur = new TLabel(this);
  Compteur->SetName("Compteur");
  Compteur->SetFont(Arial(21));
  Compteur->SetAutoSize(false);
  Compteur->SetAlignment(TAlignment::taRightJustify);
  Compteur->Transparent = true;
  Compteur->SetBounds(196, 13, 68, 25);
  Compteur->SetCaption("0");
  Compteur->SetParent(Panel1);

  Texte->SetCaption(TexteAttente);
  Texte->SetWidth(150);
  Texte->SetAutoSize(true);
  Texte->SetTop(Texte->Height() < Panel1->Height() ? (Panel1->Height() - Texte->Height()) / 2 : 0);
  pas_ = 10;
}

void TPatienceCompteur::InitialiserCompteur(uint32_t Valeur) {
  compteur_ = Valeur;
  Compteur->SetCaption(std::to_string(Valeur));
  Compteur->Repaint();
}

void TPatienceCompteur::DefinirPas(uint32_t Pas) {
  if (Pas != 0) pas_ = Pas;
}

void TPatienceCompteur::Decrementer() {
  if (compteur_ == 0) return;
  --compteur_;
  Compteur->SetCaption(std::to_string(compteur_));
  if (compteur_ % pas_ == 0) Compteur->Repaint();
}
