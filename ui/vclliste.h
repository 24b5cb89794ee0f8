// The system's list control: a grid of rows and columns whose unit of selection is a row, and
// which holds no data. Its owner answers requests and draws each cell; the list keeps the geometry
// (column widths, row heights, fixed rows on the top and fixed columns on the left and on the
// right), the scroll position, the set of selected data rows, and the gestures that ask the owner
// to create, modify, delete or move rows. While it paints, the list asks the owner to position
// its own data cursor on the first visible row and to advance it row by row, so that painting a
// list of a million rows costs what its visible rows cost.
//
// Coordinates: a cell is (column, row), both 0-based over all columns and rows, fixed ones
// included. A data row number is 1-based over the rows below the fixed rows: data row n is row
// n + FixedRows - 1. The selection is a sorted set of data row numbers.
//
// TVokCustomList holds the model, the layout, the painting, the selection, the keyboard and the
// mouse; TVokDrawList publishes it and turns its virtual operations into events. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/records/Memoire.h"
#include "platform/gui/ControlesStandard.h"
#include "platform/gui/Fiches.h"
#include "platform/gui/Minuterie.h"
#include "ui/ListeCha.h"
#include "ui/Saisies.h"
#include "ui/VclFanto.h"

// The exception of the list's geometry.
class EInvalidListOperation : public Exception {
 public:
  using Exception::Exception;
};

struct TListCoord {
  int32_t X = 0;  // column
  int32_t Y = 0;  // row
  bool operator==(const TListCoord&) const = default;
};

// TListOptions: bits 0 to 11.
enum TListOption : uint16_t {
  goFixedVertLine = 1 << 0,
  goFixedHorzLine = 1 << 1,
  goVertLine = 1 << 2,
  goHorzLine = 1 << 3,
  goRangeSelect = 1 << 4,
  goRowSizing = 1 << 5,
  goColSizing = 1 << 6,
  goRowMoving = 1 << 7,
  goColMoving = 1 << 8,
  goEditing = 1 << 9,
  goTabs = 1 << 10,
  goThumbTracking = 1 << 11,
};
using TListOptions = uint16_t;

// TVokOptions: one byte, bits 0 to 6.
enum TVokOption : uint8_t {
  AvecMultiSelec = 1 << 0,    // several rows may be selected
  AvecCreation = 1 << 1,      // the last fixed row is a creation row
  AvecSuppression = 1 << 2,   // rows may be deleted
  AvecModification = 1 << 3,  // rows may be modified
  SansSelection = 1 << 4,     // no row is ever shown selected
  AvecToggle = 1 << 5,        // a plain click toggles a row
  AvecDeplacement = 1 << 6,   // rows may be moved by a gesture
};
using TVokOptions = uint8_t;

enum class TCreateBitmap : uint8_t { cbNone, cbIndicators, cbPlus, cbCustom };
enum class TListScrollBars : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TListBorderStyle : uint8_t { bsNone, bsSingle };

// TListVokDrawState: the state a cell is drawn in.
enum : uint8_t { gdSelected = 1, gdFixed = 2 };
using TListVokDrawState = uint8_t;

// Scroll-bar actions (the platform's codes).
enum TCodeDefilement : uint8_t {
  SB_LINEUP = 0,
  SB_LINEDOWN = 1,
  SB_PAGEUP = 2,
  SB_PAGEDOWN = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_BOTTOM = 7,
  SB_ENDSCROLL = 8
};

// Cursors of the platform shown over the borders of columns and rows.
inline constexpr int crHSplit = -14;
inline constexpr int crVSplit = -15;

// The state of one of the list's window scroll bars. A bar is shown when the list asks for it
// (ScrollBars) and its range is not empty.
struct TEtatBarre {
  int Min = 0, Max = 0, Position = 0;
  bool Visible = false;
};

// The long-press timer of a gesture: the screen point of the press and the cell under it.
class TListTimer : public TTimer {
 public:
  using TTimer::TTimer;
  TPoint Point;
  int32_t Col = 0, Row = 0;
};

