// The print spooler and the printer device contexts of the windowing layer.
//
// What the system asks of a host's printing: enumerating the printers (the NT family lists local
// and connected printers by name; the older family lists local printers with their port lists),
// the default printer and the profile value that names it on the older family, opening a printer
// and reading its default device mode, and device contexts: an information context that answers
// the device's metrics, and a device context that also prints documents page by page, each page
// drawn on a canvas.
//
// A device mode (TDeviceMode) and a device's metrics (TDeviceMetrics) are the same records the
// report library's printer settings exchange with a driver.
//
// The service has no printers: the production spooler lists none and opens none. Tests install
// TSpouleurScripte, a spooler whose printers, default printer, profile and failures they script
// and whose device contexts record each page on a recording canvas; a spooler that writes
// documents somewhere (a file format) implements the same interface. Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/objects/Exceptions.h"
#include "platform/gui/Graphiques.h"

// The part of the platform's device-mode record that is exchanged with a printer driver. A field
// counts only when its bit is set in Fields.
struct TDeviceMode {
  static constexpr uint32_t kOrientation = 0x1;
  static constexpr uint32_t kPaperSize = 0x2;
  static constexpr uint32_t kPaperLength = 0x4;
  static constexpr uint32_t kPaperWidth = 0x8;
  static constexpr uint32_t kCopies = 0x100;
  static constexpr uint32_t kDefaultSource = 0x200;
  static constexpr uint32_t kPrintQuality = 0x400;
  static constexpr uint32_t kColor = 0x800;
  static constexpr uint32_t kDuplex = 0x1000;
  static constexpr uint32_t kCollate = 0x8000;

  static constexpr int16_t kPortrait = 1;
  static constexpr int16_t kLandscape = 2;

  uint32_t Fields = 0;
  int16_t Orientation = 0;  // 1 portrait, 2 landscape
  int16_t PaperSize = 0;
  int16_t PaperLength = 0;  // tenths of a millimetre
  int16_t PaperWidth = 0;
  int16_t Copies = 0;
  int16_t DefaultSource = 0;
  int16_t PrintQuality = 0;
  int16_t Color = 0;
  int16_t Duplex = 0;  // 1 simplex
  int16_t Collate = 0;

  bool operator==(const TDeviceMode&) const = default;
};

// What a printer reports of itself besides its device mode: logical dots per inch, the printable
// area in device pixels, the physical offset of the printable area and the physical sheet, in
// device units, and the paper codes its driver lists.
struct TDeviceMetrics {
  int32_t DotsPerInchX = 0;
  int32_t DotsPerInchY = 0;
  int32_t PrintableWidth = 0;
  int32_t PrintableHeight = 0;
  int32_t PhysicalOffsetX = 0;
  int32_t PhysicalOffsetY = 0;
  int32_t PhysicalWidth = 0;
  int32_t PhysicalHeight = 0;
  std::vector<int32_t> PaperCodes;
};

namespace Spouleur {

// Which printers an enumeration asks for.
inline constexpr uint32_t PRINTER_ENUM_DEFAULT = 0x1;
inline constexpr uint32_t PRINTER_ENUM_LOCAL = 0x2;
inline constexpr uint32_t PRINTER_ENUM_CONNECTIONS = 0x4;
// The platform's error codes the printer object tells apart.
inline constexpr uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr uint32_t ERROR_INVALID_NAME = 123;

}  // namespace Spouleur

// An unexpected failure of the spooler, with the platform's error code.
class EOSError : public Exception {
 public:
  explicit EOSError(uint32_t Code);
  uint32_t Code() const { return code_; }

 private:
  uint32_t code_;
};

// One printer as an enumeration gives it. Level 4 fills Nom (and Serveur for a connected
// printer); level 5 fills Nom and Ports, the printer's port list separated by commas ("LPT1:,
// FILE:").
struct TInfoImprimante {
  std::string Nom;
  std::string Serveur;
  std::string Ports;
  uint32_t Attributs = 0;
};

// A printer's device context. An information context answers metrics only; a device context also
// prints one document at a time: DebuterDocument, then for each page DebuterPage (which gives the
// page's canvas, valid until TerminerPage) and TerminerPage, then TerminerDocument or
// AbandonnerDocument. Each call answers false (DebuterPage nil) when the context refuses it: an
// information context, a page outside a document, a document inside another, a page inside a page.
class TContexteImprimante {
 public:
  virtual ~TContexteImprimante() = default;

  virtual bool Information() const = 0;
  // The device's capabilities (the page size in pixels, resolutions, paper codes).
  virtual TDeviceMetrics Metriques() const = 0;

  virtual bool DebuterDocument(const std::string& Titre) = 0;
  virtual TCanvas* DebuterPage() = 0;
  virtual bool TerminerPage() = 0;
  virtual bool TerminerDocument() = 0;
  virtual bool AbandonnerDocument() = 0;
};

// The spooler.
class TSpouleur {
 public:
  virtual ~TSpouleur() = default;

  // Whether the host is of the NT family (enumeration at level 4) or of the older one (level 5).
  virtual bool FamilleNT() const = 0;
  // Lists the printers Drapeaux asks for at Niveau (4 or 5) into Imprimantes; false, with the list
  // empty, when the spooler fails.
  [[nodiscard]] virtual bool EnumererImprimantes(uint32_t Drapeaux, int Niveau,
                                                 std::vector<TInfoImprimante>& Imprimantes) = 0;
  // The default printer: 0 with its name, 0 with an empty name when the spooler names none, or the
  // platform's error code (Spouleur::ERROR_INVALID_NAME, ...).
  [[nodiscard]] virtual uint32_t ImprimanteParDefaut(std::string& Nom) = 0;
  // A value of the platform's profile, empty when missing.
  virtual std::string LireProfil(std::string_view Section, std::string_view Cle) = 0;

