#include "platform/gui/Fiches.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include <boost/asio/post.hpp>

#include "platform/gui/Minuterie.h"
#include "platform/loop/MainLoop.h"

TForm::TForm(TComponent* Owner) : TCustomControl(Owner) {
  SetVisible(false);
  SetParentFont(false);
  Screen().forms_.push_back(this);
  canvas_.Font = Font();
}

TForm::~TForm() {
  activeControl_ = nullptr;
  auto& l = Screen().forms_;
  l.erase(std::remove(l.begin(), l.end(), this), l.end());
  if (Application().MainForm() == this) Application().SetMainForm(nullptr);
}

TRect TForm::Cadre() const {
  switch (borderStyle_) {
    case TFormBorderStyle::bsNone: return {0, 0, 0, 0};
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsDialog: return {3, 26, 3, 3};
    case TFormBorderStyle::bsToolWindow: return {3, 20, 3, 3};
    case TFormBorderStyle::bsSizeToolWin: return {4, 21, 4, 4};
    default: return {4, 27, 4, 4};
  }
}

TRect TForm::ClientRect() const {
  const TRect c = Cadre();
  return {0, 0, std::max(Width() - c.Left - c.Right, 0), std::max(Height() - c.Top - c.Bottom, 0)};
}

void TForm::SetClientWidth(int v) {
  const TRect c = Cadre();
  SetWidth(v + c.Left + c.Right);
}

void TForm::SetClientHeight(int v) {
  const TRect c = Cadre();
  SetHeight(v + c.Top + c.Bottom);
}

void TForm::SetBorderStyle(TFormBorderStyle Valeur) {
  // The client area keeps its size; the frame around it changes.
  const int w = ClientWidth(), h = ClientHeight();
  borderStyle_ = Valeur;
  SetClientWidth(w);
  SetClientHeight(h);
}

void TForm::FontChanged() {
  TCustomControl::FontChanged();
  canvas_.Font = Font();
}

void TForm::Placer() {
  TRect zone = Screen().DesktopRect();
  TForm* principale = Application().MainForm();
  if (Position == TPosition::poMainFormCenter && principale && principale != this && principale->Visible())
    zone = principale->BoundsRect();
  if (Position == TPosition::poOwnerFormCenter)
    if (auto* f = dynamic_cast<TForm*>(Owner()); f && f->Visible()) zone = f->BoundsRect();
  if (Position == TPosition::poDesigned) return;
  SetBounds(zone.Left + (zone.Width() - Width()) / 2, zone.Top + (zone.Height() - Height()) / 2, Width(), Height());
}

void TForm::Show() {
  if (!place_) {
    Placer();
    place_ = true;
  }
  SetVisible(true);
}

void TForm::Hide() { SetVisible(false); }

void TForm::VisibleChanged() {
  if (Visible()) {
    if (OnShow) OnShow(this);
  } else {
    if (OnHide) OnHide(this);
  }
}

bool TForm::CloseQuery() {
  bool peut = true;
  if (OnCloseQuery) OnCloseQuery(this, peut);
  return peut;
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  Hide();
  if (action == TCloseAction::caFree) {
    // Freed once the handler that closed it has returned.
    if (MainLoop* b = Application().Boucle()) boost::asio::post(b->Context(), [this] {
        if (Screen().Existe(this)) delete this;
      });
  }
}

int32_t TForm::ShowModal() {
  if (Visible() || !Enabled() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  modal_ = true;
  modalResult_ = mrNone;
  const TListeFenetres desactivees = DisableTaskWindows(this);
  struct Fin {
    TForm& f;
    const TListeFenetres& l;
    ~Fin() {
      f.Hide();
      EnableTaskWindows(l);
      f.modal_ = false;
    }
  } fin{*this, desactivees};
  Show();
  Application().PiloteModal().EntreeBoucle(*this);
  for (;;) {
    if (modalResult_ != mrNone) {
      if (CloseQuery()) break;
      modalResult_ = mrNone;
    }
    MainLoop* boucle = Application().Boucle();
    if (!boucle) throw EInvalidOperation("No loop to run the modal form \"" + Name() + "\" in");
    const auto r = boucle->WaitUntil([this] { return modalResult_ != mrNone; }, std::chrono::hours(24));
    if (r == MainLoop::WaitResult::Stopped) {
      modalResult_ = mrCancel;
      break;
    }
  }
  return modalResult_;
}

void TForm::Paint(TCanvas& C) {
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(ClientRect());
  if (OnPaint) OnPaint(this);
}

bool TForm::OffrirTouche(TWinControl& W, int Touche, uint8_t Shift) {
  for (int i = 0; i < W.ControlCount(); ++i) {
    TControl* c = W.Controls(i);
    if (!c->Visible()) continue;
    if (c->DialogKey(Touche, Shift)) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Enabled() && OffrirTouche(*w, Touche, Shift)) return true;
  }
  return false;
}