class TVokCustomList;
using TRequeteEvent = std::function<bool(TComponent* Sender, TListCoord Cellule)>;
using TCreationEvent = std::function<bool(TComponent* Sender)>;
using TTailleColonneEvent = std::function<void(TComponent* Sender, int32_t Numero)>;
using TInfoFantomeEvent = std::function<std::string(TComponent* Sender, int32_t ACol, int32_t ARow)>;
using TCouleursFantomeEvent = std::function<void(TComponent* Sender, TColor& CouleurFond, TColor& CouleurForme)>;
using TParseurEvent = std::function<int32_t(TComponent* Sender, const std::string& Chaine)>;
using TDrawCellEvent =
    std::function<void(TComponent* Sender, int32_t Col, int32_t Row, TRect Rect, TListVokDrawState State)>;
using TSelectCellEvent = std::function<void(TComponent* Sender, int32_t Col, int32_t Row, bool& CanSelect)>;
using TMovedEvent = std::function<void(TComponent* Sender, int32_t FromIndex, int32_t ToIndex)>;
using TPreTopLeftEvent = std::function<void(TComponent* Sender, TListCoord OldTopLeft, TListCoord NewTopLeft)>;

// Column widths or row heights: absent (every entry at the default) or one size per entry.
struct TEtendues {
  bool Present = false;
  std::vector<int32_t> Tailles;
};

namespace vclliste {

// The largest count an extents array takes.
inline constexpr int64_t kTailleMaximale = 134217725;

// Inserts (Montant > 0) or removes (Montant < 0) entries at Index of an array holding Nombre
// entries, the new ones at Defaut. A negative result raises "Trop de lignes ou colonnes
// supprimées", one above kTailleMaximale "Grille trop grande pour l'opération", an index outside
// 0..Nombre "Index de grille hors limites". An absent array stays absent.
void ModifierEtendues(TEtendues& E, int32_t Nombre, int64_t Montant, int32_t Index, int32_t Defaut);
// Moves entry De to A, the entries between shifting by one.
void DeplacerEtendue(TEtendues& E, int32_t De, int32_t A);

// Unit start-up: the list's resource strings.
void Initialiser();
void Finaliser();

}  // namespace vclliste

// The layout of one axis, computed from the client size on demand.
struct TAxeListe {
  int32_t LargeurLigne = 0;    // grid line width on this axis (0 without the options' lines)
  int32_t LimiteFixe = 0;      // pixels taken by the leading fixed cells and their lines
  int32_t Etendue = 0;         // the scrolled cells end here (the right fixed columns start)
  int32_t LimiteClient = 0;    // the client width or height
  int32_t Nombre = 0;          // cells on the axis
  int32_t Fixes = 0;           // leading fixed cells
  int32_t PremierFixeFin = 0;  // first trailing fixed cell that is shown (Nombre when none)
  int32_t Premier = 0;         // first scrolled cell (the top-left)
  int32_t DernierVisible = 0;  // last scrolled cell fully visible (Premier - 1 when none)
  int32_t DernierPartiel = 0;  // last scrolled cell at least partly visible
  int32_t LimiteGrille = 0;    // far edge of the last partly visible scrolled cell, held to Etendue
};

class TVokCustomList : public TCustomControl {
 public:
  explicit TVokCustomList(TComponent* Owner);
  ~TVokCustomList() override;

