#include "platform/ui/EcranPatience.h"

#include <algorithm>
#include <chrono>

#include "platform/loop/MainLoop.h"

namespace {

TPanel* Panneau(TComponent* Owner, const char* Nom, TWinControl* Parent, TAlign Alignement, int Hauteur, int Bord) {
  auto* p = new TPanel(Owner);
  p->SetName(Nom);
  p->SetBevelOuter(TBevelCut::bvNone);
  if (Hauteur > 0) p->SetHeight(Hauteur);
  p->SetBorderWidth(Bord);
  p->SetAlign(Alignement);
  p->SetParent(Parent);
  return p;
}

}  // namespace

TFichePatience::TFichePatience(TComponent* Proprietaire) : TFenetreAttente(Proprietaire) {
  SetName("FichePatience");
  SetBorderStyle(TFormBorderStyle::bsToolWindow);
  BorderIcons = 0;
  FormStyle = TFormStyle::fsStayOnTop;
  SetCaption("Patientez");
  Position = TPosition::poMainFormCenter;
  TFont f;
  f.Name = "Arial";
  f.Height = 16;
  f.Style = fsBold;
  SetFont(f);
  PanelPere = Panneau(this, "PanelPere", this, TAlign::alClient, 0, 10);
  PanelTexte = Panneau(this, "PanelTexte", PanelPere, TAlign::alTop, 41, 0);
  PanelTexte->SetCaption("Chargement...");
  PanelBouton = Panneau(this, "PanelBouton", PanelPere, TAlign::alBottom, 45, 0);
  PanelGauge = Panneau(this, "PanelGauge", PanelPere, TAlign::alBottom, 44, 4);
  PanelTrace = Panneau(this, "PanelTrace", PanelPere, TAlign::alClient, 0, 4);
  Memo1 = new TMemo(this);
  Memo1->SetName("Memo1");
  Memo1->ScrollBars = TScrollStyle::ssVertical;
  TFont petite;
  petite.Name = "Arial";
  petite.Height = 11;
  Memo1->SetFont(petite);
  Memo1->SetAlign(TAlign::alClient);
  Memo1->SetParent(PanelTrace);
  ProgressBar = new TProgressBar(this);
  ProgressBar->SetName("ProgressBar");
  ProgressBar->SetHeight(16);
  ProgressBar->Smooth = true;
  ProgressBar->SetAlign(TAlign::alTop);
  ProgressBar->SetParent(PanelGauge);
  PanelPourcent = Panneau(this, "PanelPourcent", PanelGauge, TAlign::alClient, 0, 0);
  PanelPourcent->SetCaption("0%");
  BtnInterrompre = new TBitBtn(this);
  BtnInterrompre->SetName("BtnInterrompre");
  BtnInterrompre->SetCaption("  Interrompre");
  BtnInterrompre->SetBounds(10, 6, 550, 32);
  BtnInterrompre->Anchors = akLeft | akTop | akRight | akBottom;
  BtnInterrompre->OnClick = [this](TComponent* s) { InterrompreClick(s); };
  BtnInterrompre->SetParent(PanelBouton);
}

void TFichePatience::VisibleChanged() {
  // The window sizes itself before it disables the others and writes its line.
  if (Visible()) AjusterTaille();
  TFenetreAttente::VisibleChanged();
}

void TFichePatience::AjusterTaille() {
  int h = 51;
  if (BtnInterrompre->Enabled()) h += 45;
  if (PanelGauge->Visible()) h += 44;
  if (PanelTrace->Visible()) h += 300;
  SetClientHeight(h);
  const int texte = MetriquesTexte::Largeur(PanelTexte->Font(), PanelTexte->Caption()) + 2 * PanelPere->BorderWidth() + 10;
  SetClientWidth(std::max(texte, PanelTrace->Visible() ? 590 : 250));
}

void TFichePatience::AjouterTrace(const std::string& Ligne) {
  Memo1->SetText(TraceEnTete ? Ligne + Memo1->Text() : Memo1->Text() + Ligne);
  Memo1->Repaint();
}

void TFichePatience::InterrompreClick(TComponent*) { Interruption = true; }

void TFichePatience::TerminerTraitement() {
  Fin = true;
  Interruption = false;
  BtnInterrompre->SetEnabled(true);
  BtnInterrompre->SetCaption("Fermer");
  AjouterTrace("Fin de traitement\r\n");
  SetModalResult(mrNone);
  Application().PiloteModal().EntreeBoucle(*this);
  if (ModalResult() != mrNone) Interruption = true;
  MainLoop* boucle = Application().Boucle();
  while (!Interruption && boucle) {
    const auto r = boucle->WaitUntil([this] { return Interruption || ModalResult() != mrNone; }, std::chrono::hours(24));
    if (r == MainLoop::WaitResult::Stopped || ModalResult() != mrNone) break;
  }
}

namespace EcranPatience {

TFichePatience* CreerFichePatience(const std::string& Titre, const std::string& Texte, bool AvecJauge,
                                   bool Interruptible, bool AvecTrace, bool TraceEnTete) {
  auto* f = new TFichePatience(&Application());
  f->SetCaption(Titre);
  f->PanelTexte->SetCaption(Texte);
  f->PanelGauge->SetVisible(AvecJauge);
  f->BtnInterrompre->SetEnabled(Interruptible);
  f->PanelBouton->SetVisible(AvecTrace || Interruptible);
  f->Fin = !Interruptible;
  f->PanelTrace->SetVisible(AvecTrace);
  f->TraceEnTete = TraceEnTete;
  if (f->Fin) f->BtnInterrompre->SetCaption("Fermer");
  return f;
}

}  // namespace EcranPatience
