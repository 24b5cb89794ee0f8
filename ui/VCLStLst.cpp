#include "ui/VCLStLst.h"

#include <algorithm>

#include "platform/gui/Images.h"
#include "platform/gui/Saisie.h"
#include "platform/loop/MainLoop.h"
#include "platform/ui/SaisieEnCours.h"

namespace {

// The pointer hidden while a cursor is dragged.
constexpr int kCurseurCache = -1;

// The cursor's picture: it hands the mouse to the cursor.
class TImageCurseur : public TImage {
 public:
  TImageCurseur(TCurseurTri* Curseur) : TImage(Curseur), curseur_(Curseur) {}
  void MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) override {
    TImage::MouseDown(Bouton, Shift, X, Y);
    curseur_->SourisEnfoncee(Bouton, X, Y);
  }
  void MouseMove(uint8_t Shift, int X, int Y) override {
    TImage::MouseMove(Shift, X, Y);
    curseur_->SourisDeplacee(X, Y);
  }
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override {
    TImage::MouseUp(Bouton, Shift, X, Y);
    if (Bouton == TMouseButton::mbLeft) curseur_->SourisRelachee(X, Y);
  }
  void DblClick() override {
    TImage::DblClick();
    curseur_->DoubleClic();
  }

 private:
  TCurseurTri* curseur_;
};