  // Opens a printer by its device name; false when there is no such printer. Every handle opened
  // is closed with FermerImprimante.
  [[nodiscard]] virtual bool OuvrirImprimante(const std::string& Nom, uintptr_t& Poignee) = 0;
  virtual void FermerImprimante(uintptr_t Poignee) = 0;
  // The open printer's default device mode; false when the driver gives none.
  [[nodiscard]] virtual bool ModeParDefaut(uintptr_t Poignee, const std::string& Nom, TDeviceMode& Mode) = 0;

  // A context on a printer (driver, device and port, in the given device mode or the printer's
  // own without one): an information context or a device context. Nil on failure.
  virtual std::unique_ptr<TContexteImprimante> CreerContexte(const std::string& Pilote, const std::string& Peripherique,
                                                             const std::string& Port, const TDeviceMode* Mode,
                                                             bool Information) = 0;
};

namespace Spouleur {

// The spooler in use: the production one (no printers) unless another is installed.
TSpouleur& Actuel();
// Installs a spooler (nil: the production one again) and answers the former one. The caller keeps
// ownership and installs the former one back before freeing its own.
TSpouleur* Installer(TSpouleur* Nouveau);

}  // namespace Spouleur

// The spooler of a host without printers: the enumerations list none, no default printer is named,
// the profile is empty and nothing opens.
class TSpouleurSansImprimante : public TSpouleur {
 public:
  bool FamilleNT() const override { return true; }
  bool EnumererImprimantes(uint32_t, int, std::vector<TInfoImprimante>& Imprimantes) override;
  uint32_t ImprimanteParDefaut(std::string& Nom) override;
  std::string LireProfil(std::string_view, std::string_view) override { return {}; }
  bool OuvrirImprimante(const std::string&, uintptr_t&) override { return false; }
  void FermerImprimante(uintptr_t) override {}
  bool ModeParDefaut(uintptr_t, const std::string&, TDeviceMode&) override { return false; }
  std::unique_ptr<TContexteImprimante> CreerContexte(const std::string&, const std::string&, const std::string&,
                                                     const TDeviceMode*, bool) override {
    return nullptr;
  }
};

// A scripted printer: its name, port list and driver, the device mode its driver gives by default,
// its metrics.
struct TImprimanteScriptee {
  std::string Nom;
  std::string Ports;
  std::string Pilote;
  TDeviceMode Mode;
  TDeviceMetrics Metriques;
};

// A document printed on a scripted device context: its title, its pages (each page's recording
// canvas dump), and whether it was ended or aborted.
struct TDocumentScripte {
  std::string Titre;
  std::vector<std::string> Pages;
  bool Termine = false;
  bool Abandonne = false;
};

// The scripted spooler of tests.
class TSpouleurScripte : public TSpouleur {
 public:
  // The host family.
  bool NT = true;
  std::vector<TImprimanteScriptee> Imprimantes;
  // The default printer's name ("" names none) and the error the default-printer request answers.
  std::string ParDefaut;
  uint32_t ErreurParDefaut = 0;
  // Profile values by "section" and "key".
  std::map<std::pair<std::string, std::string>, std::string> Profil;
  // Failures to script.
  bool EchecEnumeration = false;
  bool EchecModeParDefaut = false;
  bool EchecContexte = false;

  // Every call, one line each: "Enumerer 6/4", "ParDefaut", "Ouvrir <name>", "Fermer <handle>",
  // "Mode <name>", "Contexte info|device <driver>/<device>/<port> mode|-", "Liberer contexte".
  std::vector<std::string> Journal;
  // The documents printed on its device contexts, in order.
  std::vector<TDocumentScripte> Documents;
  // Handles and contexts open now.
  int PoigneesOuvertes() const { return static_cast<int>(ouvertes_.size()); }
  int ContextesOuverts() const { return contextes_; }
  // The device mode the last context was created with (none: without one).
  std::optional<TDeviceMode> DernierMode;

  bool FamilleNT() const override { return NT; }
  bool EnumererImprimantes(uint32_t Drapeaux, int Niveau, std::vector<TInfoImprimante>& Liste) override;
  uint32_t ImprimanteParDefaut(std::string& Nom) override;
  std::string LireProfil(std::string_view Section, std::string_view Cle) override;
  bool OuvrirImprimante(const std::string& Nom, uintptr_t& Poignee) override;
  void FermerImprimante(uintptr_t Poignee) override;
  bool ModeParDefaut(uintptr_t Poignee, const std::string& Nom, TDeviceMode& Mode) override;
  std::unique_ptr<TContexteImprimante> CreerContexte(const std::string& Pilote, const std::string& Peripherique,
                                                     const std::string& Port, const TDeviceMode* Mode,
                                                     bool Information) override;

 private:
  friend class TContexteScripte;
  const TImprimanteScriptee* Trouver(const std::string& Nom) const;
  std::map<uintptr_t, std::string> ouvertes_;
  uintptr_t suivante_ = 0x100;
  int contextes_ = 0;
};
