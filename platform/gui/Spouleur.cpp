#include "platform/gui/Spouleur.h"

#include <utility>

#include "core/values/Format.h"

EOSError::EOSError(uint32_t Code)
    : Exception(Format("System Error.  Code: %d.", {static_cast<int64_t>(Code)})), code_(Code) {}

namespace Spouleur {
namespace {

TSpouleur* installe = nullptr;

}  // namespace

TSpouleur& Actuel() {
  static TSpouleurSansImprimante production;
  return installe ? *installe : production;
}

TSpouleur* Installer(TSpouleur* Nouveau) { return std::exchange(installe, Nouveau); }

}  // namespace Spouleur

bool TSpouleurSansImprimante::EnumererImprimantes(uint32_t, int, std::vector<TInfoImprimante>& Imprimantes) {
  Imprimantes.clear();
  return true;
}

uint32_t TSpouleurSansImprimante::ImprimanteParDefaut(std::string& Nom) {
  Nom.clear();
  return 0;
}

// A scripted device context: metrics from its printer (exchanged in landscape), pages recorded.
class TContexteScripte : public TContexteImprimante {
 public:
  TContexteScripte(TSpouleurScripte& Spouleur, const TImprimanteScriptee& Imprimante, const TDeviceMode* Mode,
                   bool Information)
      : spouleur_(Spouleur), metriques_(Imprimante.Metriques), information_(Information) {
    const TDeviceMode& m = Mode ? *Mode : Imprimante.Mode;
    if ((m.Fields & TDeviceMode::kOrientation) && m.Orientation == TDeviceMode::kLandscape) {
      std::swap(metriques_.DotsPerInchX, metriques_.DotsPerInchY);
      std::swap(metriques_.PrintableWidth, metriques_.PrintableHeight);
      std::swap(metriques_.PhysicalOffsetX, metriques_.PhysicalOffsetY);
      std::swap(metriques_.PhysicalWidth, metriques_.PhysicalHeight);
    }
    ++spouleur_.contextes_;
  }
  ~TContexteScripte() override {
    --spouleur_.contextes_;
    spouleur_.Journal.push_back("Liberer contexte");
  }

  bool Information() const override { return information_; }
  TDeviceMetrics Metriques() const override { return metriques_; }

  bool DebuterDocument(const std::string& Titre) override {
    if (information_ || document_ >= 0) return false;
    spouleur_.Documents.push_back({Titre, {}, false, false});
    document_ = static_cast<int>(spouleur_.Documents.size()) - 1;
    return true;
  }
  TCanvas* DebuterPage() override {
    if (document_ < 0 || page_) return nullptr;
    page_ = std::make_unique<TCanvasEnregistreur>();
    return page_.get();
  }
  bool TerminerPage() override {
    if (!page_) return false;
    spouleur_.Documents[static_cast<size_t>(document_)].Pages.push_back(page_->Dump());
    page_.reset();
    return true;
  }
  bool TerminerDocument() override { return Fin(false); }
  bool AbandonnerDocument() override { return Fin(true); }

 private:
  bool Fin(bool Abandon) {
    if (document_ < 0) return false;
    if (page_ && !Abandon) TerminerPage();
    page_.reset();
    auto& d = spouleur_.Documents[static_cast<size_t>(document_)];
    (Abandon ? d.Abandonne : d.Termine) = true;
    document_ = -1;
    return true;
  }

  TSpouleurScripte& spouleur_;
  TDeviceMetrics metriques_;
  bool information_;
  int document_ = -1;
  std::unique_ptr<TCanvasEnregistreur> page_;
};

const TImprimanteScriptee* TSpouleurScripte::Trouver(const std::string& Nom) const {
  for (const auto& i : Imprimantes)
    if (i.Nom == Nom) return &i;
  return nullptr;
}

bool TSpouleurScripte::EnumererImprimantes(uint32_t Drapeaux, int Niveau, std::vector<TInfoImprimante>& Liste) {
  Journal.push_back("Enumerer " + std::to_string(Drapeaux) + "/" + std::to_string(Niveau));
  Liste.clear();
  if (EchecEnumeration) return false;
  for (const auto& i : Imprimantes) {
    TInfoImprimante info;
    info.Nom = i.Nom;
    if (Niveau == 5) info.Ports = i.Ports;
    Liste.push_back(std::move(info));
  }
  return true;
}

uint32_t TSpouleurScripte::ImprimanteParDefaut(std::string& Nom) {
  Journal.push_back("ParDefaut");
  Nom.clear();
  if (ErreurParDefaut != 0) return ErreurParDefaut;
  Nom = ParDefaut;
  return 0;
}

std::string TSpouleurScripte::LireProfil(std::string_view Section, std::string_view Cle) {
  auto it = Profil.find({std::string(Section), std::string(Cle)});
  return it == Profil.end() ? std::string() : it->second;
}

bool TSpouleurScripte::OuvrirImprimante(const std::string& Nom, uintptr_t& Poignee) {
  Journal.push_back("Ouvrir " + Nom);
  if (!Trouver(Nom)) return false;
  Poignee = suivante_++;
  ouvertes_[Poignee] = Nom;
  return true;
}

void TSpouleurScripte::FermerImprimante(uintptr_t Poignee) {
  Journal.push_back("Fermer " + std::to_string(Poignee));
  ouvertes_.erase(Poignee);
}

bool TSpouleurScripte::ModeParDefaut(uintptr_t Poignee, const std::string& Nom, TDeviceMode& Mode) {
  Journal.push_back("Mode " + Nom);
  auto it = ouvertes_.find(Poignee);
  const TImprimanteScriptee* i = Trouver(Nom);
  if (EchecModeParDefaut || it == ouvertes_.end() || !i) return false;
  Mode = i->Mode;
  return true;
}

std::unique_ptr<TContexteImprimante> TSpouleurScripte::CreerContexte(const std::string& Pilote,
                                                                     const std::string& Peripherique,
                                                                     const std::string& Port, const TDeviceMode* Mode,
                                                                     bool Information) {
  Journal.push_back(std::string("Contexte ") + (Information ? "info " : "device ") + Pilote + "/" + Peripherique + "/" +
                    Port + (Mode ? " mode" : " -"));
  const TImprimanteScriptee* i = Trouver(Peripherique);
  if (EchecContexte || !i) return nullptr;
  DernierMode = Mode ? std::optional<TDeviceMode>(*Mode) : std::nullopt;
  return std::make_unique<TContexteScripte>(*this, *i, Mode, Information);
}
