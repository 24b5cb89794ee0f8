#include "ui/Saisies.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>

#include "platform/gui/Fiches.h"
#include "platform/loop/MainLoop.h"
#include "platform/ui/SaisieEnCours.h"
#include "ui/vclliste.h"

namespace {

// An entry that runs: its field (nil once the field has gone).
struct TEntree {
  TChampsSaisieSimple* champ = nullptr;
};

TEntree* entreeCourante = nullptr;
uint8_t drapeaux = 0;

bool Terminee() { return drapeaux & (fsValidee | fsAbandonnee); }

// Ends the entry as validated by leaving the field, or abandoned when the field is required and empty.
void QuitterChamp(bool VideObligatoire) {
  drapeaux |= VideObligatoire ? fsAbandonnee : (fsValidee | fsParTouche | fsEnQuittant);
}

}  // namespace

TChampsSaisieSimple::TChampsSaisieSimple(TComponent* Owner) : TEdit(Owner) {}

TChampsSaisieSimple::~TChampsSaisieSimple() {
  // A field freed under its own entry (its parent went) ends that entry as abandoned.
  if (entreeCourante && entreeCourante->champ == this) {
    entreeCourante->champ = nullptr;
    if (!Terminee()) drapeaux |= fsAbandonnee;
  }
}

void TChampsSaisieSimple::KeyDown(int& Touche, uint8_t Shift) {
  if (Touche == VK_ESCAPE) {
    drapeaux |= fsAbandonnee;
    Touche = 0;
    return;
  }
  if (Routine) {
    const bool debut = SelLength() == 0 && Caret() == 0;
    const bool fin = SelLength() == 0 && Caret() == static_cast<int>(Text().size());
    bool finie = false;
    try {
      finie = Routine(Touche, Shift, debut, ToucheFinale, fin);
    } catch (const std::exception& e) {
      Application().HandleException(e);
      return;
    }
    if (finie && !VideObligatoire()) {
      drapeaux |= fsValidee | fsParTouche;
      Touche = 0;
      return;
    }
  }
  TEdit::KeyDown(Touche, Shift);
}

void TChampsSaisieSimple::KeyPress(char& Caractere) {
  if (Caractere == 27) {
    drapeaux |= fsAbandonnee;
  } else if (Caractere == '\r') {
    if (!VideObligatoire()) drapeaux |= fsValidee;
  } else if (TypeDonnee == 5 && static_cast<unsigned char>(Caractere) >= 32 && (Caractere < '0' || Caractere > '9')) {
    // Digits only.
  } else {
    TEdit::KeyPress(Caractere);
    return;
  }
  Caractere = 0;
}

bool TChampsSaisieSimple::DialogKey(int Touche, uint8_t Shift) {
  if (Touche != VK_ESCAPE) return TEdit::DialogKey(Touche, Shift);
  drapeaux |= fsAbandonnee;
  return true;
}

void TChampsSaisieSimple::DoExit() {
  TEdit::DoExit();
  if (entreeCourante && entreeCourante->champ == this && !Terminee()) QuitterChamp(VideObligatoire());
}