  // ---- the published properties, with the defaults the members below start from ----
  TListBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TListBorderStyle v);
  int32_t ColCount() const { return colCount_; }
  // 0 also takes the fixed columns to 0; a negative count counts as 1.
  void SetColCount(int32_t v);
  int32_t RowCount() const { return rowCount_; }
  void SetRowCount(int32_t v);
  int32_t DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int32_t v);
  int32_t DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int32_t v);
  int32_t DefaultMinColWidth() const { return defaultMinColWidth_; }
  void SetDefaultMinColWidth(int32_t v);
  bool DefaulTVokDrawing() const { return defaultDrawing_; }
  void SetDefaulTVokDrawing(bool v);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor v);
  int32_t FixedCols() const { return fixedCols_; }
  void SetFixedCols(int32_t v);
  int32_t RightFixedCols() const { return rightFixedCols_; }
  void SetRightFixedCols(int32_t v);
  int32_t FixedRows() const { return fixedRows_; }
  void SetFixedRows(int32_t v);
  int32_t ListLineWidth() const { return lineWidth_; }
  void SetListLineWidth(int32_t v);
  TListOptions Options() const { return options_; }
  void SetOptions(TListOptions v);
  TListScrollBars ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TListScrollBars v);
  bool Editable() const { return editable_; }
  void SetEditable(bool v) { editable_ = v; }
  TColor CreateColor() const { return createColor_; }
  void SetCreateColor(TColor v);
  TVokOptions VokOptions() const { return vokOptions_; }
  void SetVokOptions(TVokOptions v);
  TCreateBitmap CreateBitmap() const { return createBitmap_; }
  void SetCreateBitmap(TCreateBitmap v);
  // The platform's three-dimensional look of fixed cells and of the border.
  bool Ctl3D = true;
  bool ShowVokHint = false;
  bool ShowVokLigne = false;

  int32_t ColWidths(int32_t Index) const;
  void DefinirLargeurColonne(int32_t Index, int32_t Largeur);
  int32_t RowHeights(int32_t Index) const;
  void DefinirHauteurLigne(int32_t Index, int32_t Hauteur);
  bool TabStops(int32_t Index) const;
  const TEtendues& Largeurs() const { return colWidths_; }
  const TEtendues& Hauteurs() const { return rowHeights_; }

  int32_t VisibleColCount() const;
  int32_t VisibleRowCount() const;
  TListCoord TopLeft() const { return topLeft_; }
  int32_t TopRow() const { return topLeft_.Y; }
  int32_t LeftCol() const { return topLeft_.X; }
  void SetTopRow(int32_t v);
  void SetLeftCol(int32_t v);
  TListCoord Courante() const { return current_; }
  TListCoord Ancre() const { return anchor_; }
  // Moves the current cell (see DeplacerCourante).
  void DefinirCourante(int32_t Col, int32_t Row);
  int32_t DecalagePixels() const { return pixelOffset_; }

  // The client area: the control less its border (2 pixels a side when single) and the scroll bars
  // shown.
  TRect ClientRect() const override;
  const TEtatBarre& BarreVerticale() const { return barreV_; }
  const TEtatBarre& BarreHorizontale() const { return barreH_; }

  // ---- model and layout ----
  // Top-left, current cell and anchor to (FixedCols, FixedRows); the quick-search buffer emptied.
  void InitialiserPosition();
  // Scrolls so that the first selected row is visible, unless a selected row already is.
  void MontrerSelection();
  TAxeListe AxeColonnes() const;
  TAxeListe AxeLignes() const;
  // The largest top-left: the top-left always lies between the fixed counts and it.
  TListCoord HautGaucheMaximal() const;
  // Raises SurAfficherInfos and asks for a repaint of the whole list (hiding the ghost first).
  void Invalidate() override;

  // ---- selection and cells ----
  void SelectionnerLigne(TListCoord Cellule);
  void BasculerLigne(TListCoord Cellule);
  void EtendreSelection(TListCoord Cellule);
  void ViderSelection();
  int32_t NombreSelectionnes() const { return static_cast<int32_t>(selection_.Nombre); }
  // The Indice-th selected data row number in ascending order (1-based); 0 outside 1..the count.
  int32_t LigneSelectionnee(int32_t Indice) const;
  bool EstSelectionnee(int32_t LigneDonnees) const;
  const TypeEnsembleMemoire& Selection() const { return selection_; }
  // The cell's rectangle in client coordinates; empty when it is not visible or outside the counts.
  TRect RectangleCellule(int32_t Col, int32_t Row) const;
  // The cell under a client point; (-1, -1) outside any cell.
  TListCoord CelluleAuPoint(int X, int Y) const;

  // ---- scrolling ----
  // A scroll-bar action on one bar (the window's scroll message).
  void Defiler(TScrollBarKind Barre, TCodeDefilement Code, int Position = 0);
  bool MouseWheel(uint8_t Shift, int Delta, TPoint P) override;

  // ---- painting ----
  void Paint(TCanvas& C) override;
  // The canvas cells are drawn on while the list paints (origin at the client area's top-left);
  // a recording canvas for measurements otherwise.
  TCanvas& Canvas();
  // Paints the grid on a canvas whose origin is the client area's top-left, within Zone (client
  // coordinates).
  void PeindreGrille(TCanvas& C, const TRect& Zone);
  // The creation-row pictures (loaded once, when CreateBitmap asks for them).
  const std::vector<TBitmap>& ImagesCreation() const { return imagesCreation_; }
  // The creation row's picture of the owner's choice (cbCustom).
  TBitmap ImagePersonnalisee;

  // ---- keyboard and mouse ----
  void KeyDown(int& Touche, uint8_t Shift) override;
  void KeyPress(char& Caractere) override;
  uint32_t CodesDialogue() const override;
  void MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void MouseMove(uint8_t Shift, int X, int Y) override;
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void DoEnter() override;
  void DoExit() override;
  // The shift state of the last key or mouse event.
  uint8_t DernierShift() const { return dernierShift_; }
  // The cursor the list shows at a client point: the split cursors over the sizing zones.
  int CurseurAuPoint(int X, int Y) const;
  // The quick-search buffer.
  const std::string& Tampon() const { return tampon_; }
  // The pending gesture: 0 none, 2 editing, 4 delete gesture, 64 move gesture.
  int32_t GestePendant() const { return geste_; }
  bool LigneGlissee() const { return ligneGlissee_; }
  TListTimer* Minuterie() const { return minuterie_; }
  // The grid state: 0 none, 1 selecting, 2 sizing a row, 3 sizing a column, 4 moving a row,
  // 5 moving a column.
  int32_t EtatGrille() const { return etat_; }
  // The exclusive-or lines drawn while sizing or moving and not yet erased (their positions).
  const std::vector<int32_t>& LignesXor() const { return lignesXor_; }

  // ---- events ----
  TNotifyEvent OnColWidthsChanged;
  TTailleColonneEvent SurTailleColonneChangee;
  TNotifyEvent OnRowHeightsChanged;
  TNotifyEvent SurAfficherInfos;
  TRequeteEvent SurRequeteCreation, SurRequeteModification, SurRequeteSuppression, SurRequeteDeplacement,
      SurRequeteSelection;
  TCreationEvent SurCreation;
  TNotifyEvent SurModification;
  TNotifyEvent SurSuppression;
  TMouseEvent SurDeplacement;
  TNotifyEvent SurSauverPointeurs;
  TNotifyEvent SurRestaurerPointeurs;
  TRequeteEvent SurAccederAuPremier;
  TRequeteEvent SurAvancer;
  TInfoFantomeEvent SurAccederInfoFantome;
  TCouleursFantomeEvent SurAccederCouleursFantome;
  TParseurEvent SurParseur;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  // ---- the overridable operations ----
  virtual void DessinerCellule(int32_t Col, int32_t Row, TListVokDrawState State, TRect Rect) = 0;
  virtual bool PeutSelectionnerCellule(int32_t Col, int32_t Row);
  virtual bool EditionPossible();
  virtual void NombreLignesChange() {}
  virtual bool Creation();
  virtual void Modification();
  virtual void Suppression();
  virtual void Deplacement(TMouseButton Bouton, uint8_t Shift, int X, int Y);
  virtual bool RequeteSuppression(TListCoord Cellule);
  virtual bool RequeteDeplacement(TListCoord Cellule);
  virtual bool RequeteSelection(TListCoord Cellule);
  virtual bool RequeteCreation(TListCoord Cellule);
  virtual bool RequeteModification(TListCoord Cellule);
  virtual void AvantChangementHautGauche(TListCoord Ancien, TListCoord Nouveau) { (void)Ancien, (void)Nouveau; }
  virtual void ColonneDeplacee(int32_t De, int32_t A) { (void)De, (void)A; }
  virtual void LigneDeplacee(int32_t De, int32_t A) { (void)De, (void)A; }
  virtual void TailleChangee(int32_t AncienNombreColonnes, int32_t AncienNombreLignes) {
    (void)AncienNombreColonnes, (void)AncienNombreLignes;
  }
  virtual void HautGaucheChange() {}
  virtual void DefilementTemporise();
  virtual void LargeursColonnesChangees();
  virtual void HauteursLignesChangees();
  // The creation and modification cycles: here, without columns, the editing state on the cell.
  virtual void CycleCreation(TListCoord Cellule);
  virtual void CycleModification(TListCoord Cellule);
  // A column sized by the user: raises SurTailleColonneChangee with the grid column.
  virtual void TailleColonneChangee(int32_t Index);
  // The right button pressed on a cell (the header hints of the named-column list).
  virtual void BoutonDroitEnfonce(TListCoord Cellule, int X, int Y) { (void)Cellule, (void)X, (void)Y; }

  // The editing state: the pending gesture is editing, goRangeSelect off and goEditing on; and back.
  void EntrerEtatEdition();
  void SortirEtatEdition();
  // Set while an edit routine runs.
  void DefinirEditionEnCours(bool Valeur) { editionEnCours_ = Valeur; }
  bool BulleAffichee() const { return bulleAffichee_; }
  void DefinirBulleAffichee(bool Valeur) { bulleAffichee_ = Valeur; }
  void DefinirGeste(int32_t Geste) { geste_ = Geste; }

  // ---- the ghost ----
  // Creates the ghost for a drag: caption "Sélection", red for the delete gesture and green
  // otherwise, white text, no frame, the list's default cell size, the list canvas's font, brush
  // and pen.
  TFantome& PreparerFantomeGlisser();
  // Creates the ghost as a hint balloon: framed and sized to its text, the list canvas's brush and
  // pen, Arial black on pale yellow (0xE1FFFF).
  TFantome& PreparerFantomeBulle();
  // Hides the ghost this list shows: the mouse capture is released, the hints come back, and a
  // row being dragged is dropped without any action.
  void CacherFantome();

  // Moves the top-left and repaints (see the notes in the source).
  void DeplacerHautGauche(TListCoord Nouveau);
  // Brings the cell into view.
  void RendreVisible(TListCoord Cellule);
  // Moves the current cell; the anchor follows unless Shift holds with goRangeSelect.
  void DeplacerCourante(int32_t Col, int32_t Row, bool Deplacer, bool Montrer);
  // The selection notice: SurSelection then SurAfficherInfos.
  virtual void NotifierSelection();
  void RepeindreLigne(int32_t Row);
  // The selection becomes these data rows (ascending, without duplicates).
  void RemplacerSelection(const std::vector<uint32_t>& Lignes);
  // The list gets the focus when it can; true when it has it.
  bool PrendreFocus();
  // The form or frame owning the list (found at creation).
  TComponent* FicheProprietaire() const { return ficheProprietaire_; }
  bool EditionEnCours() const { return editionEnCours_; }
  bool EnEdition() const { return geste_ == 2; }
  void BoundsChanged() override;

 private:
  friend class TListTimer;
  // Layout.
  TAxeListe CalculerAxe(bool Colonnes) const;
  int32_t Taille(bool Colonnes, int32_t Index) const;
  int32_t MaximumAxe(const TAxeListe& A, bool Colonnes) const;
  // Size changes of the grid, keeping the extents in step.
  void ChangerTaille(int32_t NouvellesColonnes, int32_t NouvellesLignes);
  void RamenerDansLesLimites();
  void MettreAJourBarres();
  void MettreAJourPositionsBarres();
  int PositionBarre(int32_t Valeur, int32_t Fixes, int32_t Maximum) const;
  void ChargerImagesCreation();
  // Painting.
  void PeindreRegion(TCanvas& C, const TRect& Zone, int32_t Col0, int32_t Col1, int32_t Row0, int32_t Row1, int X0,
                     int Y0, int XFin, int YFin, TColor Couleur, bool Fixe);
  void PeindreLignes(TCanvas& C, int32_t Col0, int32_t Col1, int32_t Row0, int32_t Row1, int X0, int Y0, int XFin,
                     int YFin, TColor Couleur, bool Verticales, bool Horizontales);
  // Keyboard and mouse.
  void NaviguerVers(int32_t Ligne);
  void FinNavigation(int32_t Col, int32_t Row);
  void RechercheRapide(char Caractere);
  bool ZoneTaille(int X, int Y, bool& Colonne, int32_t& Index, int& Bord) const;
  void DemarrerSelection(int X, int Y);
  void TerminerMouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y);
  void ArmerGeste(int32_t Geste, uint32_t DelaiMs, int X, int Y, TListCoord Cellule);
  void LibererMinuterie();
  void DemarrerGeste();
  void AfficherFantomeGeste(TListCoord Cellule, TPoint Client);
  void SuivreGeste(int X, int Y);
  void ColorerFantome(TPoint Client);
  void DessinerLigneXor(int Position);
  void FinGlisser(TMouseButton Bouton, uint8_t Shift, int X, int Y);
  void MinuterieDefilement(TComponent* Sender);

  TListCoord anchor_{1, 1}, current_{1, 1};
  TEtendues colWidths_, rowHeights_;
  std::vector<bool> tabStops_;
  TListCoord topLeft_{1, 1};
  int32_t etat_ = 0;         // grid state
  int32_t indexTaille_ = 0;  // the column or row being sized
  int32_t positionTaille_ = 0, decalageTaille_ = 0;
  int32_t origineDeplacement_ = 0, positionDeplacement_ = 0;
  std::vector<int32_t> lignesXor_;  // positions of the exclusive-or lines drawn and not yet erased
  int32_t pixelOffset_ = 0;
  std::vector<TBitmap> imagesCreation_;
  bool imagesIndicateurs_ = false, imagePlus_ = false;
  TypeEnsembleMemoire selection_;
  std::string tampon_;
  int64_t heureTampon_ = 0;
  int32_t geste_ = 0;
  bool ligneGlissee_ = false, editionEnCours_ = false, bulleAffichee_ = false;
  TListTimer* minuterie_ = nullptr;
  TTimer* minuterieDefilement_ = nullptr;
  TComponent* ficheProprietaire_ = nullptr;
  TListCoord celluleFantome_{-1, -1};
  TPoint sourisGeste_;
  uint8_t dernierShift_ = 0;
  TListTimer* minuterieFinie_ = nullptr;  // a gesture timer stopped from its own event, freed later
  bool conseilsSuspendus_ = true;         // the application's hints before a gesture suspended them
  bool fantomeAMoi_ = false;              // the ghost shown was prepared by this list

  TListBorderStyle borderStyle_ = TListBorderStyle::bsSingle;
  int32_t colCount_ = 5, rowCount_ = 5;
  int32_t defaultColWidth_ = 64, defaultRowHeight_ = 24, defaultMinColWidth_ = 5;
  bool defaultDrawing_ = true;
  TColor fixedColor_ = Couleurs::clBtnFace;
  int32_t fixedCols_ = 1, rightFixedCols_ = 0, fixedRows_ = 1;
  int32_t lineWidth_ = 1;
  TListOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect | goThumbTracking;
  TListScrollBars scrollBars_ = TListScrollBars::ssBoth;
  bool editable_ = true;
  TColor createColor_ = 0xFFFF80;
  TVokOptions vokOptions_ = AvecMultiSelec;
  TCreateBitmap createBitmap_ = TCreateBitmap::cbIndicators;
  TEtatBarre barreV_, barreH_;
  TCanvas* canvasPeinture_ = nullptr;
  TCanvasEnregistreur mesure_;
};