bool TForm::OffrirCaractere(TWinControl& W, char Caractere) {
  for (int i = 0; i < W.ControlCount(); ++i) {
    TControl* c = W.Controls(i);
    if (!c->Visible()) continue;
    if (c->DialogChar(Caractere)) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Enabled() && OffrirCaractere(*w, Caractere)) return true;
  }
  return false;
}

void TForm::SetActiveControl(TWinControl* Controle) {
  if (Controle == activeControl_) return;
  if (Controle && Controle->FormeParente() != this)
    throw EInvalidOperation("The active control of a form stands on the form");
  TWinControl* ancien = activeControl_;
  activeControl_ = Controle;
  if (ancien) ancien->DoExit();
  if (activeControl_ == Controle && Controle) Controle->DoEnter();
}

void TForm::OublierControle(const TControl* C) {
  for (const TControl* c = activeControl_; c; c = c->Parent())
    if (c == C) {
      activeControl_ = nullptr;
      return;
    }
}

bool TForm::TraiterTouche(int Touche, uint8_t Shift) { return OffrirTouche(*this, Touche, Shift); }
bool TForm::TraiterCaractere(char Caractere) { return OffrirCaractere(*this, Caractere); }

TFont TScreen::MessageFont() const {
  TFont f;
  f.Name = "Segoe UI";
  f.Height = 12;
  return f;
}

bool TScreen::Existe(const TForm* F) const { return std::find(forms_.begin(), forms_.end(), F) != forms_.end(); }

void TPiloteScripte::EntreeBoucle(TForm& Fiche) {
  ++Entrees;
  if (Script) Script(Fiche);
  if (ArreterSansReponse && Fiche.AttendReponse())
    if (MainLoop* b = Application().Boucle()) b->RequestStop();
}

bool TPiloteScripte::EntreeSaisie(TWinControl& Champ, const std::function<bool()>& Terminee) {
  ++Entrees;
  if (ScriptSaisie) ScriptSaisie(Champ);
  if (ArreterSansReponse && !Terminee())
    if (MainLoop* b = Application().Boucle()) b->RequestStop();
  return true;
}

IPiloteModal& TApplication::PiloteModal() {
  static TPiloteProduction production;
  return pilote_ ? *pilote_ : production;
}

bool TApplication::Idle() {
  bool fini = true;
  if (!OnIdle) return fini;
  try {
    OnIdle(this, fini);
  } catch (const std::exception& e) {
    HandleException(e);
    fini = true;
  }
  return fini;
}

void TApplication::HandleException(const std::exception& E) {
  if (OnException) {
    OnException(this, E);
    return;
  }
  std::fprintf(stderr, "%s\n", E.what());
}

void TApplication::DefinirBoucle(MainLoop* Boucle) {
  if (Boucle == boucle_) return;
  if (boucle_) Horloge::OublierBoucle(*boucle_);
  boucle_ = Boucle;
}

void TApplication::SetHint(std::string Texte) {
  if (Hint == Texte) return;
  Hint = std::move(Texte);
  if (OnHint) OnHint(this);
}

void TApplication::Terminate() {
  if (boucle_) boucle_->RequestStop();
}

TApplication& Application() {
  // Lives as long as the process: forms owned by it are freed by their units' ends.
  static TApplication* application = new TApplication;
  return *application;
}

TScreen& Screen() {
  static TScreen* ecran = new TScreen;
  return *ecran;
}

TListeFenetres DisableTaskWindows(const TForm* Sauf) {
  TListeFenetres l;
  for (int i = 0; i < Screen().FormCount(); ++i) {
    TForm* f = Screen().Forms(i);
    if (f == Sauf || !f->Visible() || !f->Enabled()) continue;
    f->SetEnabled(false);
    l.push_back(f);
  }
  return l;
}

void EnableTaskWindows(const TListeFenetres& Liste) {
  for (TForm* f : Liste)
    if (Screen().Existe(f)) f->SetEnabled(true);
}
