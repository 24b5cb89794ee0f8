#include "platform/ui/Progression.h"

#include <algorithm>

TFicheProgression::TFicheProgression(TComponent* Proprietaire) : TFenetreAttente(Proprietaire) {
  SetName("FicheProgression");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  BorderIcons = 0;
  SetCaption("Chargement en cours...");
  SetClientWidth(315);
  SetClientHeight(23);
  Position = TPosition::poOwnerFormCenter;
  BarreDeProgression = new TProgressBar(this);
  BarreDeProgression->SetName("BarreDeProgression");
  BarreDeProgression->SetAlign(TAlign::alClient);
  BarreDeProgression->SetParent(this);
}

void TFicheProgression::Elargir(const std::string& Texte) {
  const int largeur = Canvas().TextWidth(Texte) + 16;
  if (ClientWidth() < largeur) SetClientWidth(largeur);
}

void TFicheProgression::VisibleChanged() {
  if (Visible()) Elargir(Caption());
  TFenetreAttente::VisibleChanged();
}

namespace Progression {
namespace {
TFicheProgression* fiche = nullptr;
}  // namespace
}  // namespace Progression

TFicheProgression::~TFicheProgression() {
  if (Progression::fiche == this) Progression::fiche = nullptr;
}

namespace Progression {
namespace {

void Creer(TForm* Proprietaire, const std::string& Texte) {
  fiche = new TFicheProgression(Proprietaire ? static_cast<TComponent*>(Proprietaire) : &Application());
  fiche->SetCaption(Texte);
  fiche->Show();
  fiche->Update();
}
}  // namespace

TFicheProgression* Fiche() { return fiche; }

void AfficherProgression(TForm* Proprietaire, const std::string& Texte) {
  if (fiche) return;
  Creer(Proprietaire, Texte);
}

void MettreAJourProgression(const std::string& Texte, int32_t Position, int32_t Maximum, bool CreerFiche) {
  if (!fiche) {
    if (!CreerFiche) return;
    Creer(Application().MainForm(), Texte);
  }
  if (fiche->Caption() != Texte && !Texte.empty()) {
    if (fiche->Visible()) fiche->Elargir(Texte);
    fiche->SetCaption(Texte);
  }
  fiche->BarreDeProgression->SetMax(Maximum);
  fiche->BarreDeProgression->SetPosition(std::min(Position, Maximum));
}

void MasquerProgression() {
  if (!fiche) return;
  TFicheProgression* f = fiche;
  fiche = nullptr;
  f->Hide();
  delete f;
}

}  // namespace Progression