// The published list: its virtual operations raise events.
class TVokDrawList : public TVokCustomList {
 public:
  explicit TVokDrawList(TComponent* Owner) : TVokCustomList(Owner) {}

  // RowCount = Nombre + FixedRows (a negative count counts as 0); raises the row-count change;
  // Ligne other than 0 makes data row Ligne the top row (held to the largest top row); Mode 2
  // then brings the selection into view.
  void DefinirNombreLignes(int32_t Nombre, int32_t Mode = 0, int32_t Ligne = 0);

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnRowCountChanged;
  TPreTopLeftEvent OnPreTopLeftChanged;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;
  TNotifyEvent OnTopLeftChanged;
  TNotifyEvent SurSelection;

 protected:
  void DessinerCellule(int32_t Col, int32_t Row, TListVokDrawState State, TRect Rect) override;
  bool PeutSelectionnerCellule(int32_t Col, int32_t Row) override;
  void NombreLignesChange() override;
  void AvantChangementHautGauche(TListCoord Ancien, TListCoord Nouveau) override;
  void ColonneDeplacee(int32_t De, int32_t A) override;
  void LigneDeplacee(int32_t De, int32_t A) override;
  void HautGaucheChange() override;
  void NotifierSelection() override;
};

// ---------------------------------------------------------------------------------------------
// The named-column list: each column is declared once with a name, a width, a title (its header
// hint), three drawing routines (header cells, the creation row, data cells) and an optional edit
// routine. The list keeps two orders of its columns, the declared positions and the displayed
// order (the visible columns in the relative order of their declared positions), and rebuilds its
// grid columns from them: the column displayed at position p is grid column p - 1. A click on the
// creation row or a double click on a row runs a cycle that calls the columns' edit routines one
// after the other; an edit routine usually opens an entry field over the cell (Saisies).

