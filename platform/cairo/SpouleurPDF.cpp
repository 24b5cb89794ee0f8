#include "platform/cairo/SpouleurPDF.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "core/values/ChaineUnicode.h"
#include "platform/cairo/CanvasCairo.h"
#include "platform/gui/Papiers.h"
#include "platform/gui/Printers.h"

namespace {

constexpr size_t kLongueurTitre = 120;

int EnPoints(double Millimetres) {
  return static_cast<int>(std::lround(Millimetres * TSpouleurPDF::kPointsParPouce / 25.4));
}

// Creates Chemin only when no file has that name; false when it exists or cannot be created.
bool Reserver(const std::string& Chemin, bool& Existe) {
  const int fd = ::open(Chemin.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  Existe = fd < 0 && errno == EEXIST;
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace

// A context on one PDF printer: an information context answers the metrics of its device mode; a
// device context writes one document at a time into the printer's folder.
class TContextePDF : public TContexteImprimante {
 public:
  TContextePDF(TSpouleurPDF& Spouleur, const std::string& Dossier, const TDeviceMode& Mode, bool Information)
      : spouleur_(Spouleur), dossier_(Dossier), metriques_(TSpouleurPDF::Metriques(Mode)), information_(Information) {}
  ~TContextePDF() override {
    if (document_) AbandonnerDocument();
  }

  bool Information() const override { return information_; }
  TDeviceMetrics Metriques() const override { return metriques_; }

  bool DebuterDocument(const std::string& Titre) override {
    if (information_ || document_) return false;
    const std::string nom = TSpouleurPDF::NomDeFichier(Titre);
    const std::string base = nom.substr(0, nom.size() - 4);
    for (int n = 1; n < 10000; ++n) {
      const std::string essai = (std::filesystem::path(dossier_) /
                                 (n == 1 ? nom : base + " (" + std::to_string(n) + ").pdf")).string();
      bool existe = false;
      if (Reserver(essai, existe)) {
        chemin_ = essai;
        break;
      }
      if (!existe) return false;
    }
    if (chemin_.empty()) return false;
    document_ = TCanvasCairo::DocumentPDF(chemin_, metriques_.PhysicalWidth, metriques_.PhysicalHeight,
                                          TSpouleurPDF::kPointsParPouce);
    if (!document_) {
      std::filesystem::remove(chemin_);
      chemin_.clear();
      return false;
    }
    pages_ = 0;
    pageOuverte_ = false;
    return true;
  }

  TCanvas* DebuterPage() override {
    if (!document_ || pageOuverte_) return nullptr;
    if (pages_ > 0 && !document_->PageSuivante(metriques_.PhysicalWidth, metriques_.PhysicalHeight)) return nullptr;
    pageOuverte_ = true;
    return document_.get();
  }

  bool TerminerPage() override {
    if (!pageOuverte_) return false;
    pageOuverte_ = false;
    ++pages_;
    return true;
  }

  bool TerminerDocument() override {
    if (!document_) return false;
    if (pageOuverte_) TerminerPage();
    if (pages_ == 0) return AbandonnerDocument();
    const bool ecrit = document_->Terminer();
    document_.reset();
    if (!ecrit) {
      std::filesystem::remove(chemin_);
      return false;
    }
    spouleur_.documents_.push_back(chemin_);
    return true;
  }

  bool AbandonnerDocument() override {
    if (!document_) return false;
    document_->Terminer();
    document_.reset();
    std::error_code e;
    std::filesystem::remove(chemin_, e);
    pageOuverte_ = false;
    return true;
  }

 private:
  TSpouleurPDF& spouleur_;
  std::string dossier_;
  TDeviceMetrics metriques_;
  bool information_;
  std::unique_ptr<TCanvasCairo> document_;
  std::string chemin_;
  int pages_ = 0;
  bool pageOuverte_ = false;
};

TDeviceMode TSpouleurPDF::ModeInitial() {
  TDeviceMode m;
  m.Fields = TDeviceMode::kOrientation | TDeviceMode::kPaperSize | TDeviceMode::kPaperLength |
             TDeviceMode::kPaperWidth | TDeviceMode::kCopies | TDeviceMode::kDefaultSource |
             TDeviceMode::kPrintQuality | TDeviceMode::kColor | TDeviceMode::kDuplex | TDeviceMode::kCollate;
  m.Orientation = TDeviceMode::kPortrait;
  m.PaperSize = 9;  // A4
  m.PaperLength = 2970;
  m.PaperWidth = 2100;
  m.Copies = 1;
  m.DefaultSource = 7;
  m.PrintQuality = kPointsParPouce;
  m.Color = 2;
  m.Duplex = 1;
  m.Collate = 0;
  return m;
}

TDeviceMetrics TSpouleurPDF::Metriques(const TDeviceMode& Mode) {
  Papiers::TDimensions feuille = *Papiers::Dimensions(9);
  if (Mode.Fields & TDeviceMode::kPaperSize)
    if (auto d = Papiers::Dimensions(Mode.PaperSize)) feuille = *d;
  const uint32_t cotes = TDeviceMode::kPaperLength | TDeviceMode::kPaperWidth;
  if ((Mode.Fields & cotes) == cotes && Mode.PaperLength > 0 && Mode.PaperWidth > 0)
    feuille = {Mode.PaperWidth / 10.0, Mode.PaperLength / 10.0};
  TDeviceMetrics m;
  m.DotsPerInchX = m.DotsPerInchY = kPointsParPouce;
  m.PhysicalWidth = EnPoints(feuille.Width);
  m.PhysicalHeight = EnPoints(feuille.Length);
  if ((Mode.Fields & TDeviceMode::kOrientation) && Mode.Orientation == TDeviceMode::kLandscape)
    std::swap(m.PhysicalWidth, m.PhysicalHeight);
  m.PrintableWidth = m.PhysicalWidth;
  m.PrintableHeight = m.PhysicalHeight;
  for (int32_t code = Papiers::kPremierCode; code <= Papiers::kDernierCode; ++code) m.PaperCodes.push_back(code);
  m.PaperCodes.push_back(Papiers::kCodePersonnalise);
  return m;
}

std::string TSpouleurPDF::NomDeFichier(const std::string& Titre) {
  std::string nom;
  for (unsigned char c : Titre)
    nom += (c < 0x20 || c == 0x7F || std::strchr("/\\:*?\"<>|", c)) ? '_' : static_cast<char>(c);
  const size_t debut = nom.find_first_not_of(" .");
  nom = debut == std::string::npos ? std::string() : nom.substr(debut, nom.find_last_not_of(" .") - debut + 1);
  if (nom.size() > kLongueurTitre) {
    nom.resize(kLongueurTitre);
    nom.erase(nom.find_last_not_of(" .") + 1);
  }
  if (nom.empty()) nom = "Document";
  return ChaineUnicode::VersUTF8(nom, 1252) + ".pdf";
}

bool TSpouleurPDF::Enregistrer(const std::string& Nom, const std::string& Dossier) {
  if (Nom.empty() || Trouver(Nom)) return false;
  imprimantes_.push_back({Nom, Dossier});
  return true;
}

const TSpouleurPDF::TImprimante* TSpouleurPDF::Trouver(const std::string& Nom) const {
  for (const auto& i : imprimantes_)
    if (i.Nom == Nom) return &i;
  return nullptr;
}

bool TSpouleurPDF::EnumererImprimantes(uint32_t, int Niveau, std::vector<TInfoImprimante>& Imprimantes) {
  Imprimantes.clear();
  for (const auto& i : imprimantes_) {
    TInfoImprimante info;
    info.Nom = i.Nom;
    if (Niveau == 5) info.Ports = "PDF:";
    Imprimantes.push_back(std::move(info));
  }
  return true;
}

uint32_t TSpouleurPDF::ImprimanteParDefaut(std::string& Nom) {
  Nom = imprimantes_.empty() ? std::string() : imprimantes_.front().Nom;
  return 0;
}

bool TSpouleurPDF::OuvrirImprimante(const std::string& Nom, uintptr_t& Poignee) {
  if (!Trouver(Nom)) return false;
  Poignee = suivante_++;
  ouvertes_[Poignee] = Nom;
  return true;
}

bool TSpouleurPDF::ModeParDefaut(uintptr_t Poignee, const std::string& Nom, TDeviceMode& Mode) {
  if (!ouvertes_.count(Poignee) || !Trouver(Nom)) return false;
  Mode = ModeInitial();
  return true;
}

std::unique_ptr<TContexteImprimante> TSpouleurPDF::CreerContexte(const std::string&, const std::string& Peripherique,
                                                                 const std::string&, const TDeviceMode* Mode,
                                                                 bool Information) {
  const TImprimante* i = Trouver(Peripherique);
  if (!i) return nullptr;
  return std::make_unique<TContextePDF>(*this, i->Dossier, Mode ? *Mode : ModeInitial(), Information);
}

TInstallationPDF::TInstallationPDF(const std::string& Nom, const std::string& Dossier) {
  spouleur_.Enregistrer(Nom, Dossier);
  avant_ = Spouleur::Installer(&spouleur_);
  Printers::Printer().Refresh();
}

TInstallationPDF::~TInstallationPDF() {
  Spouleur::Installer(avant_);
  if (!Printers::Printer().Printing()) Printers::Printer().Refresh();
}
