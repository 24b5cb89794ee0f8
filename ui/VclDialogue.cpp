#include "ui/VclDialogue.h"

#include <algorithm>

#include "core/values/ChaineRessource.h"
#include "platform/gui/Images.h"

namespace {

const TChaineRessource RS_Yes{"VclDialogue_SVokMsgDlgYes", 65100, "&Si"};
const TChaineRessource RS_No{"VclDialogue_SVokMsgDlgNo", 65101, "&No"};
const TChaineRessource RS_Cancel{"VclDialogue_SVokMsgDlgCancel", 65102, "Annulla"};
const TChaineRessource RS_YesToAll{"VclDialogue_SVokMsgDlgYesToAll", 65103, "Si tutto"};
const TChaineRessource RS_NoToAll{"VclDialogue_SVokMsgDlgNoToAll", 65104, "No tutto"};
const TChaineRessource RS_Validate{"VclDialogue_SVokMsgDlgValidate", 65105, "Conferma"};
const TChaineRessource RS_OK{"VclDialogue_SVokMsgDlgOK", 65106, "Chiudi"};

TVokMessageJPEG* modele = nullptr;
bool chainesEnregistrees = false;

constexpr int kLargeurLabels = 408;
constexpr int kHauteurMaximale = 418;
constexpr int kHauteurMinimale = 118;

TFont Arial12(bool Gras) {
  TFont f;
  f.Name = "Arial";
  f.Height = 12;
  f.Style = Gras ? fsBold : 0;
  return f;
}

TVokPanel* PanelSansBiseau(TComponent* Owner, const char* Nom, TWinControl* Parent) {
  auto* p = new TVokPanel(Owner);
  p->SetName(Nom);
  p->SetBevelOuter(TBevelCut::bvNone);
  p->SetBevelInner(TBevelCut::bvNone);
  p->SetParent(Parent);
  return p;
}

TImage* Image(TComponent* Owner, const char* Nom, TWinControl* Parent, const char* Ressource) {
  auto* i = new TImage(Owner);
  i->SetName(Nom);
  i->SetBounds(4, 15, 50, 70);
  i->Center = true;
  i->Proportional = true;
  i->Picture = Images::ImageParNom(Ressource);
  i->SetParent(Parent);
  return i;
}

TVokSpeedButton* Bouton(TComponent* Owner, const char* Nom, TWinControl* Parent, int Largeur, int32_t Resultat) {
  auto* b = new TVokSpeedButton(Owner);
  b->SetName(Nom);
  b->SetBounds(0, 4, Largeur, 25);
  b->SetFont(Arial12(true));
  b->ModalResult = Resultat;
  b->SetParent(Parent);
  return b;
}

// Every "\crlf\" (case-sensitive) becomes a line break.
std::string AvecSautsDeLigne(std::string Texte) {
  static const std::string marque = "\\crlf\\";
  for (size_t p = Texte.find(marque); p != std::string::npos; p = Texte.find(marque, p + 2))
    Texte.replace(p, marque.size(), "\r\n");
  return Texte;
}

std::string LegendeBouton(const TChaineRessource& C) { return " " + ChaineRessource::Charger(C) + " "; }

}  // namespace