class TVokStringList;
using TDessinColonne =
    std::function<void(TVokStringList* Liste, int32_t Col, int32_t Row, TListVokDrawState State, TRect Rect)>;
// Continuer false ends the cycle; ToucheFinale is the key that ended the entry.
using TEditionColonne = std::function<void(TVokStringList* Liste, int32_t Col, int32_t Row, bool& Continuer,
                                           TypeToucheDeValidation& ToucheFinale)>;
// The offset (columns, rows) to the next cell of a cycle.
using TContinuerEditionEvent = std::function<void(TComponent* Sender, TListCoord Cellule,
                                                  TypeToucheDeValidation ToucheFinale, TListCoord& OffsetSuivant)>;
using TVokHintEvent = std::function<std::string(TComponent* Sender, int32_t Col, int32_t Row)>;

struct TColonneListe {
  int32_t Numero = 0;  // rank of declaration, 1-based
  int32_t Largeur = 0;
  std::string Nom;  // at most 30 characters
  bool Visible = true;
  bool Editable = true;
  TDessinColonne DessinEntete, DessinCreation, DessinDonnee;
  TEditionColonne Edition;
  std::string Titre;  // at most 255 characters
};

namespace vclliste {
// The offsets of the default rules: the creation rule (+1 column after Enter) and the modification
// rule (by the final key).
TListCoord RegleCreation(TypeToucheDeValidation Touche);
TListCoord RegleModification(TypeToucheDeValidation Touche);
}  // namespace vclliste

