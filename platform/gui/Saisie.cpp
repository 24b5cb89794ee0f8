#include "platform/gui/Saisie.h"

namespace Saisie {
namespace {

struct EtatSouris {
  TControl* capture = nullptr;
  TForm* ficheCapture = nullptr;
  TControl* survole = nullptr;
};

EtatSouris& Souris() {
  static EtatSouris e;
  return e;
}

bool FicheDisponible(const TForm& F) { return F.Visible() && F.Enabled(); }

// P in form client coordinates to the control's client coordinates.
TPoint VersControle(const TForm& F, const TControl& C, TPoint P) {
  const TPoint ecran = F.ClientToScreen(P);
  return C.ScreenToClient(ecran);
}

// The control under P, when it exists and is still on the form.
TControl* Sous(TForm& F, TPoint P) { return F.ControlAtPos(P); }

bool Existe(TForm& F, TControl* C) {
  for (TControl* c = C; c; c = c->Parent())
    if (c == &F) return true;
  return false;
}

}  // namespace

void Oublier(const TControl* Controle) {
  auto& s = Souris();
  if (s.capture == Controle || s.ficheCapture == Controle) s.capture = nullptr, s.ficheCapture = nullptr;
  if (s.survole == Controle) s.survole = nullptr;
}

bool Accessible(const TControl& Controle) {
  if (!Controle.Showing()) return false;
  for (const TControl* c = &Controle; c; c = c->Parent())
    if (!c->Enabled()) return false;
  return true;
}

bool EnfoncerSouris(TForm& Fiche, TPoint P, TMouseButton Bouton, uint8_t Shift) {
  if (!FicheDisponible(Fiche)) return false;
  TControl* c = Sous(Fiche, P);
  if (!c) c = &Fiche;
  if (!Accessible(*c)) return false;
  Souris().capture = c;
  Souris().ficheCapture = &Fiche;
  const TPoint l = VersControle(Fiche, *c, P);
  c->MouseDown(Bouton, Shift, l.X, l.Y);
  return true;
}

bool DeplacerSouris(TForm& Fiche, TPoint P, uint8_t Shift) {
  if (!FicheDisponible(Fiche)) return false;
  auto& s = Souris();
  if (s.survole && !Existe(Fiche, s.survole)) s.survole = nullptr;
  TControl* dessous = Sous(Fiche, P);
  if (dessous != s.survole) {
    if (s.survole) s.survole->MouseLeave();
    s.survole = dessous;
    if (dessous && Accessible(*dessous)) dessous->MouseEnter();
  }
  TControl* c = (s.capture && s.ficheCapture == &Fiche && Existe(Fiche, s.capture)) ? s.capture : dessous;
  if (!c || !Accessible(*c)) return c == nullptr;
  const TPoint l = VersControle(Fiche, *c, P);
  c->MouseMove(Shift, l.X, l.Y);
  return true;
}

bool RelacherSouris(TForm& Fiche, TPoint P, TMouseButton Bouton, uint8_t Shift) {
  if (!FicheDisponible(Fiche)) return false;
  auto& s = Souris();
  TControl* c = (s.capture && s.ficheCapture == &Fiche && Existe(Fiche, s.capture)) ? s.capture : Sous(Fiche, P);
  s.capture = nullptr;
  s.ficheCapture = nullptr;
  if (!c || !Accessible(*c)) return false;
  const TPoint l = VersControle(Fiche, *c, P);
  c->MouseUp(Bouton, Shift, l.X, l.Y);
  return true;
}

bool Cliquer(TControl& Controle) {
  TForm* f = Controle.FormeParente();
  if (!f || !Accessible(Controle)) return false;
  const TPoint centre = f->ScreenToClient(Controle.ClientToScreen({Controle.Width() / 2, Controle.Height() / 2}));
  if (!EnfoncerSouris(*f, centre)) return false;
  return RelacherSouris(*f, centre);
}

bool DoubleCliquer(TControl& Controle) {
  if (!Cliquer(Controle) || !Accessible(Controle)) return false;
  Controle.DblClick();
  return true;
}

namespace {

// The focused control of the form when it can take input.
TWinControl* Focalise(TForm& Fiche) {
  TWinControl* a = Fiche.ActiveControl();
  return a && Accessible(*a) ? a : nullptr;
}

// Whether the focused control takes the key itself rather than leaving it to the dialog handling.
bool PrendTouche(const TControl& C, int CodeTouche) {
  const uint32_t codes = C.CodesDialogue();
  switch (CodeTouche) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: return codes & DLGC_WANTARROWS;
    case VK_TAB: return codes & DLGC_WANTTAB;
    case VK_RETURN:
    case VK_ESCAPE: return codes & DLGC_WANTALLKEYS;
    default: return true;
  }
}

}  // namespace

bool Touche(TForm& Fiche, int CodeTouche, uint8_t Shift) {
  if (!FicheDisponible(Fiche)) return false;
  if (Fiche.KeyPreview) {
    Fiche.KeyDown(CodeTouche, Shift);
    if (CodeTouche == 0) return true;
  }
  TWinControl* a = Focalise(Fiche);
  if (!a) return Fiche.TraiterTouche(CodeTouche, Shift);
  if (!PrendTouche(*a, CodeTouche) && Fiche.TraiterTouche(CodeTouche, Shift)) return true;
  int touche = CodeTouche;
  a->KeyDown(touche, Shift);
  return true;
}

bool Caractere(TForm& Fiche, char C) {
  if (!FicheDisponible(Fiche)) return false;
  TWinControl* a = Focalise(Fiche);
  if (!a) return Fiche.TraiterCaractere(C);
  if (!(a->CodesDialogue() & DLGC_WANTCHARS) && Fiche.TraiterCaractere(C)) return true;
  char caractere = C;
  a->KeyPress(caractere);
  return true;
}

bool Molette(TForm& Fiche, TPoint P, int Delta, uint8_t Shift) {
  if (!FicheDisponible(Fiche)) return false;
  TControl* c = Focalise(Fiche);
  if (!c) c = Sous(Fiche, P);
  if (!c || !Accessible(*c)) return false;
  return c->MouseWheel(Shift, Delta, VersControle(Fiche, *c, P));
}

void LibererCapture(const TControl* C) {
  auto& s = Souris();
  if (C && s.capture == C) s.capture = nullptr, s.ficheCapture = nullptr;
}

TControl* Capture() { return Souris().capture; }

}  // namespace Saisie
