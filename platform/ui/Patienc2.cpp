#include "platform/ui/Patienc2.h"

#include "platform/gui/Images.h"

namespace Patienc2 {
namespace {
TBitmap image;
}
void Initialiser() { image = Images::ImageParNom("PATIENCE2"); }
void Finaliser() { image.Liberer(); }
const TBitmap& Image() { return image; }
}  // namespace Patienc2

TPatience2::TPatience2(TComponent* Proprietaire, const std::string& TexteAttente) : TFenetreAttente(Proprietaire) {
  SetName("Patience2");
  SetBorderStyle(TFormBorderStyle::bsNone);
  BorderIcons = 0;
  SetCaption("Patientez 2");
  SetClientWidth(218);
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
  Image1->SetBounds(3, 8, 38, 32);
  Image1->Center = true;
  Image1->SetParent(Panel1);
  Texte = new TLabel(this);
  Texte->SetName("Texte");
  TFont f;
  f.Name = "Arial";
  f.Height = 13;
  f.Style = fsBold;
  f.Color = Couleurs::clWhite;
  Texte->SetFont(f);
  Texte->SetAlignment(TAlignment::taCenter);
  Texte->Transparent = true;
  Texte->SetLeft(44);
  Texte->SetWordWrap(true);
  Texte->SetParent(Panel1);
  Image1->Picture = Patienc2::Image();
  Texte->SetCaption(TexteAttente);
  Texte->SetWidth(160);
  Texte->SetAutoSize(true);
  Texte->SetTop(Texte->Height() < Panel1->Height() ? (Panel1->Height() - Texte->Height()) / 2 : 0);
}