class TVokStringList : public TVokDrawList {
 public:
  explicit TVokStringList(TComponent* Owner);
  ~TVokStringList() override;

  // Declares a column and answers its number. An empty or duplicate name shows a warning and the
  // column is added all the same. RightFixedCols becomes 0 and the grid is rebuilt.
  int32_t AjouterColonne(const std::string& Nom, int32_t Largeur, TDessinColonne DessinEntete,
                         TDessinColonne DessinCreation, TDessinColonne DessinDonnee, TEditionColonne Edition,
                         const std::string& Titre);
  // Moves a column to a declared position (0: nothing); a displayed column moves in the displayed
  // order as well.
  void DeplacerColonne(int32_t Numero, int32_t Position);
  // Shows or hides a column, and rebuilds.
  void DefinirVisibilite(int32_t Numero, bool Visible);
  void DefinirEditable(int32_t Numero, bool Editable);
  // ColCount = the displayed columns, each grid column at its descriptor's width.
  void Reconstruire();
  void SupprimerColonnes();

  // ---- look-ups ----
  int32_t NombreColonnes() const { return static_cast<int32_t>(colonnes_.size()); }
  int32_t NombreAffichees() const;
  const TColonneListe* Colonne(int32_t Numero) const;
  // -1 when no column has that name.
  int32_t NumeroColonne(const std::string& Nom) const;
  // Empty outside 1..the count.
  std::string NomColonne(int32_t Numero) const;
  // The name of the column displayed at a position (1-based); empty when none.
  std::string NomColonneAffichee(int32_t Position) const;
  // The column number at a displayed or declared position; -1 when none.
  int32_t NumeroAffichee(int32_t Position) const;
  int32_t NumeroDeclare(int32_t Position) const;
  // The declared position of a column, 0 for an unknown number.
  int32_t PositionDeclaree(int32_t Numero) const;
  // The displayed position of a column, 0 when it is not displayed.
  int32_t PositionAffichee(int32_t Numero) const;
  // The width of a named column (the first grid column's width for an unknown name), of a column
  // number (beyond the count: the grid column's width).
  int32_t LargeurColonne(const std::string& Nom) const;
  int32_t LargeurColonne(int32_t Numero) const;
  // Whether the column displayed at a position has a non-blank title.
  bool TitreAffiche(int32_t Position) const;
  // The name of the column at a horizontal pixel; empty when none.
  std::string ColonneAuPixel(int X) const;
  // The left pixel of a named column.
  int32_t GaucheColonne(const std::string& Nom) const;
  // Every column width and line, plus 1, plus 4 with a single border, plus a vertical scroll bar
  // when the rows are higher than the list.
  int32_t LargeurTotale() const;

