// The platform's choice and container controls that dialog windows are made of: check box, radio
// button, group box, list box, combo box, string grid, scroll box, speed button and masked edit.
// Each keeps the state its users read and write, takes the input a user gives it through the input
// injection (Saisie.h) and paints itself on demand. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/ControleEdition.h"
#include "platform/gui/ControlesStandard.h"

// A box with a caption: a click, Space or its accelerator toggles Checked and raises OnClick.
class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* Owner);
  bool Checked() const { return checked_; }
  // A change raises OnClick, as the platform's check box does.
  void SetChecked(bool Valeur);
  void Click() override;
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void KeyDown(int& Touche, uint8_t Shift) override;
  bool DialogChar(char Caractere) override;
  void Paint(TCanvas& C) override;

 private:
  bool checked_ = false;
};

// A round button of a group: checking it unchecks the radio buttons beside it (same parent) and
// raises OnClick; a click, Space or its accelerator checks it.
class TRadioButton : public TWinControl {
 public:
  explicit TRadioButton(TComponent* Owner);
  bool Checked() const { return checked_; }
  void SetChecked(bool Valeur);
  void Click() override;
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void KeyDown(int& Touche, uint8_t Shift) override;
  bool DialogChar(char Caractere) override;
  void Paint(TCanvas& C) override;

 private:
  bool checked_ = false;
};

// A frame with its caption over the top edge; children are aligned inside it.
class TGroupBox : public TCustomControl {
 public:
  explicit TGroupBox(TComponent* Owner);
  void AdjustClientRect(TRect& R) const override;
  void Paint(TCanvas& C) override;
};

// A list of texts, one selected (ItemIndex, -1 for none). A click selects the item under the mouse
// and raises OnClick; the arrows, Home and End move the selection and raise it too.
class TListBox : public TWinControl {
 public:
  explicit TListBox(TComponent* Owner);
  static constexpr int kHauteurElement = 13;

  const std::vector<std::string>& Items() const { return items_; }
  // A new list drops the selection.
  void SetItems(std::vector<std::string> Elements);
  void Add(std::string Element);
  void Clear() { SetItems({}); }
  int Count() const { return static_cast<int>(items_.size()); }
  int ItemIndex() const { return itemIndex_; }
  // Held within -1 .. Count - 1 (outside: -1); raises nothing.
  void SetItemIndex(int Valeur);
  // The selected text, empty without a selection.
  std::string Selection() const { return itemIndex_ >= 0 ? items_[static_cast<size_t>(itemIndex_)] : std::string(); }
  int TopIndex = 0;

  void MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void KeyDown(int& Touche, uint8_t Shift) override;
  uint32_t CodesDialogue() const override { return DLGC_WANTARROWS; }
  void Paint(TCanvas& C) override;
  // The item at the client point, -1 for none.
  int ItemAtPos(TPoint P) const;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

// An edit field with a list of texts it offers: choosing an item (ItemIndex) puts its text in the
// field; the arrows choose the previous or next item.
class TComboBox : public TEdit {
 public:
  explicit TComboBox(TComponent* Owner);
  std::vector<std::string> Items;
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int Valeur);
  void KeyDown(int& Touche, uint8_t Shift) override;

 private:
  int itemIndex_ = -1;
};

// A grid of texts: ColCount x RowCount cells, the first FixedRows rows headings. A click selects a
// cell (Col, Row). With Editing, typing starts the entry of the selected cell (F2 too, keeping its
// text): Enter ends it, stores the text in the cell and raises OnSetEditText, Escape drops it.
class TStringGrid : public TWinControl {
 public:
  explicit TStringGrid(TComponent* Owner);
  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  // Cells beyond a smaller size are dropped; new ones are empty.
  void SetColCount(int Valeur);
  void SetRowCount(int Valeur);
  int FixedRows = 1;
  bool Editing = true;
  int DefaultColWidth = 64;
  int DefaultRowHeight = 24;

  // An empty text outside the grid.
  std::string Cells(int Col, int Row) const;
  // Ignored outside the grid.
  void SetCells(int Col, int Row, std::string Valeur);
  int Col() const { return col_; }
  int Row() const { return row_; }
  // Selects a cell (held in the grid, below the fixed rows); an entry in progress ends first.
  void Select(int Col, int Row);
  // The cell under the client point, false outside the cells.
  bool MouseToCell(TPoint P, int& Col, int& Row) const;

  bool EditorMode() const { return editing_; }
  const std::string& EditText() const { return buffer_; }
  // Ends the entry in progress: stores it and raises OnSetEditText (nothing without an entry).
  void EndEdit();
  std::function<void(TComponent* Sender, int Col, int Row, const std::string& Value)> OnSetEditText;

  void MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void KeyDown(int& Touche, uint8_t Shift) override;
  void KeyPress(char& Caractere) override;
  uint32_t CodesDialogue() const override;
  void Paint(TCanvas& C) override;

  static constexpr int VK_F2 = 113;

 private:
  int colCount_ = 5, rowCount_ = 5;
  std::vector<std::vector<std::string>> cells_;
  int col_ = 0, row_ = 1;
  bool editing_ = false;
  std::string buffer_;
};

// A scroll bar of a scroll box: its position in pixels (0 at the top or left).
struct TControlScrollBar {
  int Position = 0;
  bool Tracking = false;
};

// A container whose children scroll vertically: Range is the height they take, Position (that of
// VertScrollBar) the part scrolled away, held within 0 .. Range - client height; a change moves the
// children. A box that paints its own content reads and sets both bars' positions itself.
class TScrollBox : public TWinControl {
 public:
  explicit TScrollBox(TComponent* Owner);
  TControlScrollBar HorzScrollBar;
  TControlScrollBar VertScrollBar;
  TBorderStyle BorderStyle = TBorderStyle::bsSingle;
  int Range() const { return range_; }
  void SetRange(int Valeur);
  int Increment = 8;
  int Position() const { return VertScrollBar.Position; }
  void SetPosition(int Valeur);
  // Scrolls by Increment per notch (positive Delta: up).
  bool MouseWheel(uint8_t Shift, int Delta, TPoint P) override;
  void Paint(TCanvas& C) override;

 protected:
  // Every change of size, once the box has one, raises OnResize.
  void BoundsChanged() override;

 private:
  int range_ = 0;
};

// A flat, windowless button: a click raises OnClick (it never takes the focus).
class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* Owner);
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void Paint(TCanvas& C) override;
};

// An edit field whose typed characters follow a mask: each "9" of EditMask takes one digit; typed
// characters that are not digits, or past the mask's length, are refused. A text the program sets
// is kept as it is.
class TMaskEdit : public TEdit {
 public:
  explicit TMaskEdit(TComponent* Owner) : TEdit(Owner) {}
  std::string EditMask;
  void KeyPress(char& Caractere) override;
};