namespace Saisies {

namespace {

bool Editer(TWinControl* Parent, uint8_t TypeDonnee, const TRect& Rect, uint16_t Longueur, uint8_t Option,
            uint8_t Obligatoire, bool AvecBordure, TRoutineTouche Routine, TypeToucheDeValidation& ToucheFinale,
            std::string& Texte, const TFont* Police) {
  if (EntreeEnCours()) {
    TerminerSaisie(false);
    return false;
  }
  if (!Parent) throw EInvalidOperation("An entry field needs a parent window");

  TEntree entree;
  TEntree* const precedente = entreeCourante;
  auto* champ = new TChampsSaisieSimple(Parent);
  entree.champ = champ;
  entreeCourante = &entree;
  drapeaux = 0;

  // The application's exception handler and the loop's: an exception while the entry is open is
  // shown and marks the entry, which goes on.
  auto ancienGestionnaire = Application().OnException;
  Application().OnException = [ancienGestionnaire](TComponent* Sender, const std::exception& E) {
    drapeaux |= fsExceptionAffichee;
    if (ancienGestionnaire) ancienGestionnaire(Sender, E);
    else std::fprintf(stderr, "%s\n", E.what());
  };
  MainLoop* const boucle = Application().Boucle();
  MainLoop::ExceptionHandler ancienneBoucle = boucle ? boucle->CurrentExceptionHandler() : nullptr;
  if (boucle) boucle->SetExceptionHandler([ancienneBoucle](std::exception_ptr E) {
    try {
      std::rethrow_exception(E);
    } catch (const std::exception& e) {
      Application().HandleException(e);
    } catch (...) {
      drapeaux |= fsExceptionAffichee;
      if (ancienneBoucle) ancienneBoucle(std::current_exception());
    }
  });
  struct Restauration {
    TEntree& entree;
    TEntree* precedente;
    decltype(ancienGestionnaire)& gestionnaire;
    MainLoop* boucle;
    MainLoop::ExceptionHandler& ancienneBoucle;
    ~Restauration() {
      Application().OnException = std::move(gestionnaire);
      if (boucle) boucle->SetExceptionHandler(std::move(ancienneBoucle));
      if (TChampsSaisieSimple* c = entree.champ) {
        entree.champ = nullptr;
        c->Hide();
        delete c;
      }
      entreeCourante = precedente;
    }
  } restauration{entree, precedente, ancienGestionnaire, boucle, ancienneBoucle};

  champ->Hide();
  champ->SetParent(Parent);
  champ->BorderStyle = AvecBordure ? TBorderStyle::bsSingle : TBorderStyle::bsNone;
  champ->TypeDonnee = TypeDonnee;
  // The field holds at most 255 characters, and at least one.
  champ->SetMaxLength(std::clamp<int>(Longueur, 1, 255));
  champ->Option = Option;
  champ->SetText(Texte);
  champ->Obligatoire = Obligatoire != 0;
  champ->Routine = Routine ? std::move(Routine) : TRoutineTouche(TouchePourValiderParDefaut);
  champ->Marge = 2;
  if (Police) champ->SetFont(*Police);
  champ->SetBounds(Rect.Left, Rect.Top, std::max(Rect.Width() - 1, 0), std::max(Rect.Height() - 1, 0));
  champ->Show();
  if (champ->CanFocus()) champ->SetFocus();

  // Only a validation or an abandon ends the loop; a stop of the application abandons the entry.
  if (!Application().PiloteModal().EntreeSaisie(*champ, Terminee)) drapeaux |= fsAbandonnee;
  while (!Terminee()) {
    if (!boucle || boucle->WaitUntil(Terminee, std::chrono::hours(24)) == MainLoop::WaitResult::Stopped)
      drapeaux |= fsAbandonnee;
  }

  if (!entree.champ) return false;  // the field went with its parent
  ToucheFinale = entree.champ->ToucheFinale;
  if ((drapeaux & fsEnQuittant) && entree.champ->Obligatoire && entree.champ->Text().empty()) drapeaux |= fsAbandonnee;
  if (!(drapeaux & fsValidee) || (drapeaux & fsAbandonnee)) return false;
  Texte = entree.champ->Text();
  return true;
}

}  // namespace

bool EditerZone(TWinControl* Parent, uint8_t TypeDonnee, const TRect& Rect, uint16_t Longueur, uint8_t Option,
                uint8_t Obligatoire, bool AvecBordure, TRoutineTouche Routine, TypeToucheDeValidation& ToucheFinale,
                std::string& Texte) {
  return Editer(Parent, TypeDonnee, Rect, Longueur, Option, Obligatoire, AvecBordure, std::move(Routine), ToucheFinale,
                Texte, nullptr);
}

bool EditerCellule(TVokCustomList* Liste, uint8_t TypeDonnee, int32_t Col, int32_t Row, uint16_t Longueur,
                   uint8_t Option, bool Obligatoire, TRoutineTouche Routine, TypeToucheDeValidation& ToucheFinale,
                   std::string& Texte) {
  if (!Liste) throw EInvalidOperation("An entry field needs a list");
  TFont police = Liste->Canvas().Font;
  police.Color = Couleurs::clBlack;
  return Editer(Liste, TypeDonnee, Liste->RectangleCellule(Col, Row), Longueur, Option, Obligatoire ? 1 : 0, false,
                std::move(Routine), ToucheFinale, Texte, &police);
}

bool TerminerSaisie(bool Abandonner) {
  if (!EntreeEnCours()) return false;
  if (Abandonner) drapeaux |= fsAbandonnee;
  else QuitterChamp(false);
  return true;
}

bool EntreeEnCours() { return entreeCourante && entreeCourante->champ && entreeCourante->champ->Visible(); }

uint8_t Drapeaux() { return drapeaux; }

bool TouchePourValiderParDefaut(int Key, uint8_t Shift, bool AuDebut, TypeToucheDeValidation& ToucheFinale,
                                bool AuFin) {
  (void)Shift, (void)AuDebut, (void)AuFin;
  if (Key != VK_RETURN) return false;
  ToucheFinale = TypeToucheDeValidation::tvRetour;
  return true;
}

void Initialiser() { SaisieEnCours::Definir(TerminerSaisie, EntreeEnCours); }
void Finaliser() { SaisieEnCours::Definir(nullptr, nullptr); }

}  // namespace Saisies
