// The application's window for a long text result: a text, an optional gauge, an optional trace
// and a button to interrupt the work or, once it is finished, to close the window. Working (the
// button "  Interrompre" when interruptible) -> finished (TerminerTraitement: button "Fermer",
// waiting for the press) -> closed and freed by the caller. Not modal: while shown it disables the
// other windows. Main thread only.
#pragma once

#include <string>

#include "platform/gui/ControlesStandard.h"
#include "platform/ui/FenetreAttente.h"

class TFichePatience : public TFenetreAttente {
 public:
  explicit TFichePatience(TComponent* Proprietaire);

  TPanel* PanelPere;
  TPanel* PanelTexte;
  TPanel* PanelTrace;
  TMemo* Memo1;
  TPanel* PanelGauge;
  TProgressBar* ProgressBar;
  TPanel* PanelPourcent;
  TPanel* PanelBouton;
  TBitBtn* BtnInterrompre;

  bool Interruption = false;  // set by the button
  bool Fin = false;           // the work is finished: the button closes
  bool TraceEnTete = false;   // new trace lines go first
  int JaugeMinimum = 0;
  int JaugeMaximum = 100;

  // Adds a line (the caller supplies the line breaks) after the trace, or before it with
  // TraceEnTete, and repaints the memo at once.
  void AjouterTrace(const std::string& Ligne);
  // The end: "Fermer" enabled, "Fin de traitement" added to the trace, then the loop runs until the
  // button is pressed, or a stop is requested. The modal driver is told first, like any form
  // entering a loop of its own; a result it gives counts as the press.
  void TerminerTraitement();
  void InterrompreClick(TComponent* Sender);
  // Client height: 45 with the button enabled + 44 with the gauge + 300 with the trace + 51; client
  // width: the larger of the text's width in PanelTexte's font + 2 x PanelPere's border + 10, and
  // 590 with the trace (250 without).
  void AjusterTaille();
  // The line written when the window is shown (its text by default).
  void SetLigneJournal(std::string Ligne) { ligneJournal_ = std::move(Ligne); }
  // The end waits for the press of the button.
  bool AttendReponse() const override { return !Interruption && ModalResult() == mrNone; }

 protected:
  std::string TexteJournal() const override { return ligneJournal_.empty() ? PanelTexte->Caption() : ligneJournal_; }
  void VisibleChanged() override;

 private:
  std::string ligneJournal_;
};

namespace EcranPatience {

// A new window owned by the application, not shown yet.
TFichePatience* CreerFichePatience(const std::string& Titre, const std::string& Texte, bool AvecJauge,
                                   bool Interruptible, bool AvecTrace, bool TraceEnTete);

}  // namespace EcranPatience
