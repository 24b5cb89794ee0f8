#include "platform/ui/Patience.h"

#include "platform/gui/Images.h"
#include "platform/ui/EcranPatience.h"
#include "platform/ui/VclDialogue.h"

TPatienter::TPatienter(TComponent* Proprietaire) : TFenetreAttente(Proprietaire) {
  SetName("Patienter");
  SetBorderStyle(TFormBorderStyle::bsNone);
  BorderIcons = 0;
  SetCaption("Patientez");
  SetClientWidth(172);
  SetClientHeight(203);
  Position = TPosition::poMainFormCenter;
  Panel1 = new TPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetColor(Couleurs::clWhite);
  Panel1->SetBevelWidth(2);
  Panel1->SetAlign(TAlign::alClient);
  Panel1->SetParent(this);
  Texte = new TGraphicPanel(this);
  Texte->SetName("Texte");
  Texte->SetHeight(31);
  Texte->SetAlign(TAlign::alBottom);
  Texte->SetColor(Couleurs::clNavy);
  Texte->SetBevelOuter(TBevelCut::bvNone);
  TFont f;
  f.Name = "Arial";
  f.Height = 13;
  f.Style = fsBold;
  f.Color = Couleurs::clWhite;
  Texte->SetFont(f);
  Texte->SetParent(Panel1);
  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetAlign(TAlign::alClient);
  Image1->Center = true;
  Image1->Picture = Images::ImageParNom("PATIENTER");
  Image1->SetParent(Panel1);
}

namespace Patience {
namespace {

using TypeExecution = void (*)(const std::string&, const std::function<void()>&);
TypeExecution execution = nullptr;

}  // namespace

void ExecuterAvecAttente(const std::string& Texte, const std::function<void()>& Methode) {
  auto* fenetre = new TPatienter(&Application());
  struct Fin {
    TPatienter* f;
    ~Fin() {
      f->Hide();
      f->Image1->Picture.Liberer();
      delete f;
    }
  } fin{fenetre};
  TCanvas& canvas = fenetre->Texte->Canvas();
  canvas.Font.Name = "Arial";
  canvas.Font.SetSize(10);
  canvas.Font.Style = fsBold;
  const int largeur = canvas.TextWidth(Texte);
  if (fenetre->Texte->Width() < largeur + 4) fenetre->SetClientWidth(largeur + 16);
  fenetre->Texte->SetCaption(Texte);
  fenetre->Show();
  fenetre->Update();
  Methode();
}

void Patienter(const std::string& Texte, const std::function<void()>& Methode) {
  if (!execution) execution = ExecuterAvecAttente;
  execution(Texte, Methode);
}

void AfficherCompteRendu(const std::string& Titre, const std::string& Texte, const std::string& Trace) {
  TFichePatience* f = EcranPatience::CreerFichePatience(Titre, Texte, false, false, true, false);
  if (!f) return;
  struct Fin {
    TFichePatience* f;
    ~Fin() {
      f->Hide();
      delete f;
    }
  } fin{f};
  f->SetLigneJournal(Titre.empty() ? Texte : Titre + " : " + Texte);
  f->Show();
  f->AjouterTrace(Trace);
  // Nobody may be in front of the screen: the report reaches the log, line by line.
  size_t debut = 0;
  while (debut < Trace.size()) {
    size_t fin = Trace.find_first_of("\r\n", debut);
    if (fin == std::string::npos) fin = Trace.size();
    if (fin > debut) VclDialogue::Ecrire(Trace.substr(debut, fin - debut));
    debut = fin + 1;
  }
  VclDialogue::Ecrire("Fin de traitement");
  f->TerminerTraitement();
}

}  // namespace Patience
