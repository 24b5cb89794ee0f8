// The sorted multi-column list: a strip on top holding up to two sort cursors, and below it a
// named-column list that does all the list work. The control republishes the inner list's events
// with itself as Sender, lays the two parts out, and turns what the user does with the sort cursors
// into two events, SurTrierColonnes and SurInverserTri, which the owner answers by sorting its
// data: the control never sorts anything itself. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gui/ControlesStandard.h"
#include "ui/vclliste.h"
#include "ui/vclpanel.h"

class TVokSortedStringList;

// The set of changed sorts: bit 1 cursor 1, bit 2 cursor 2.
using TTrisChanges = uint8_t;
using TTrisChangesEvent = std::function<void(TComponent* Sender, TTrisChanges TrisChanges)>;
inline constexpr TTrisChanges Tri(int Numero) { return static_cast<TTrisChanges>(1u << Numero); }

// A sort cursor: a picture ("CURSEURTRI1" or "CURSEURTRI2") with a label on its right, standing
// over the header of the column it points at.
class TCurseurTri : public TVokCustomPanel {
 public:
  TCurseurTri(TVokSortedStringList* Liste, int Numero);

  int Numero() const { return numero_; }
  // The column number it points at; 0 none.
  int32_t Colonne = 0;
  // The column it avoids while the cursors are placed again; 0 none.
  int32_t AEviter = 0;
  TImage* Image() const { return image_; }
  TLabel* Etiquette() const { return etiquette_; }
  bool Glisse() const { return glisse_; }

  // Takes column n (or the nearest displayed one) and stands over its header; reports a change.
  void PositionnerSurColonne(int32_t n);
  // Stands over its column's header as displayed.
  void Placer();

  // The mouse on the picture (coordinates of the picture).
  void SourisEnfoncee(TMouseButton Bouton, int X, int Y);
  void SourisDeplacee(int X, int Y);
  void SourisRelachee(int X, int Y);
  void DoubleClic();

 private:
  // The strip coordinate of a picture point, held inside the strip (scrolling the list at the edges).
  int XDansBande(int X, bool Defiler);
  TVokSortedStringList* liste_;
  int numero_;
  TImage* image_;
  TLabel* etiquette_;
  bool glisse_ = false;
  int decalage_ = 0;
  int curseurSauve_ = 0;
};

class TVokSortedStringList : public TCustomControl {
 public:
  static constexpr int kHauteurBande = 20;

  explicit TVokSortedStringList(TComponent* Owner);

  // The inner list, whose properties the control publishes as its own (the declared defaults of
  // the outer control's options and smallest column width are only declarations: the inner list
  // keeps its own).
  TVokStringList* Liste() const { return liste_; }
  TVokPanel* Bande() const { return bande_; }
  TCurseurTri* Curseur(int Numero) const { return Numero == 1 ? curseur1_ : Numero == 2 ? curseur2_ : nullptr; }

  int NombreTris() const { return nombreTris_; }
  // Held between 0 and 2: cursor i shows when NombreTris >= i, the strip when it is above 0.
  void SetNombreTris(int Valeur);

  // The inner list's operations.
  int32_t AjouterColonne(const std::string& Nom, int32_t Largeur, TDessinColonne DessinEntete,
                         TDessinColonne DessinCreation, TDessinColonne DessinDonnee, TEditionColonne Edition,
                         const std::string& Titre);
  // A column named and titled Titre, without routines.
  int32_t AjouterColonne(const std::string& Titre, int32_t Largeur);
  void SupprimerColonnes() { liste_->SupprimerColonnes(); }
  void DefinirNombreLignes(int32_t Nombre, int32_t Mode = 0, int32_t Ligne = 0) {
    liste_->DefinirNombreLignes(Nombre, Mode, Ligne);
  }
  int32_t LargeurIdeale() const { return liste_->LargeurTotale(); }
  int32_t NombreSelectionnes() const { return liste_->NombreSelectionnes(); }
  void Invalidate() override;

  // Lays the strip and the list out, then places the cursors again.
  void Disposer();
  // Reports a change of a cursor (see the source).
  void SignalerTri(TCurseurTri& Curseur, bool Inversion, int32_t NouvelleColonne, int32_t AncienneColonne);
  TTrisChanges TypeTrisChanges = 0;
  bool Depose() const { return depose_; }
  void DefinirDepose(bool Valeur) { depose_ = Valeur; }

  // ---- the own events ----
  TTrisChangesEvent SurTrierColonnes;
  TTrisChangesEvent SurInverserTri;

  // ---- the inner list's events, raised with this control as Sender ----
  TNotifyEvent OnColWidthsChanged, OnRowHeightsChanged, OnRowCountChanged, OnTopLeftChanged, SurAfficherInfos,
      SurModification, SurSuppression, SurSauverPointeurs, SurRestaurerPointeurs, SurSelection, OnMouseEnter,
      OnMouseLeave;
  TTailleColonneEvent SurTailleColonneChangee;
  TMovedEvent OnColumnMoved, OnRowMoved;
  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TPreTopLeftEvent OnPreTopLeftChanged;
  TVokHintEvent OnVokHint;
  TRequeteEvent SurRequeteCreation, SurRequeteModification, SurRequeteSuppression, SurRequeteDeplacement,
      SurRequeteSelection, SurAccederAuPremier, SurAvancer;
  TCreationEvent SurCreation, SurTerminerCreation;
  TMouseEvent SurDeplacement;
  TInfoFantomeEvent SurAccederInfoFantome;
  TCouleursFantomeEvent SurAccederCouleursFantome;
  TParseurEvent SurParseur;
  TContinuerEditionEvent SurContinuerEdition;
  TNotifyEvent SurTerminerEdition;

 protected:
  void BoundsChanged() override;

 private:
  void Relier();
  int nombreTris_ = 0;
  TCurseurTri* curseur1_ = nullptr;
  TCurseurTri* curseur2_ = nullptr;
  TVokPanel* bande_ = nullptr;
  TVokStringList* liste_ = nullptr;
  bool depose_ = false;
};
