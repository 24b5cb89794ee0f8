#include "ui/vclprint.h"

#include "core/values/Ansi1252.h"
#include "core/values/ChaineRessource.h"

namespace {

const TChaineRessource Consts_SInvalidPrinterOp{"Consts_SInvalidPrinterOp", 65110,
                                                "Opération non supportée par l'imprimante sélectionnée"_ansi};
const TChaineRessource Consts_SInvalidPrinter{"Consts_SInvalidPrinter", 65111,
                                              "Imprimante sélectionnée incorrecte"_ansi};
const TChaineRessource Consts_SNotPrinting{"Consts_SNotPrinting", 65112, "L'imprimante n'imprime pas pour l'instant"};
const TChaineRessource Consts_SPrinting{"Consts_SPrinting", 65113, "Impression en cours"};
const TChaineRessource Consts_SDeviceOnPort{"Consts_SDeviceOnPort", 65114, "%s sur %s"};
const TChaineRessource Consts_SNoDefaultPrinter{"Consts_SNoDefaultPrinter", 65115,
                                                "Aucune imprimante par défaut sélectionnée"_ansi};

bool chainesEnregistrees = false;
TVokPrinter* printer = nullptr;

[[noreturn]] void Lever(const TChaineRessource& Chaine) { throw EVokPrinter(ChaineRessource::Charger(Chaine)); }

std::string SurPort(const std::string& Peripherique, const std::string& Port) {
  return ChaineRessource::ChargerFormate(Consts_SDeviceOnPort, {Peripherique, Port});
}

}  // namespace

// The canvas.

void TVokPrinterCanvas::CreateHandle() {
  printer_.DefinirEtat(TVokPrinter::EtatInformation);
  contexte_ = printer_.Contexte();
}

void TVokPrinterCanvas::Changing() { printer_.VerifierImpression(true); }

void TVokPrinterCanvas::Preparer() {
  if (!contexte_) CreateHandle();
  Changing();
}

void TVokPrinterCanvas::DoFillRect(const TRect& R) { Preparer(), TCanvasEnregistreur::DoFillRect(R); }
void TVokPrinterCanvas::DoFrameRect(const TRect& R) { Preparer(), TCanvasEnregistreur::DoFrameRect(R); }
void TVokPrinterCanvas::DoRectangle(const TRect& R) { Preparer(), TCanvasEnregistreur::DoRectangle(R); }
void TVokPrinterCanvas::DoEllipse(const TRect& R) { Preparer(), TCanvasEnregistreur::DoEllipse(R); }
void TVokPrinterCanvas::DoRoundRect(const TRect& R, int LargeurCoin, int HauteurCoin) {
  Preparer(), TCanvasEnregistreur::DoRoundRect(R, LargeurCoin, HauteurCoin);
}
void TVokPrinterCanvas::DoLine(TPoint De, TPoint A) { Preparer(), TCanvasEnregistreur::DoLine(De, A); }
void TVokPrinterCanvas::DoPixel(TPoint P, TColor Couleur) { Preparer(), TCanvasEnregistreur::DoPixel(P, Couleur); }
void TVokPrinterCanvas::DoTextOut(TPoint P, const std::string& Texte) {
  Preparer(), TCanvasEnregistreur::DoTextOut(P, Texte);
}
void TVokPrinterCanvas::DoFocusRect(const TRect& R) { Preparer(), TCanvasEnregistreur::DoFocusRect(R); }
void TVokPrinterCanvas::DoDraw(const TRect& R, const TBitmap& Image) { Preparer(), TCanvasEnregistreur::DoDraw(R, Image); }
void TVokPrinterCanvas::DoClip(const TRect* R) { Preparer(), TCanvasEnregistreur::DoClip(R); }

// The printer.

TVokPrinter::~TVokPrinter() {
  try {
    if (imprime_) TerminerDocument();
    DefinirEtat(EtatAucun);
  } catch (const std::exception&) {
    // Going anyway: the context and the handle are released below.
  }
  if (canvas_) canvas_->Lier(nullptr);
  contexte_.reset();
  liste_.reset();
  polices_.clear();
  canvas_.reset();
  FermerPoignee();
  mode_.reset();
}