  // Cursor shown over the header cells that have a hint.
  int HintCursor = 2;
  TVokHintEvent OnVokHint;
  TContinuerEditionEvent SurContinuerEdition;
  TNotifyEvent SurTerminerEdition;
  TCreationEvent SurTerminerCreation;
  // The cell an edit routine of the modification cycle is editing; (-1, -1) otherwise.
  TListCoord CelluleEditee() const { return celluleEditee_; }

  void MouseMove(uint8_t Shift, int X, int Y) override;
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void MouseLeave() override;

 protected:
  void DessinerCellule(int32_t Col, int32_t Row, TListVokDrawState State, TRect Rect) override;
  void CycleCreation(TListCoord Cellule) override;
  void CycleModification(TListCoord Cellule) override;
  void LargeursColonnesChangees() override;
  void TailleColonneChangee(int32_t Index) override { (void)Index; }
  void ColonneDeplacee(int32_t De, int32_t A) override;
  void BoutonDroitEnfonce(TListCoord Cellule, int X, int Y) override;
  // The offset to the next cell: SurContinuerEdition, else the rule.
  TListCoord Offset(TListCoord Cellule, TypeToucheDeValidation Touche, bool Creation);

 private:
  TColonneListe* ColonneAffichee(int32_t Position) const;
  bool Editable(const TColonneListe* C) const { return C && C->Visible && C->Edition && C->Editable; }
  // Runs the edit routine of a column with the list's edit flags set, restored even when it raises.
  void Editer(TColonneListe& C, TListCoord Cellule, bool& Continuer, TypeToucheDeValidation& Touche);
  void ReconstruireAffichage();
  // The header hint of a cell: empty when it has none.
  std::string TexteBulle(TListCoord Cellule);
  bool CelluleEntete(TListCoord Cellule) const;
  void MontrerBulle(TListCoord Cellule, const std::string& Texte);
  void CacherBulle();

  std::vector<TColonneListe*> colonnes_;  // declaration order
  TListe* positions_ = nullptr;           // declared-position order
  TListe* affichage_ = nullptr;           // displayed order
  std::vector<int32_t> ordreEdition_;
  bool reconstruction_ = false;
  TListCoord celluleEditee_{-1, -1};
  TListCoord celluleBulle_{-1, -1};
  int curseurSauve_ = 0;
  bool curseurBulle_ = false;
};