bool ArretDemande() {
  const MainLoop* b = Application().Boucle();
  return b && b->StopRequested();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCurseurTri

TCurseurTri::TCurseurTri(TVokSortedStringList* Liste, int Numero)
    : TVokCustomPanel(Liste), liste_(Liste), numero_(Numero) {
  SetBevelOuter(TBevelCut::bvNone);
  SetBevelInner(TBevelCut::bvNone);
  image_ = new TImageCurseur(this);
  image_->SetParent(this);
  image_->Picture = Images::ImageParNom(Numero == 1 ? "CURSEURTRI1" : "CURSEURTRI2");
  image_->Picture.Transparent = true;
  image_->Picture.TransparentColor = Couleurs::clSilver;
  image_->Transparent = true;
  image_->SetBounds(0, 0, image_->Picture.Width, image_->Picture.Height);
  etiquette_ = new TLabel(this);
  etiquette_->SetParent(this);
  etiquette_->SetLeft(image_->Width());
  SetBounds(0, 0, image_->Width() + etiquette_->Width(), TVokSortedStringList::kHauteurBande - 2);
}

void TCurseurTri::Placer() {
  if (Colonne <= 0) return;
  TVokStringList& l = *liste_->Liste();
  const int32_t position = l.PositionAffichee(Colonne);
  if (position <= 0) return;
  // The column's left pixel in the list, less the columns scrolled out of view.
  int gauche = l.GaucheColonne(l.NomColonne(Colonne));
  if (position - 1 >= l.LeftCol())
    for (int32_t c = l.FixedCols(); c < l.LeftCol(); ++c) gauche -= l.ColWidths(c) + l.ListLineWidth();
  const int largeur = l.ColWidths(position - 1);
  SetBounds(l.Left() + gauche + (largeur - image_->Width()) / 2, Top(), image_->Width() + etiquette_->Width(),
            Height());
}

void TCurseurTri::PositionnerSurColonne(int32_t n) {
  TVokStringList& l = *liste_->Liste();
  if (n < 1 || n > l.NombreColonnes()) return;
  if (n == AEviter || l.PositionAffichee(n) == 0) {
    const int32_t depart = l.PositionDeclaree(n);
    const auto convient = [&](int32_t p) {
      const int32_t c = l.NumeroDeclare(p);
      return c > 0 && c != AEviter && l.PositionAffichee(c) > 0 ? c : 0;
    };
    int32_t trouvee = 0;
    for (int32_t p = depart - 1; p >= 1 && !trouvee; --p) trouvee = convient(p);
    for (int32_t p = depart + 1; p <= l.ColCount() && !trouvee; ++p) trouvee = convient(p);
    n = trouvee ? trouvee : Colonne;
  }
  const int32_t ancienne = Colonne;
  Colonne = n;
  Placer();
  if (liste_->Depose() || n != ancienne) {
    liste_->TypeTrisChanges |= Tri(numero_);
    liste_->SignalerTri(*this, false, n, ancienne);
  }
}

int TCurseurTri::XDansBande(int X, bool Defiler) {
  TVokPanel& bande = *liste_->Bande();
  const int demi = image_->Width() / 2;
  int x = bande.ScreenToClient(image_->ClientToScreen({X, 0})).X + decalage_;
  TVokStringList& l = *liste_->Liste();
  const bool horizontale =
      l.ScrollBars() == TListScrollBars::ssHorizontal || l.ScrollBars() == TListScrollBars::ssBoth;
  if (x <= 0) {
    x = 0;
    if (Defiler && horizontale && l.LeftCol() > l.FixedCols()) l.SetLeftCol(l.LeftCol() - 1);
  } else if (x >= bande.Width()) {
    x = bande.Width();
    if (Defiler && horizontale && l.LeftCol() < l.HautGaucheMaximal().X) l.SetLeftCol(l.LeftCol() + 1);
  }
  (void)demi;
  return x;
}

void TCurseurTri::SourisEnfoncee(TMouseButton Bouton, int X, int Y) {
  (void)Y;
  if (Bouton != TMouseButton::mbLeft) return;
  // An open entry is validated first and the press goes no further.
  if (SaisieEnCours::EntreeEnCours()) {
    SaisieEnCours::TerminerSaisie(false);
    Saisie::LibererCapture(image_);
    return;
  }
  decalage_ = image_->Width() / 2 - X;
  if (Parent()) {
    // To the front of the strip.
    TWinControl* p = Parent();
    SetParent(nullptr);
    SetParent(p);
  }
  curseurSauve_ = Screen().Cursor;
  Screen().Cursor = kCurseurCache;
  glisse_ = true;
}

void TCurseurTri::SourisDeplacee(int X, int Y) {
  (void)Y;
  if (!glisse_) return;
  if (ArretDemande()) {
    // Nobody will release the button: the drag ends where it is, without a drop.
    glisse_ = false;
    Screen().Cursor = curseurSauve_;
    Saisie::LibererCapture(image_);
    Placer();
    return;
  }
  const int x = XDansBande(X, true);
  SetLeft(x - image_->Width() / 2);
}

void TCurseurTri::SourisRelachee(int X, int Y) {
  (void)Y;
  if (!glisse_) return;
  Screen().Cursor = curseurSauve_;
  glisse_ = false;
  TVokStringList& l = *liste_->Liste();
  int x = XDansBande(X, false) - l.Left();
  for (int32_t c = l.FixedCols(); c < l.LeftCol(); ++c) x += l.ColWidths(c) + l.ListLineWidth();
  liste_->DefinirDepose(true);
  const int32_t n = l.NumeroColonne(l.ColonneAuPixel(x));
  if (Colonne > 0) liste_->TypeTrisChanges = 0;
  if (n > 0)
    PositionnerSurColonne(n);
  else
    Placer();
  liste_->DefinirDepose(false);
}

void TCurseurTri::DoubleClic() {
  liste_->TypeTrisChanges = Tri(numero_);
  liste_->SignalerTri(*this, true, Colonne, Colonne);
}

// ---------------------------------------------------------------------------------------------
// TVokSortedStringList

TVokSortedStringList::TVokSortedStringList(TComponent* Owner) : TCustomControl(Owner) {
  ParentColor = false;
  bande_ = new TVokPanel(this);
  bande_->SetParent(this);
  bande_->SetBevelOuter(TBevelCut::bvLowered);
  bande_->OnPostResize = [this](TComponent*) {
    for (TCurseurTri* c : {curseur1_, curseur2_})
      if (c) c->SetHeight(std::max(bande_->Height() - 2, 0));
  };
  curseur1_ = new TCurseurTri(this, 1);
  curseur1_->SetParent(bande_);
  curseur2_ = new TCurseurTri(this, 2);
  curseur2_->SetParent(bande_);
  liste_ = new TVokStringList(this);
  liste_->SetParent(this);
  liste_->SetColor(Color());
  liste_->SetFont(Font());
  liste_->Ctl3D = true;
  liste_->ShowHint = ShowHint;
  liste_->TabStop = false;
  curseur1_->Hide();
  curseur2_->Hide();
  bande_->Hide();
  Relier();
  SetBounds(0, 0, liste_->ColCount() * liste_->DefaultColWidth(), liste_->RowCount() * liste_->DefaultRowHeight());
}

void TVokSortedStringList::Relier() {
  TVokStringList& l = *liste_;
  l.OnClick = [this](TComponent*) { if (OnClick) OnClick(this); };
  l.OnDblClick = [this](TComponent*) { if (OnDblClick) OnDblClick(this); };
  l.OnKeyDown = [this](TComponent*, int& T, uint8_t S) { if (OnKeyDown) OnKeyDown(this, T, S); };
  l.OnKeyPress = [this](TComponent*, char& C) { if (OnKeyPress) OnKeyPress(this, C); };
  l.OnMouseDown = [this](TComponent*, TMouseButton B, uint8_t S, int X, int Y) { if (OnMouseDown) OnMouseDown(this, B, S, X, Y); };
  l.OnMouseUp = [this](TComponent*, TMouseButton B, uint8_t S, int X, int Y) { if (OnMouseUp) OnMouseUp(this, B, S, X, Y); };
  l.OnMouseMove = [this](TComponent*, uint8_t S, int X, int Y) { if (OnMouseMove) OnMouseMove(this, S, X, Y); };
  l.OnEnter = [this](TComponent*) { if (OnEnter) OnEnter(this); };
  l.OnExit = [this](TComponent*) { if (OnExit) OnExit(this); };
  l.OnMouseEnter = [this](TComponent*) { if (OnMouseEnter) OnMouseEnter(this); };
  l.OnMouseLeave = [this](TComponent*) { if (OnMouseLeave) OnMouseLeave(this); };
  l.OnColumnMoved = [this](TComponent*, int32_t De, int32_t A) {
    Disposer();
    if (OnColumnMoved) OnColumnMoved(this, De, A);
  };
  l.OnColWidthsChanged = [this](TComponent*) {
    Disposer();
    if (OnColWidthsChanged) OnColWidthsChanged(this);
  };
  l.OnTopLeftChanged = [this](TComponent*) {
    Disposer();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
  };
  l.SurTailleColonneChangee = [this](TComponent*, int32_t N) { if (SurTailleColonneChangee) SurTailleColonneChangee(this, N); };
  l.OnRowHeightsChanged = [this](TComponent*) { if (OnRowHeightsChanged) OnRowHeightsChanged(this); };
  l.OnRowCountChanged = [this](TComponent*) { if (OnRowCountChanged) OnRowCountChanged(this); };
  l.OnRowMoved = [this](TComponent*, int32_t De, int32_t A) { if (OnRowMoved) OnRowMoved(this, De, A); };
  l.OnDrawCell = [this](TComponent*, int32_t C, int32_t R, TRect Re, TListVokDrawState S) { if (OnDrawCell) OnDrawCell(this, C, R, Re, S); };
  l.OnSelectCell = [this](TComponent*, int32_t C, int32_t R, bool& P) { if (OnSelectCell) OnSelectCell(this, C, R, P); };
  l.OnPreTopLeftChanged = [this](TComponent*, TListCoord A, TListCoord N) { if (OnPreTopLeftChanged) OnPreTopLeftChanged(this, A, N); };
  l.OnVokHint = [this](TComponent*, int32_t C, int32_t R) { return OnVokHint ? OnVokHint(this, C, R) : std::string(); };
  l.SurAfficherInfos = [this](TComponent*) { if (SurAfficherInfos) SurAfficherInfos(this); };
  l.SurModification = [this](TComponent*) { if (SurModification) SurModification(this); };
  l.SurSuppression = [this](TComponent*) { if (SurSuppression) SurSuppression(this); };
  l.SurSauverPointeurs = [this](TComponent*) { if (SurSauverPointeurs) SurSauverPointeurs(this); };
  l.SurRestaurerPointeurs = [this](TComponent*) { if (SurRestaurerPointeurs) SurRestaurerPointeurs(this); };
  l.SurSelection = [this](TComponent*) { if (SurSelection) SurSelection(this); };
  const auto requete = [this](TRequeteEvent TVokSortedStringList::*E, bool Defaut) {
    return [this, E, Defaut](TComponent*, TListCoord C) { return this->*E ? (this->*E)(this, C) : Defaut; };
  };
  l.SurRequeteCreation = requete(&TVokSortedStringList::SurRequeteCreation, true);
  l.SurRequeteModification = requete(&TVokSortedStringList::SurRequeteModification, true);
  l.SurRequeteSuppression = requete(&TVokSortedStringList::SurRequeteSuppression, true);
  l.SurRequeteDeplacement = requete(&TVokSortedStringList::SurRequeteDeplacement, true);
  l.SurRequeteSelection = requete(&TVokSortedStringList::SurRequeteSelection, true);
  l.SurAccederAuPremier = requete(&TVokSortedStringList::SurAccederAuPremier, false);
  l.SurAvancer = requete(&TVokSortedStringList::SurAvancer, false);
  l.SurCreation = [this](TComponent*) { return SurCreation ? SurCreation(this) : false; };
  // The editing events pass the inner list.
  l.SurTerminerCreation = [this](TComponent* L) { return SurTerminerCreation ? SurTerminerCreation(L) : true; };
  l.SurTerminerEdition = [this](TComponent* L) { if (SurTerminerEdition) SurTerminerEdition(L); };
  l.SurContinuerEdition = [this](TComponent* L, TListCoord C, TypeToucheDeValidation T, TListCoord& O) {
    if (SurContinuerEdition) SurContinuerEdition(L, C, T, O);
  };
  l.SurDeplacement = [this](TComponent*, TMouseButton B, uint8_t S, int X, int Y) { if (SurDeplacement) SurDeplacement(this, B, S, X, Y); };
  l.SurAccederInfoFantome = [this](TComponent*, int32_t C, int32_t R) { return SurAccederInfoFantome ? SurAccederInfoFantome(this, C, R) : std::string(); };
  l.SurAccederCouleursFantome = [this](TComponent*, TColor& F, TColor& T) { if (SurAccederCouleursFantome) SurAccederCouleursFantome(this, F, T); };
  l.SurParseur = [this](TComponent*, const std::string& S) { return SurParseur ? SurParseur(this, S) : -1; };
}

void TVokSortedStringList::SetNombreTris(int Valeur) {
  Valeur = std::clamp(Valeur, 0, 2);
  if (Valeur == nombreTris_) return;
  nombreTris_ = Valeur;
  curseur1_->SetVisible(nombreTris_ >= 1);
  curseur2_->SetVisible(nombreTris_ >= 2);
  bande_->SetVisible(nombreTris_ > 0);
  Disposer();
}

int32_t TVokSortedStringList::AjouterColonne(const std::string& Nom, int32_t Largeur, TDessinColonne DessinEntete,
                                             TDessinColonne DessinCreation, TDessinColonne DessinDonnee,
                                             TEditionColonne Edition, const std::string& Titre) {
  return liste_->AjouterColonne(Nom, Largeur, std::move(DessinEntete), std::move(DessinCreation),
                                std::move(DessinDonnee), std::move(Edition), Titre);
}

int32_t TVokSortedStringList::AjouterColonne(const std::string& Titre, int32_t Largeur) {
  return liste_->AjouterColonne(Titre, Largeur, nullptr, nullptr, nullptr, nullptr, Titre);
}

void TVokSortedStringList::Invalidate() {
  TCustomControl::Invalidate();
  bande_->Invalidate();
  curseur1_->Invalidate();
  curseur2_->Invalidate();
  liste_->Invalidate();
}

void TVokSortedStringList::BoundsChanged() {
  TCustomControl::BoundsChanged();
  Disposer();
}

void TVokSortedStringList::Disposer() {
  if (!liste_) return;
  const int bande = bande_->Visible() ? kHauteurBande : 0;
  bande_->SetBounds(0, 0, Width(), bande);
  liste_->SetBounds(0, bande, Width(), std::max(Height() - bande, 0));
  if (nombreTris_ == 2) {
    curseur1_->AEviter = curseur2_->Colonne;
    curseur2_->AEviter = curseur1_->Colonne;
  }
  for (TCurseurTri* c : {curseur1_, curseur2_})
    if (c->Colonne > 0) {
      if (c->AEviter == c->Colonne || liste_->PositionAffichee(c->Colonne) == 0)
        c->PositionnerSurColonne(c->Colonne);
      else
        c->Placer();
    }
  curseur1_->AEviter = curseur2_->AEviter = 0;
}

void TVokSortedStringList::SignalerTri(TCurseurTri& Curseur, bool Inversion, int32_t NouvelleColonne,
                                       int32_t AncienneColonne) {
  if (nombreTris_ == 0 || (Curseur.Numero() == 2 && nombreTris_ == 1)) return;
  const bool meme = !Inversion && NouvelleColonne == AncienneColonne;
  bool complete = curseur1_->Colonne > 0 && (nombreTris_ < 2 || curseur2_->Colonne > 0);
  if (nombreTris_ == 2) {
    TCurseurTri& autre = Curseur.Numero() == 1 ? *curseur2_ : *curseur1_;
    if (autre.Colonne == Curseur.Colonne && Curseur.Colonne > 0) {
      // The other cursor gives the column up.
      const bool depose = depose_;
      depose_ = false;
      autre.AEviter = Curseur.Colonne;
      autre.PositionnerSurColonne(autre.Colonne);
      autre.AEviter = 0;
      depose_ = depose;
      complete = false;
    }
  }
  if (meme || complete) {
    if (meme && depose_) {
      if (SurInverserTri) SurInverserTri(this, TypeTrisChanges);
    } else if (SurTrierColonnes) {
      SurTrierColonnes(this, TypeTrisChanges);
    }
  }
  depose_ = false;
  bande_->Invalidate();
  TCustomControl::Invalidate();
  liste_->MontrerSelection();
}