TVokMessageJPEG::TVokMessageJPEG(TComponent* Owner) : TForm(Owner) {
  SetName("VokMessageJPEG");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetClientWidth(500);
  SetClientHeight(155);
  PanelPourLesImages = PanelSansBiseau(this, "PanelPourLesImages", this);
  PanelPourLesImages->SetWidth(58);
  PanelPourLesImages->SetAlign(TAlign::alLeft);
  ImageInformationND = Image(this, "ImageInformationND", PanelPourLesImages, "IMAGEINFORMATION");
  ImageConfirmationND = Image(this, "ImageConfirmationND", PanelPourLesImages, "IMAGECONFIRMATION");
  ImageAideND = Image(this, "ImageAideND", PanelPourLesImages, "IMAGEAIDE");

  PanelTitreTexteScrollbar = PanelSansBiseau(this, "PanelTitreTexteScrollbar", this);
  PanelTitreTexteScrollbar->SetColor(Couleurs::clWhite);
  PanelTitreEtTexte = PanelSansBiseau(this, "PanelTitreEtTexte", PanelTitreTexteScrollbar);
  PanelTitreEtTexte->SetColor(Couleurs::clWhite);
  LabelTitre = new TLabel(this);
  LabelTitre->SetName("LabelTitre");
  LabelTitre->SetFont(Arial12(true));
  LabelTexte = new TLabel(this);
  LabelTexte->SetName("LabelTexte");
  LabelTexte->SetFont(Arial12(false));
  for (TLabel* l : {LabelTitre, LabelTexte}) {
    l->SetColor(Couleurs::clWhite);
    l->SetWordWrap(true);
    l->SetParent(PanelTitreEtTexte);
  }
  ScrollBarTitreEtTexte = new TScrollBar(this);
  ScrollBarTitreEtTexte->SetName("ScrollBarTitreEtTexte");
  ScrollBarTitreEtTexte->SetKind(TScrollBarKind::sbVertical);
  ScrollBarTitreEtTexte->SetWidth(15);
  ScrollBarTitreEtTexte->SetPageSize(0);
  ScrollBarTitreEtTexte->OnChange = [this](TComponent* s) { ScrollBarTitreEtTexteChange(s); };
  ScrollBarTitreEtTexte->SetParent(PanelTitreTexteScrollbar);

  PanelPourLesBoutons = PanelSansBiseau(this, "PanelPourLesBoutons", this);
  PanelPourLesBoutons->SetHeight(33);
  PanelPourLesBoutons->SetAlign(TAlign::alBottom);
  BoutonMDBYes = Bouton(this, "BoutonMDBYes", PanelPourLesBoutons, 75, mrYes);
  BoutonMDBNo = Bouton(this, "BoutonMDBNo", PanelPourLesBoutons, 75, mrNo);
  BoutonMDBCancel = Bouton(this, "BoutonMDBCancel", PanelPourLesBoutons, 75, mrCancel);
  BoutonMDBOk = Bouton(this, "BoutonMDBOk", PanelPourLesBoutons, 75, mrOk);
  BoutonMDBYesToAll = Bouton(this, "BoutonMDBYesToAll", PanelPourLesBoutons, 97, mrYesToAll);
  BoutonMDBNoToAll = Bouton(this, "BoutonMDBNoToAll", PanelPourLesBoutons, 97, mrNoToAll);
}

void TVokMessageJPEG::PlacerBouton(TVokSpeedButton* B) {
  B->SetLeft(PanelPourLesBoutons->Width() - Decalage - B->Width() - 4);
  B->Show();
  Decalage += B->Width() + 4;
}

void TVokMessageJPEG::ScrollBarTitreEtTexteChange(TComponent*) {
  PanelTitreEtTexte->SetTop(-ScrollBarTitreEtTexte->Position());
}

TVokMessageForm::TVokMessageForm(TComponent* Owner, uint8_t Boutons, int32_t DelaiMs)
    : TForm(Owner), boutons_(Boutons), delaiMs_(DelaiMs) {
  SetName("VokMessageForm");
  SetFont(Screen().MessageFont());
}

void TVokMessageForm::FermerSurDelai(TComponent*) { SetModalResult(mrOk); }

int32_t TVokMessageForm::ReponseSansUtilisateur() const {
  return delaiMs_ > 0 ? mrOk : VclDialogue::ReponseParDefaut(boutons_);
}

