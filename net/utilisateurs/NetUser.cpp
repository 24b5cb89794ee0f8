#include "net/utilisateurs/NetUser.h"

#include <memory>

#include "core/values/ChaineUnicode.h"
#include "core/values/Format.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/ProfilServeur.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"
#include "platform/ui/SaisieEnCours.h"
#include "platform/ui/VclDialogue.h"

namespace {

const char* CleRefus(int32_t Resultat) {
  return Resultat == Utilisateur::ConnexionRefusee ? "NetUserUtilisateurAffecteAAucunProfilsUtilisdation"
                                                   : "NetUserLoginIncorrect";
}

template <class T>
T* Creer(TComponent* Owner, TWinControl* Parent, const char* Nom, int Left, int Top, int Width, int Height) {
  T* c = new T(Owner);
  c->SetName(Nom);
  c->SetParent(Parent);
  c->SetBounds(Left, Top, Width, Height);
  return c;
}

std::string Majuscules(const std::string& Texte) { return ChaineUnicode::Majuscules1252(Texte); }

}  // namespace

void TChampLogin::KeyDown(int& Touche, uint8_t Shift) {
  if (Touche == VK_RETURN) {
    if (Suivant && Suivant->CanFocus()) Suivant->SetFocus();
    Touche = 0;
    return;
  }
  if (Touche == VK_ESCAPE) {
    // Escape stays the form's: the cancel button.
    if (TForm* f = FormeParente()) (void)f->TraiterTouche(Touche, Shift);
    Touche = 0;
    return;
  }
  TEdit::KeyDown(Touche, Shift);
}

void TChampLogin::KeyPress(char& Caractere) {
  if (Caractere == '\r') {
    Caractere = 0;
    return;
  }
  TEdit::KeyPress(Caractere);
}

void TChampLogin::DoExit() {
  TEdit::DoExit();
  SetText(Majuscules(Text()));
}

TPasswordDlg::TPasswordDlg(TComponent* Owner) : TForm(Owner) {
  SetName("PasswordDlg");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  Position = TPosition::poScreenCenter;
  SetClientWidth(208);
  SetClientHeight(135);
  TFont police = Font();
  police.Name = "Arial";
  police.Height = 12;
  SetFont(police);

  Label2 = Creer<TLabel>(this, this, "Label2", 10, 10, 90, 16);
  EditLogin = Creer<TChampLogin>(this, this, "EditLogin", 104, 8, 94, 21);
  Label1 = Creer<TLabel>(this, this, "Label1", 10, 42, 90, 16);
  EditMotDePasse = Creer<TChampLogin>(this, this, "EditMotDePasse", 104, 40, 94, 21);
  for (TChampLogin* e : {EditLogin, EditMotDePasse}) {
    e->SetParentFont(false);
    TFont gras = Font();
    gras.Style = fsBold;
    e->SetFont(gras);
    e->TabStop = true;
  }
  EditLogin->SetMaxLength(3);
  EditMotDePasse->PasswordChar = '*';
  CancelBtn = Creer<TBitBtn>(this, this, "CancelBtn", 10, 96, 90, 28);
  CancelBtn->ModalResult = mrCancel;
  CancelBtn->Cancel = true;
  OKBtn = Creer<TBitBtn>(this, this, "OKBtn", 108, 96, 90, 28);
  OKBtn->ModalResult = mrOk;
  OKBtn->Default = true;
  EditLogin->Suivant = EditMotDePasse;
  EditMotDePasse->Suivant = OKBtn;

  // A press on a button first ends the in-place entry in progress.
  for (TBitBtn* b : {CancelBtn, OKBtn})
    b->OnMouseDown = [](TComponent*, TMouseButton, uint8_t, int, int) { (void)SaisieEnCours::TerminerSaisie(false); };
  OKBtn->OnClick = [this](TComponent* s) { OKBtnClick(s); };
  OnShow = [this](TComponent* s) { FormShow(s); };
}

void TPasswordDlg::VerrouillerCode(const std::string& Code) {
  Verrouille = true;
  EditLogin->SetText(Code);
  EditLogin->BorderStyle = TBorderStyle::bsSingle;
  EditLogin->SetColor(Couleurs::clBtnFace);
  EditLogin->SetEnabled(false);
}

void TPasswordDlg::FormShow(TComponent*) {
  SetCaption(Traduction::Traduire("NetUserTitreFenetre"));
  Label2->SetCaption(Traduction::Traduire("NetUserCode") + " :");
  Label1->SetCaption(Traduction::Traduire("NetUserMotDePasse") + " :");
  OKBtn->SetCaption(Traduction::Traduire("NetUserValider"));
  CancelBtn->SetCaption(Traduction::Traduire("NetUserAnnuler"));
  EditMotDePasse->SetText("");
  for (TChampLogin* e : {EditLogin, EditMotDePasse})
    if (e->CanFocus()) {
      e->SetFocus();
      break;
    }
}

void TPasswordDlg::OKBtnClick(TComponent*) {
  EditLogin->SetText(Majuscules(EditLogin->Text()));
  EditMotDePasse->SetText(Majuscules(EditMotDePasse->Text()));
}

namespace NetUser {

std::string& DernierCodeAccepte() {
  static std::string code(Utilisateur::kCodeSuperUtilisateur);
  return code;
}

uint32_t SaisirLogin(const std::string& Titre, const std::string& Login, bool Verrouiller) {
  std::unique_ptr<TPasswordDlg> dialogue(new TPasswordDlg(&Application()));
  dialogue->SetCaption(Titre.empty() ? Format(Traduction::Traduire("NetUserFormatConnexion"), {VclDialogue::NomProgramme()})
                                     : Titre);
  const std::string code = Login.empty() ? DernierCodeAccepte() : Login;
  if (Verrouiller) dialogue->VerrouillerCode(code);
  else dialogue->EditLogin->SetText(code);

  for (int echecs = 0; echecs < 3;) {
    if (dialogue->ShowModal() != mrOk) return 0;
    const std::string saisi = Majuscules(dialogue->EditLogin->Text());
    if (saisi.empty()) continue;
    int32_t resultat = Utilisateur::LoginInconnu;
    bool accepte = Utilisateur::ControlerLogin(saisi, Majuscules(dialogue->EditMotDePasse->Text()), resultat);
    if (accepte && Utilisateur::IdentProfilServeurConnexion() != 0 &&
        (!Utilisateur::ChercherUtilisateurParCode(saisi) ||
         !Utilisateur::AffecteAuProfilServeur(Utilisateur::IdentProfilServeurConnexion()))) {
      accepte = false;
      resultat = Utilisateur::ConnexionRefusee;
    }
    if (accepte && Utilisateur::ChercherUtilisateurParCode(saisi)) {
      DernierCodeAccepte() = saisi;
      Utilisateur::CodeUtilisateurCourant() = saisi;
      return BaseUtilisateurs::Utilisateurs()->Identifiant;
    }
    (void)VclDialogue::AfficherMessage(true, Traduction::Traduire(CleRefus(resultat)), "", VclDialogue::kConfirmation,
                                       VclDialogue::kOk, true);
    ++echecs;
  }
  return 0;
}

}  // namespace NetUser
