// The system's printer object: the machine's printers, the selected printer with its device mode,
// and a device context to draw on through its canvas. It covers selection, device contexts and
// page metrics; nothing here starts a document or a page. One printer object exists, created at
// unit start and freed at unit end. It works on the spooler of the windowing layer (Spouleur.h):
// the service's has no printers. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "platform/gui/Spouleur.h"

class EVokPrinter : public Exception {
 public:
  using Exception::Exception;
};

// A printer the list names: its driver, device and port.
struct TVokPrinterDevice {
  std::string Driver;
  std::string Device;
  std::string Port;
};

// An entry of the printer list: the display name and the device.
struct TVokPrinterEntry {
  std::string Nom;
  TVokPrinterDevice Device;
};

class TVokPrinter;

// The printer's canvas: a recording canvas bound to the printer's context. Any drawing first binds
// it (the printer takes an information context) and then asks that the printer be printing.
class TVokPrinterCanvas : public TCanvasEnregistreur {
 public:
  explicit TVokPrinterCanvas(TVokPrinter& Printer) : printer_(Printer) {}
  // The printer takes an information context, which the canvas is bound to.
  void CreateHandle();
  // EVokPrinter unless the printer is printing.
  void Changing();
  void UpdateFont() {}
  // The context the canvas is bound to, nil when none.
  TContexteImprimante* Contexte() const { return contexte_; }
  void Lier(TContexteImprimante* Contexte) { contexte_ = Contexte; }

 protected:
  void DoFillRect(const TRect& R) override;
  void DoFrameRect(const TRect& R) override;
  void DoRectangle(const TRect& R) override;
  void DoEllipse(const TRect& R) override;
  void DoRoundRect(const TRect& R, int LargeurCoin, int HauteurCoin) override;
  void DoLine(TPoint De, TPoint A) override;
  void DoPixel(TPoint P, TColor Couleur) override;
  void DoTextOut(TPoint P, const std::string& Texte) override;
  void DoFocusRect(const TRect& R) override;
  void DoDraw(const TRect& R, const TBitmap& Image) override;
  void DoClip(const TRect* R) override;

 private:
  void Preparer();
  TVokPrinter& printer_;
  TContexteImprimante* contexte_ = nullptr;
};

class TVokPrinter {
 public:
  // Capability bits taken from a device mode's fields.
  enum : uint8_t { pcCopies = 1, pcOrientation = 2, pcCollation = 4 };
  // States: no context, an information context, a device context.
  enum : uint8_t { EtatAucun = 0, EtatInformation = 1, EtatPeripherique = 2 };

  TVokPrinter() = default;
  ~TVokPrinter();
  TVokPrinter(const TVokPrinter&) = delete;
  TVokPrinter& operator=(const TVokPrinter&) = delete;

  TVokPrinterCanvas& Canvas();
  // Moves to an information context (a device context stays) and answers it.
  TContexteImprimante& Handle();
  // The page in device pixels.
  int32_t LargeurPage();
  int32_t HauteurPage();
  // The device's pixels per inch across the page.
  int32_t PixelsParPouceX();
  // Whether the device mode's orientation is not portrait; EVokPrinter without a device mode.
  bool Paysage() const;
  // The printer index; the default printer is chosen first when none is.
  int32_t IndiceImprimante();
  // The printer list, built on first use (empty when the spooler fails).
  const std::vector<TVokPrinterEntry>& ListeImprimantes();
  // Selects a printer by device, driver and port, with a device mode of the caller's (which the
  // printer then owns) or none (the printer's defaults are read).
  void DefinirImprimante(const std::string& Peripherique, const std::string& Pilote, const std::string& Port,
                         std::unique_ptr<TDeviceMode> ModePeripherique);
  void ChoisirImprimanteParDefaut();
  // EVokPrinter unless printing; ends the page on the device context.
  void TerminerPage();
  // EVokPrinter unless printing; ends the document unless aborted; printing, aborted and the page
  // number cleared.
  void TerminerDocument();
  void FinDocument();
  void DefinirEtat(uint8_t Etat);
  // EVokPrinter when the printing flag differs from Attendu.
  void VerifierImpression(bool Attendu) const;

  uint8_t Etat() const { return etat_; }
  uint8_t Capacites() const { return capacites_; }
  bool Imprime() const { return imprime_; }
  bool Abandonne() const { return abandonne_; }
  int32_t NumeroPage() const { return numeroPage_; }
  std::string Titre;
  const TDeviceMode* ModePeripherique() const { return mode_.get(); }
  TContexteImprimante* Contexte() const { return contexte_.get(); }
  bool PoigneeOuverte() const { return poigneeOuverte_; }

 private:
  void ConstruireListe();
  void CapacitesDe(const TDeviceMode& Mode);
  void FermerPoignee();

  std::unique_ptr<TVokPrinterCanvas> canvas_;
  std::vector<std::string> polices_;
  int32_t numeroPage_ = 0;
  std::unique_ptr<std::vector<TVokPrinterEntry>> liste_;
  int32_t indice_ = -1;
  bool imprime_ = false;
  bool abandonne_ = false;
  uint8_t capacites_ = 0;
  uint8_t etat_ = EtatAucun;
  std::unique_ptr<TContexteImprimante> contexte_;
  std::unique_ptr<TDeviceMode> mode_;
  uintptr_t poignee_ = 0;
  bool poigneeOuverte_ = false;
};

namespace vclprint {

// The printer object; EVokPrinter outside the unit's life.
TVokPrinter& Printer();

void Initialiser();
void Finaliser();

}  // namespace vclprint