namespace VclDialogue {

TVokMessageJPEG* ModeleMessage() { return modele; }

TColor CouleurGenre(uint8_t Genre) {
  switch (Genre) {
    case 1: return 0x9999CC;
    case 4: return 0xCCCC99;
    case 5: return 0x0000FF;
    default: return 0x99CC99;
  }
}

namespace {

// Step 3 of the building without a control: the title and text, scrolled when too tall.
void DisposerTitreEtTexte(TVokMessageForm& F, TVokMessageJPEG& M, const TypeMessageEnAttente& Message) {
  M.PanelTitreTexteScrollbar->Show();
  M.LabelTexte->Show();
  M.PanelTitreTexteScrollbar->SetParent(&F);
  F.Scaled = false;
  F.SetBorderStyle(TFormBorderStyle::bsDialog);
  for (TLabel* l : {M.LabelTitre, M.LabelTexte}) {
    l->SetWordWrap(true);
    l->SetAutoSize(true);
    l->SetWidth(kLargeurLabels);
  }
  M.LabelTitre->SetCaption(AvecSautsDeLigne(Message.Titre));
  M.LabelTexte->SetCaption(AvecSautsDeLigne(Message.Texte));
  auto hauteur = [&] { return M.LabelTitre->Height() + M.LabelTexte->Height() + 23; };
  int h = hauteur();
  TScrollBar* barre = M.ScrollBarTitreEtTexte;
  barre->Hide();
  if (h > kHauteurMaximale) {
    barre->Show();
    for (TLabel* l : {M.LabelTitre, M.LabelTexte}) l->SetWidth(kLargeurLabels - barre->Width());
    h = hauteur();
  }
  M.LabelTitre->SetBounds(15, 4, M.LabelTitre->Width(), M.LabelTitre->Height());
  M.LabelTexte->SetBounds(15, M.LabelTitre->Top() + M.LabelTitre->Height() + 15, M.LabelTexte->Width(),
                          M.LabelTexte->Height());
  F.Position = TPosition::poMainFormCenter;
  F.SetClientWidth(500);
  int hauteurPanel;
  if (h < kHauteurMinimale) {
    F.SetClientHeight(155);
    hauteurPanel = kHauteurMinimale;
  } else if (h < kHauteurMaximale) {
    F.SetClientHeight(h + 37);
    hauteurPanel = h;
  } else {
    F.SetClientHeight(455);
    hauteurPanel = kHauteurMaximale;
  }
  TVokPanel* panel = M.PanelTitreTexteScrollbar;
  panel->SetBounds(58, 4, 438, hauteurPanel);
  M.PanelPourLesBoutons->SetWidth(500);
  if (barre->Visible()) {
    M.PanelTitreEtTexte->SetBounds(0, 0, panel->Width() - barre->Width(), h);
    barre->SetBounds(panel->Width() - barre->Width(), 0, barre->Width(), panel->Height());
    // Never below 0: the position could not be set otherwise.
    barre->SetParams(0, 0, std::max(h - barre->Height(), 0));
  } else {
    M.PanelTitreEtTexte->SetBounds(0, 0, panel->Width(), h);
  }
}

void PlacerBoutons(TVokMessageJPEG& M, uint8_t Boutons) {
  TVokSpeedButton* const tous[] = {M.BoutonMDBYes, M.BoutonMDBNo, M.BoutonMDBCancel,
                                   M.BoutonMDBOk, M.BoutonMDBYesToAll, M.BoutonMDBNoToAll};
  M.BoutonMDBYes->SetCaption(LegendeBouton(RS_Yes));
  M.BoutonMDBNo->SetCaption(LegendeBouton(RS_No));
  M.BoutonMDBCancel->SetCaption(LegendeBouton(RS_Cancel));
  M.BoutonMDBOk->SetCaption(LegendeBouton(Boutons == kOkAnnuler ? RS_Validate : RS_OK));
  M.BoutonMDBYesToAll->SetCaption(LegendeBouton(RS_YesToAll));
  M.BoutonMDBNoToAll->SetCaption(LegendeBouton(RS_NoToAll));
  for (TVokSpeedButton* b : tous) {
    b->Hide();
    b->SetTransparent(true);
    b->Flat = false;
    b->SetGroupIndex(0);
    b->SetDefault(false);
    b->Cancel = false;
  }
  M.Decalage = 0;
  auto marquer = [](TVokSpeedButton* Defaut, TVokSpeedButton* Annulation) {
    Defaut->SetDefault(true);
    Annulation->Cancel = true;
  };
  switch (Boutons) {
    case kOuiNon:
      marquer(M.BoutonMDBYes, M.BoutonMDBNo);
      for (auto* b : {M.BoutonMDBNo, M.BoutonMDBYes}) M.PlacerBouton(b);
      break;
    case kOuiAnnuler:
      marquer(M.BoutonMDBYes, M.BoutonMDBCancel);
      for (auto* b : {M.BoutonMDBCancel, M.BoutonMDBYes}) M.PlacerBouton(b);
      break;
    case kOuiNonAnnuler:
      marquer(M.BoutonMDBYes, M.BoutonMDBCancel);
      for (auto* b : {M.BoutonMDBCancel, M.BoutonMDBNo, M.BoutonMDBYes}) M.PlacerBouton(b);
      break;
    case kOk:
      marquer(M.BoutonMDBOk, M.BoutonMDBOk);
      M.PlacerBouton(M.BoutonMDBOk);
      break;
    case kOkAnnuler:
      marquer(M.BoutonMDBOk, M.BoutonMDBCancel);
      for (auto* b : {M.BoutonMDBOk, M.BoutonMDBCancel}) M.PlacerBouton(b);
      break;
    case kOuiNonTous:
      marquer(M.BoutonMDBYes, M.BoutonMDBNo);
      for (auto* b : {M.BoutonMDBNoToAll, M.BoutonMDBNo, M.BoutonMDBYesToAll, M.BoutonMDBYes}) M.PlacerBouton(b);
      break;
    default:
      break;
  }
}

}  // namespace

TVokMessageForm* CreerFicheMessage(const TypeMessageEnAttente& Message) {
  TVokMessageJPEG& m = *modele;
  auto* f = new TVokMessageForm(&Application(), Message.Boutons, Message.DelaiMs);
  try {
    f->RightToLeft = Application().RightToLeft;
    if (Message.Controle) {
      Message.Controle->SetParent(f);
      m.PanelPourLesImages->Show();
      m.PanelPourLesBoutons->Show();
      m.PanelPourLesImages->SetParent(f);
      m.PanelPourLesBoutons->SetParent(f);
      f->Scaled = false;
      f->SetBorderStyle(TFormBorderStyle::bsDialog);
      f->BorderIcons = biSystemMenu;
      f->Position = TPosition::poMainFormCenter;
      f->SetClientWidth(Message.Controle->Width() + 62);
      f->SetClientHeight(Message.Controle->Height() + 37);
      Message.Controle->SetBounds(58, 4, Message.Controle->Width(), Message.Controle->Height());
    } else {
      m.PanelPourLesImages->Show();
      m.PanelPourLesBoutons->Show();
      m.PanelPourLesImages->SetParent(f);
      m.PanelPourLesBoutons->SetParent(f);
      DisposerTitreEtTexte(*f, m, Message);
    }
    f->SetCaption(Message.Genre <= kAlerte ? VclDialogue::Legende(Message.Genre, Message.Boutons) : std::string());
    const TColor couleur = CouleurGenre(Message.Genre);
    f->SetColor(couleur);
    m.PanelPourLesImages->SetColor(couleur);
    m.PanelPourLesBoutons->SetColor(couleur);
    m.PanelTitreEtTexte->SetColor(Couleurs::clWhite);
    for (TImage* i : {m.ImageInformationND, m.ImageConfirmationND, m.ImageAideND}) i->Hide();
    switch (Message.Genre) {
      case 0: case 2: case 3: m.ImageInformationND->Show(); break;
      case 1: m.ImageConfirmationND->Show(); break;
      case 4: m.ImageAideND->Show(); break;
      default: break;
    }
    PlacerBoutons(m, Message.Boutons);
    if (Message.DelaiMs > 0) {
      f->Minuterie = new TVokTimer(f);
      f->Minuterie->SetEnabled(false);
      f->Minuterie->SetInterval(static_cast<uint32_t>(Message.DelaiMs));
      f->Minuterie->SetOnTimer([f](TComponent* s) { f->FermerSurDelai(s); });
      f->Minuterie->SetEnabled(true);
    }
  } catch (...) {
    delete f;
    throw;
  }
  return f;
}

int32_t AfficherFenetreMessage(const TypeMessageEnAttente& Message) {
  TWinControl* ancienParent = Message.Controle ? Message.Controle->Parent() : nullptr;
  TVokMessageForm* f = nullptr;
  struct Restitution {
    const TypeMessageEnAttente& message;
    TWinControl* ancienParent;
    TVokMessageForm*& fiche;
    ~Restitution() {
      TVokMessageJPEG* m = modele;
      if (m && m->PanelPourLesImages->Parent() != m) {
        m->PanelPourLesImages->SetParent(m);
        m->PanelTitreTexteScrollbar->SetParent(m);
        m->PanelPourLesBoutons->SetParent(m);
      }
      // The panel of the title and text stays in the template when the message had a control.
      if (m && m->PanelTitreTexteScrollbar->Parent() != m) m->PanelTitreTexteScrollbar->SetParent(m);
      if (message.Controle) message.Controle->SetParent(ancienParent);
      delete fiche;
    }
  } restitution{Message, ancienParent, f};
  f = CreerFicheMessage(Message);
  f->HelpFile.clear();
  return f->ShowModal();
}

void InitialiserFenetres() {
  if (!chainesEnregistrees) {
    static const TChaineRessource* const kChaines[] = {&RS_Yes, &RS_No, &RS_Cancel, &RS_YesToAll,
                                                       &RS_NoToAll, &RS_Validate, &RS_OK};
    ChaineRessource::Enregistrer(kChaines);
    chainesEnregistrees = true;
  }
  if (!modele) {
    modele = new TVokMessageJPEG(&Application());
    modele->Hide();
    modele->Decalage = 0;
  }
  DefinirAfficheur(AfficherFenetreMessage);
}

void FinaliserFenetres() {
  DefinirAfficheur(nullptr);
  delete modele;
  modele = nullptr;
}

}  // namespace VclDialogue
