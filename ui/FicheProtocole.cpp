#include "ui/FicheProtocole.h"

#include <algorithm>

#include "net/protocol/NetProtocol.h"
#include "net/protocol/VclProtocole.h"
#include "ui/VclFanto.h"

namespace {

TFicheProtocole* fiche = nullptr;
constexpr int kHauteurBouton = 25;
constexpr int kMarge = 5;

}  // namespace

TFicheProtocole::TFicheProtocole(TComponent* Owner) : TForm(Owner) {
  SetCaption(std::string(NetProtocol::kTitre));
  ListeTraces = new TVokSortedStringList(this);
  ListeTraces->SetParent(this);
  TVokStringList& l = *ListeTraces->Liste();
  l.SetFixedCols(0);
  l.SetVokOptions(0);
  ListeTraces->SupprimerColonnes();
  for (const NetProtocol::TypeColonne& c : NetProtocol::Colonnes())
    ListeTraces->AjouterColonne(std::string(c.Titre), c.Largeur);
  ListeTraces->SurAccederAuPremier = ListeTraces->SurAvancer = [this](TComponent*, TListCoord Cellule) {
    ligne_ = Cellule.Y;
    return ligne_ >= 1 && static_cast<size_t>(ligne_) <= NetProtocol::NombreLignes();
  };
  ListeTraces->OnDrawCell = [this](TComponent*, int32_t Col, int32_t Row, TRect Rect, TListVokDrawState) {
    DessinerCellule(Col, Row, Rect);
  };
  BoutonFermer = new TBitBtn(this);
  BoutonFermer->SetParent(this);
  BoutonFermer->SetCaption("Fermer");
  BoutonFermer->Cancel = true;
  BoutonFermer->OnClick = [this](TComponent*) { Close(); };
  SetBounds(0, 0, ListeTraces->LargeurIdeale() + 10, 400);
}

void TFicheProtocole::DessinerCellule(int32_t Col, int32_t Row, TRect Rect) {
  TCanvas& c = ListeTraces->Liste()->Canvas();
  const auto& colonnes = NetProtocol::Colonnes();
  if (Col < 0 || static_cast<size_t>(Col) >= colonnes.size()) return;
  if (Row == 0) {
    VclFanto::DessinerTexteCentre(c, Rect, std::string(colonnes[static_cast<size_t>(Col)].Titre), true);
    return;
  }
  if (Row != ligne_ || static_cast<size_t>(Row) > NetProtocol::NombreLignes()) return;
  const auto ligne = NetProtocol::Ligne(static_cast<size_t>(Row - 1));
  VclFanto::DessinerTexteAvecMarges(c, Rect, 1, 2, ligne[static_cast<size_t>(Col)], 0);
}

void TFicheProtocole::Actualiser() {
  ListeTraces->DefinirNombreLignes(static_cast<int32_t>(NetProtocol::NombreLignes()));
  ListeTraces->Invalidate();
}

void TFicheProtocole::VisibleChanged() {
  TForm::VisibleChanged();
  if (Visible()) Actualiser();
}

void TFicheProtocole::BoundsChanged() {
  TForm::BoundsChanged();
  if (!ListeTraces || ajustement_) return;
  // The window takes the list's ideal width; the button stands under the list.
  ajustement_ = true;
  const int largeur = ListeTraces->LargeurIdeale() + 10;
  if (Width() != largeur) SetWidth(largeur);
  const int hauteur = std::max(ClientHeight() - kHauteurBouton - 2 * kMarge, 0);
  ListeTraces->SetBounds(0, 0, ClientWidth(), hauteur);
  BoutonFermer->SetBounds((ClientWidth() - 75) / 2, hauteur + kMarge, 75, kHauteurBouton);
  ajustement_ = false;
}

namespace FicheProtocole {

TFicheProtocole* Fiche() { return fiche; }

void Afficher() {
  if (!fiche) fiche = new TFicheProtocole(&Application());
  fiche->Show();
  fiche->Actualiser();
}

void Actualiser() {
  if (fiche && fiche->Visible()) fiche->Actualiser();
}

void Initialiser() { VclProtocole::DefinirFenetreTrace(Afficher, Actualiser); }

void Finaliser() {
  VclProtocole::DefinirFenetreTrace(nullptr, nullptr);
  delete fiche;
  fiche = nullptr;
}

}  // namespace FicheProtocole
