// Further standard controls of the platform, those a page-preview window is made of beside the choice
// controls: the tool bar and its buttons, the status bar with its panels, the page control with its
// tab sheets and the draw grid. Each keeps the state its users read and
// write, takes input as the platform delivers it (Saisie.h) and paints itself on demand.
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/ControlesChoix.h"
#include "platform/gui/ControlesStandard.h"

// A bar of tool buttons laid out from the left in their order.
class TToolBar : public TWinControl {
 public:
  explicit TToolBar(TComponent* Owner);
  void Paint(TCanvas& C) override;
};

enum class TToolButtonStyle : uint8_t { tbsButton, tbsCheck, tbsDivider, tbsSeparator };

// A button of a tool bar: a click (mouse released over it) runs OnClick; a check button stays down
// after its click until clicked again.
class TToolButton : public TGraphicControl {
 public:
  explicit TToolButton(TComponent* Owner);
  TToolButtonStyle Style = TToolButtonStyle::tbsButton;
  bool Down = false;
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void Click() override;
  void Paint(TCanvas& C) override;
};

struct TStatusPanel {
  std::string Text;
  int Width = 50;
};

// A bar at the bottom of a window showing texts in panels side by side.
class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* Owner);
  std::vector<TStatusPanel> Panels;
  void Paint(TCanvas& C) override;
};

class TPageControl;

// A page of a page control: its children show while it is the active page.
class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* Owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* P);
  void Paint(TCanvas& C) override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
};

// Pages behind tabs; one is active and shown at a time.
class TPageControl : public TWinControl {
 public:
  explicit TPageControl(TComponent* Owner);
  ~TPageControl() override;
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* Page);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int Index) const { return pages_.at(static_cast<size_t>(Index)); }
  void AdjustClientRect(TRect& R) const override;
  void Paint(TCanvas& C) override;

 private:
  friend class TTabSheet;
  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};

// A grid of cells drawn by its owner (OnDrawCell); a click selects the row under the pointer, after
// asking OnSelectCell.
class TDrawGrid : public TWinControl {
 public:
  explicit TDrawGrid(TComponent* Owner);
  int ColCount = 5;
  int RowCount() const { return rowCount_; }
  void SetRowCount(int Valeur);
  int DefaultColWidth = 64;
  int DefaultRowHeight = 24;
  int FixedCols = 0;
  int FixedRows = 0;
  // The selected row (0-based); SetRow asks OnSelectCell first.
  int Row() const { return row_; }
  void SetRow(int Valeur);
  // The row of the selection without asking anyone.
  void SetRowQuiet(int Valeur);
  TRect CellRect(int Col, int Row) const;
  std::function<void(TComponent* Sender, int Col, int Row, const TRect& Rect, TCanvas& Canvas)> OnDrawCell;
  std::function<void(TComponent* Sender, int Col, int Row, bool& CanSelect)> OnSelectCell;
  void MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void Paint(TCanvas& C) override;

 private:
  int rowCount_ = 5;
  int row_ = 0;
};