TVokPrinterCanvas& TVokPrinter::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TVokPrinterCanvas>(*this);
  return *canvas_;
}

TContexteImprimante& TVokPrinter::Handle() {
  DefinirEtat(EtatInformation);
  return *contexte_;
}

int32_t TVokPrinter::LargeurPage() { return Handle().Metriques().PrintableWidth; }
int32_t TVokPrinter::HauteurPage() { return Handle().Metriques().PrintableHeight; }
int32_t TVokPrinter::PixelsParPouceX() { return Handle().Metriques().DotsPerInchX; }

bool TVokPrinter::Paysage() const {
  if (!mode_) Lever(Consts_SInvalidPrinterOp);
  return mode_->Orientation != TDeviceMode::kPortrait;
}

int32_t TVokPrinter::IndiceImprimante() {
  if (indice_ == -1) ChoisirImprimanteParDefaut();
  return indice_;
}

const std::vector<TVokPrinterEntry>& TVokPrinter::ListeImprimantes() {
  if (!liste_) ConstruireListe();
  return *liste_;
}

void TVokPrinter::ConstruireListe() {
  auto liste = std::make_unique<std::vector<TVokPrinterEntry>>();
  TSpouleur& spouleur = Spouleur::Actuel();
  std::vector<TInfoImprimante> infos;
  if (spouleur.FamilleNT()) {
    if (spouleur.EnumererImprimantes(Spouleur::PRINTER_ENUM_LOCAL | Spouleur::PRINTER_ENUM_CONNECTIONS, 4, infos))
      for (const auto& i : infos) liste->push_back({i.Nom, {"", i.Nom, ""}});
  } else if (spouleur.EnumererImprimantes(Spouleur::PRINTER_ENUM_LOCAL, 5, infos)) {
    // One entry per port of the printer's port list.
    for (const auto& i : infos) {
      size_t p = 0;
      while (p < i.Ports.size()) {
        size_t fin = i.Ports.find(',', p);
        if (fin == std::string::npos) fin = i.Ports.size();
        const std::string port = i.Ports.substr(p, fin - p);
        p = fin < i.Ports.size() ? fin + 1 : fin;
        while (p < i.Ports.size() && i.Ports[p] == ' ') ++p;
        liste->push_back({SurPort(i.Nom, port), {"", i.Nom, port}});
      }
    }
  }
  liste_ = std::move(liste);
}

void TVokPrinter::ChoisirImprimanteParDefaut() {
  TSpouleur& spouleur = Spouleur::Actuel();
  std::string nom;
  const uint32_t erreur = spouleur.ImprimanteParDefaut(nom);
  if (erreur == Spouleur::ERROR_INVALID_NAME) Lever(Consts_SNoDefaultPrinter);
  if (erreur != 0 && erreur != Spouleur::ERROR_INSUFFICIENT_BUFFER) throw EOSError(erreur);
  if (nom.empty()) {
    // The older family names it in the profile: "device,driver,port".
    nom = spouleur.LireProfil("windows", "device").substr(0, 79);
    nom = nom.substr(0, nom.find(','));
  }
  for (const auto& e : ListeImprimantes())
    if (e.Device.Device == nom) {
      const TVokPrinterDevice d = e.Device;
      DefinirImprimante(d.Device, d.Driver, d.Port, nullptr);
      return;
    }
  Lever(Consts_SNoDefaultPrinter);
}

void TVokPrinter::CapacitesDe(const TDeviceMode& Mode) {
  capacites_ = 0;
  if (Mode.Fields & TDeviceMode::kOrientation) capacites_ |= pcOrientation;
  if (Mode.Fields & TDeviceMode::kCopies) capacites_ |= pcCopies;
  if (Mode.Fields & TDeviceMode::kCollate) capacites_ |= pcCollation;
}

void TVokPrinter::FermerPoignee() {
  if (!poigneeOuverte_) return;
  Spouleur::Actuel().FermerImprimante(poignee_);
  poigneeOuverte_ = false;
}

