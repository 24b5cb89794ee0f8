// A print spooler whose printers write PDF documents: each printer is registered with a name and a
// folder, and every document printed on it becomes one PDF file in that folder, named after the
// document's title. Nothing registers a PDF printer or installs this spooler by default; a program
// or a test that wants one does:
//
//   TSpouleurPDF pdf;
//   pdf.Enregistrer("PDF", "/some/folder");          // a printer named "PDF"
//   TSpouleur* avant = Spouleur::Installer(&pdf);   // printing now goes to it
//   ...                                             // print: the documents land in the folder
//   Spouleur::Installer(avant);                     // before pdf goes
//
// (then Printers::Printer().Refresh() for the shared printer object to see it), or, all of that in
// one object for as long as it lives: TInstallationPDF pdf("PDF", "/some/folder").
//
// Each printer has 600 dots per inch across and down, no unprintable margin (physical offsets 0),
// every named paper of the drivers (codes 1 to 68) and custom sheets (code 256, sized by the device
// mode's paper width and length). Its default device mode announces orientation, paper size, length
// and width, copies, default source, print quality, colour, duplex and collation: A4 portrait, one
// copy, automatic source (7), quality 600, colour (2), simplex (1), not collated. The sheet of a
// device mode is its paper width and length when it announces both (as a driver lets them override
// the paper code), else its paper code's, else A4; landscape exchanges the sides. Copies, source,
// duplex and collation have no effect on a file.
//
// Files: the title, its characters outside what a file name may hold ("/", "\", ":", "*", "?",
// quotes, "<", ">", "|", control characters) made "_", blanks and dots trimmed at both ends, at most
// 120 characters, "Document" when nothing is left, then ".pdf"; when that file exists, " (2)",
// " (3)", ... before ".pdf": an existing file is never overwritten. A document that is aborted, or
// that ends without a page, leaves no file; a document whose file cannot be written makes the
// spooler's calls answer false. Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Spouleur.h"

class TSpouleurPDF : public TSpouleur {
 public:
  static constexpr int kPointsParPouce = 600;

  // Adds a printer named Nom whose documents go to Dossier (which must exist when printing). False,
  // and nothing changes, when the name is empty or already taken.
  bool Enregistrer(const std::string& Nom, const std::string& Dossier);
  // The full paths of the documents written, in the order they were completed.
  const std::vector<std::string>& Documents() const { return documents_; }

  // The device mode a printer gives by default, and what a printer reports in a device mode.
  static TDeviceMode ModeInitial();
  static TDeviceMetrics Metriques(const TDeviceMode& Mode);
  // The file name (without the folder) a title gives before any number is added.
  static std::string NomDeFichier(const std::string& Titre);

  bool FamilleNT() const override { return true; }
  bool EnumererImprimantes(uint32_t Drapeaux, int Niveau, std::vector<TInfoImprimante>& Imprimantes) override;
  // The first printer registered is the default one.
  uint32_t ImprimanteParDefaut(std::string& Nom) override;
  std::string LireProfil(std::string_view, std::string_view) override { return {}; }
  bool OuvrirImprimante(const std::string& Nom, uintptr_t& Poignee) override;
  void FermerImprimante(uintptr_t Poignee) override { ouvertes_.erase(Poignee); }
  bool ModeParDefaut(uintptr_t Poignee, const std::string& Nom, TDeviceMode& Mode) override;
  std::unique_ptr<TContexteImprimante> CreerContexte(const std::string& Pilote, const std::string& Peripherique,
                                                     const std::string& Port, const TDeviceMode* Mode,
                                                     bool Information) override;

 private:
  friend class TContextePDF;
  struct TImprimante {
    std::string Nom;
    std::string Dossier;
  };
  const TImprimante* Trouver(const std::string& Nom) const;

  std::vector<TImprimante> imprimantes_;
  std::map<uintptr_t, std::string> ouvertes_;
  uintptr_t suivante_ = 1;
  std::vector<std::string> documents_;
};

// A PDF spooler with one printer, installed for as long as the object lives; the shared printer
// object is refreshed when it is installed and when it goes.
class TInstallationPDF {
 public:
  TInstallationPDF(const std::string& Nom, const std::string& Dossier);
  ~TInstallationPDF();
  TInstallationPDF(const TInstallationPDF&) = delete;
  TInstallationPDF& operator=(const TInstallationPDF&) = delete;
  TSpouleurPDF& Spouleur() { return spouleur_; }

 private:
  TSpouleurPDF spouleur_;
  TSpouleur* avant_;
};
