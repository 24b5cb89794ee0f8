// The standard preview window: a preview control over a report's pages, a tool bar for zoom and
// paging with the zoom and page fields, a status bar, the print-setup, print and close buttons. It
// keeps its size and position in the user's registry, apart for portrait and landscape reports.
// The thumbnail and search panel and the go-to-page, search, save and load buttons exist but are
// hidden when the window shows; their handlers work all the same.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gui/ControleEdition.h"
#include "platform/gui/ControlesApercu.h"
#include "platform/gui/Fiches.h"
#include "reports/RBPrinter.h"
#include "reports/RBSearchDlg.h"

enum class TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };

class TRBStandardPreview : public TForm {
 public:
  // The registry key of the placements, below the user's hive.
  static constexpr const char* kRegistryKey = "Software\\Norvane\\Band Report\\Windows\\";

  TRBStandardPreview(TComponent* Owner, TRBPrinter* Target);
  ~TRBStandardPreview() override;

  TComponent* Images;
  TRBPreview* RBPreview;
  TPanel* Splitter1;
  TPageControl* Tabs;
  TTabSheet* TabThumbs;
  TTabSheet* TabSearchResult;
  TPanel* Splitter2;
  TPanel* GroupBox1;
  TListBox* SearchResultBox;
  TLabel* SearchTextLabel;
  TPanel* Panel1;
  TToolBar* ToolBar1;
  TToolButton* ToolButton1;
  TToolButton* ZoomToWidth;
  TToolButton* Zoom100;
  TToolButton* ZoomFit;
  TToolButton* SpacerZoomPlus;
  TToolButton* FirstPage;
  TToolButton* PreviousPage;
  TToolButton* nextpage;
  TToolButton* LastPage;
  TToolButton* GotoPageButton;
  TToolButton* FindButton;
  TToolButton* SpacerZoomMoins;
  TToolButton* SaveReport;
  TToolButton* LoadReport;
  TPanel* Panel2;
  TDrawGrid* ThumbGrid;
  TStatusBar* StatusBar;
  TPanel* PaletteBouton;
  TPanel* PanelImprimer;
  TPanel* Panel3;
  TPanel* PanelBoutonFermer;
  TBitBtn* ExitButton;
  TPanel* PanelSeparation2;
  TPanel* Panel5;
  TBitBtn* Print;
  TToolBar* ToolBar3;
  TToolButton* PrintSetup;
  TPanel* PanelEspace4;
  TEdit* EditZoom;
  TEdit* EditPage;

  // The render target shown (none once it has gone).
  TRBPrinter* Target() const { return RBPreview->Target(); }
  bool Landscape = false;
  TProgressBar* ProgressBar;
  int32_t LastProgressShown = 0;
  int32_t ThumbTextHeight = 0, ThumbHeight = 0, ThumbWidth = 0, ThumbTop = 0, ThumbLeft = 0;
  bool ShowThumbnails = true;
  bool ShowSearch = true;
  TRBZoomState ResizeZoomMode = rbZoomToWidth;
  TListeFenetres DisabledWindows;
  int32_t PressedRow = 0;
  // The window's state and its normal (restored) rectangle on the screen.
  TWindowState WindowState = TWindowState::wsNormal;
  TRect NormalRect;
  void SetWindowState(TWindowState State);

  void GoToPage(int32_t N);
  void WritePageText();
  void UpdateButtons();
  void ShowZoom();

  // Handlers.
  void FormShow(TComponent* Sender);
  void FormHide(TComponent* Sender);
  void FormClose(TComponent* Sender, TCloseAction& Action);
  void FormResize(TComponent* Sender);
  void FormKeyDown(TComponent* Sender, int& Key, uint8_t Shift);
  void ZoomFitClick(TComponent* Sender);
  void Zoom100Click(TComponent* Sender);
  void ZoomToWidthClick(TComponent* Sender);
  void SpacerZoomMoinsClick(TComponent* Sender);
  void SpacerZoomPlusClick(TComponent* Sender);
  void EditZoomExit(TComponent* Sender);
  void EditPageEnterExit(TComponent* Sender);
  void FirstPageClick(TComponent* Sender);
  void PreviousPageClick(TComponent* Sender);
  void NextPageClick(TComponent* Sender);
  void LastPageClick(TComponent* Sender);
  void PageAvailable(TComponent* Sender, int32_t PageNum);
  void ProgressUpdate(TComponent* Sender, int32_t Progress);
  void PrintClick(TComponent* Sender);
  void PrintSetupClick(TComponent* Sender);
  void ExitButtonClick(TComponent* Sender);
  void FindButtonClick(TComponent* Sender);
  void SearchResultBoxClick(TComponent* Sender);
  void SaveReportClick(TComponent* Sender);
  // Asks the page in an input box whose default is the page shown.
  void GotoPageButtonClick(TComponent* Sender);
  // The answer of the go-to-page box: a number from 1 to the page count goes there, anything else
  // to page 1.
  void GotoPageAnswer(const std::string& Answer);
  void LoadReportClick(TComponent* Sender);
  void ThumbGridDrawCell(TComponent* Sender, int Col, int Row, const TRect& Rect, TCanvas& Canvas);
  void ThumbGridSelectCell(TComponent* Sender, int Col, int Row, bool& CanSelect);
  void ThumbGridMouseDown(TComponent* Sender, TMouseButton Button, uint8_t Shift, int X, int Y);
  void ThumbGridMouseUp(TComponent* Sender, TMouseButton Button, uint8_t Shift, int X, int Y);
  // Lays the thumbnail grid out: one column, one row per page.
  void LayoutThumbnails();

  // The registry key of this window's orientation.
  std::string PlacementKey() const;
  // The placement without a stored one: a share of the main window (the screen without one),
  // centred over it and kept on the desktop.
  TRect DefaultPlacement() const;

  // What closing does: the preview lets its target go, the target is told that its preview
  // closes, and pending messages are handled. Once only.
  void CloseSteps();

 protected:
  void BoundsChanged() override;

 private:
  void ReadPlacement();
  void WritePlacement();
  // Shows "text : Nombre entier attendu !" under the title "Saisie invalide" and focuses the field.
  void InputError(TEdit* Field);
  bool built_ = false;
  bool closed_ = false;
};

namespace RBPrev {

// The title of the last report previewed (or the last page file loaded).
const std::string& LastTitle();
// Whether the pages shown were loaded from a file.
bool PagesFromFile();
void SetPagesFromFile(bool Value);

}  // namespace RBPrev