void TVokPrinter::DefinirImprimante(const std::string& Peripherique, const std::string& Pilote,
                                    const std::string& Port, std::unique_ptr<TDeviceMode> ModePeripherique) {
  VerifierImpression(false);
  if (ModePeripherique.get() != mode_.get()) {
    mode_ = std::move(ModePeripherique);
    if (mode_) CapacitesDe(*mode_);
  } else {
    (void)ModePeripherique.release();  // the mode held already
  }
  polices_.clear();
  FermerPoignee();
  DefinirEtat(EtatAucun);
  const auto& liste = ListeImprimantes();
  int32_t indice = -1;
  for (size_t i = 0; i < liste.size(); ++i) {
    const TVokPrinterDevice& d = liste[i].Device;
    if (d.Device == Peripherique && (d.Port.empty() || d.Port == Port)) {
      indice = static_cast<int32_t>(i);
      break;
    }
  }
  if (indice == -1) {
    liste_->push_back({SurPort(Peripherique, Port), {Pilote, Peripherique, Port}});
    indice = static_cast<int32_t>(liste_->size()) - 1;
  }
  indice_ = indice;
  TSpouleur& spouleur = Spouleur::Actuel();
  if (!spouleur.OuvrirImprimante(Peripherique, poignee_)) return;
  poigneeOuverte_ = true;
  if (!mode_) {
    auto mode = std::make_unique<TDeviceMode>();
    if (!spouleur.ModeParDefaut(poignee_, Peripherique, *mode)) return;
    mode_ = std::move(mode);
  }
  CapacitesDe(*mode_);
}

void TVokPrinter::DefinirEtat(uint8_t Etat) {
  if (Etat == etat_) return;
  if (Etat == EtatAucun) {
    VerifierImpression(false);
    if (canvas_) canvas_->Lier(nullptr);
    contexte_.reset();
    etat_ = EtatAucun;
    return;
  }
  if (Etat == EtatInformation && etat_ == EtatPeripherique) return;
  if (canvas_) canvas_->Lier(nullptr);
  contexte_.reset();
  etat_ = EtatAucun;
  const int32_t indice = IndiceImprimante();
  const auto& liste = ListeImprimantes();
  if (indice < 0 || static_cast<size_t>(indice) >= liste.size()) Lever(Consts_SInvalidPrinter);
  const TVokPrinterDevice d = liste[static_cast<size_t>(indice)].Device;
  contexte_ = Spouleur::Actuel().CreerContexte(d.Driver, d.Device, d.Port, mode_.get(), Etat == EtatInformation);
  if (!contexte_) Lever(Consts_SInvalidPrinter);
  if (canvas_) canvas_->Lier(contexte_.get());
  etat_ = Etat;
}

void TVokPrinter::VerifierImpression(bool Attendu) const {
  if (imprime_ != Attendu) Lever(Attendu ? Consts_SNotPrinting : Consts_SPrinting);
}

void TVokPrinter::TerminerPage() {
  VerifierImpression(true);
  contexte_->TerminerPage();
}

void TVokPrinter::TerminerDocument() {
  VerifierImpression(true);
  if (!abandonne_ && contexte_) contexte_->TerminerDocument();
  imprime_ = false;
  abandonne_ = false;
  numeroPage_ = 0;
}

void TVokPrinter::FinDocument() {
  TerminerPage();
  TerminerDocument();
}

namespace vclprint {

TVokPrinter& Printer() {
  if (!printer) Lever(Consts_SInvalidPrinter);
  return *printer;
}

void Initialiser() {
  if (!chainesEnregistrees) {
    static const TChaineRessource* const kChaines[] = {&Consts_SInvalidPrinterOp, &Consts_SInvalidPrinter,
                                                       &Consts_SNotPrinting,      &Consts_SPrinting,
                                                       &Consts_SDeviceOnPort,     &Consts_SNoDefaultPrinter};
    ChaineRessource::Enregistrer(kChaines);
    chainesEnregistrees = true;
  }
  if (!printer) printer = new TVokPrinter();
}

void Finaliser() {
  delete printer;
  printer = nullptr;
}

}  // namespace vclprint
