#include "platform/gui/Controles.h"

#include <algorithm>

#include "platform/gui/Fiches.h"
#include "platform/gui/Saisie.h"

namespace {

bool MemeNom(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

TComponent::TComponent(TComponent* Owner) { ChangerProprietaire(Owner); }

TComponent::~TComponent() {
  destroying_ = true;
  // Each owned component removes itself from the list as it goes.
  while (!components_.empty()) delete components_.back();
  ChangerProprietaire(nullptr);
}

TComponent* TComponent::FindComponent(std::string_view Nom) const {
  if (Nom.empty()) return nullptr;
  for (TComponent* c : components_)
    if (MemeNom(c->name_, Nom)) return c;
  return nullptr;
}

void TComponent::ChangerProprietaire(TComponent* Proprietaire) {
  if (owner_ == Proprietaire) return;
  if (owner_) {
    auto& l = owner_->components_;
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
    owner_->Notification(this, false);
  }
  owner_ = Proprietaire;
  if (owner_) {
    owner_->components_.push_back(this);
    owner_->Notification(this, true);
  }
}

TControl::TControl(TComponent* Owner) : TComponent(Owner) {}

TControl::~TControl() {
  Saisie::Oublier(this);
  SetParent(nullptr);
}

void TControl::SetParent(TWinControl* Parent) {
  if (parent_ == Parent) return;
  if (Parent == this) throw EInvalidOperation("A control cannot be its own parent");
  if (parent_)
    if (TForm* f = FormeParente()) f->OublierControle(this);
  if (parent_) parent_->RetirerControle(this);
  parent_ = nullptr;
  if (Parent) Parent->InsererControle(this);
  parent_ = Parent;
  if (parent_) {
    if (parentFont_) ParentFontChanged();
    if (ParentColor) color_ = parent_->Color();
    parent_->Realign();
  }
}

void TControl::SetBounds(int Left, int Top, int Width, int Height) {
  if (Left == left_ && Top == top_ && Width == width_ && Height == height_) return;
  const bool taille = Width != width_ || Height != height_;
  left_ = Left;
  top_ = Top;
  width_ = Width;
  height_ = Height;
  Invalidate();
  BoundsChanged();
  if (taille && OnResize) OnResize(this);
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetAlign(TAlign Valeur) {
  if (align_ == Valeur) return;
  align_ = Valeur;
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool Valeur) {
  if (visible_ == Valeur) return;
  visible_ = Valeur;
  VisibleChanged();
  if (parent_) parent_->Realign();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool Valeur) {
  if (enabled_ == Valeur) return;
  enabled_ = Valeur;
  EnabledChanged();
}

void TControl::SetCaption(std::string Valeur) {
  if (caption_ == Valeur) return;
  caption_ = std::move(Valeur);
  TextChanged();
}

void TControl::SetColor(TColor Valeur) {
  ParentColor = false;
  if (color_ == Valeur) return;
  color_ = Valeur;
  Invalidate();
}

TFont& TControl::FontModifiable() {
  parentFont_ = false;
  Invalidate();
  return font_;
}

void TControl::SetFont(const TFont& Valeur) {
  parentFont_ = false;
  if (font_ == Valeur) return;
  font_ = Valeur;
  FontChanged();
}

void TControl::SetParentFont(bool Valeur) {
  parentFont_ = Valeur;
  if (parentFont_ && parent_) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parent_ || !parentFont_) return;
  font_ = parent_->Font();
  FontChanged();
}

void TControl::Repaint() {
  ++repeints_;
  invalide_ = false;
  if (auto& hook = Application().SurRepeint) hook(*this);
}

TForm* TControl::FormeParente() {
  TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TForm*>(c);
}

TPoint TControl::ClientToScreen(TPoint P) const {
  const TRect client = ClientRect();
  TPoint r{P.X + left_ + client.Left, P.Y + top_ + client.Top};
  if (parent_) return parent_->ClientToScreen(r);
  return r;
}

TPoint TControl::ScreenToClient(TPoint P) const {
  const TPoint o = ClientToScreen({0, 0});
  return {P.X - o.X, P.Y - o.Y};
}

void TControl::MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Bouton, Shift, X, Y);
}
void TControl::MouseMove(uint8_t Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TControl::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Bouton, Shift, X, Y);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::KeyDown(int& Touche, uint8_t Shift) {
  if (OnKeyDown) OnKeyDown(this, Touche, Shift);
}
void TControl::KeyPress(char& Caractere) {
  if (OnKeyPress) OnKeyPress(this, Caractere);
}

bool TWinControl::CanFocus() const {
  const TControl* c = this;
  for (; c->Parent(); c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return dynamic_cast<const TForm*>(c) && c->Visible() && c->Enabled();
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FormeParente()->SetActiveControl(this);
}

bool TWinControl::Focused() const {
  const TControl* c = this;
  while (c->Parent()) c = c->Parent();
  const auto* f = dynamic_cast<const TForm*>(c);
  return f && f->ActiveControl() == this;
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

TWinControl::TWinControl(TComponent* Owner) : TControl(Owner) {}

TWinControl::~TWinControl() {
  MarquerDestruction();
  while (!controls_.empty()) delete controls_.back();
}

bool TWinControl::Contient(const TControl* C) const {
  return std::find(controls_.begin(), controls_.end(), C) != controls_.end();
}

void TWinControl::InsererControle(TControl* C) { controls_.push_back(C); }

void TWinControl::RetirerControle(TControl* C) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), C), controls_.end());
  if (!EnDestruction()) Realign();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : controls_)
    if (c->ParentFont()) c->ParentFontChanged();
}

void TWinControl::Realign() {
  if (aligning_ || EnDestruction()) return;
  aligning_ = true;
  TRect r{0, 0, ClientWidth(), ClientHeight()};
  AdjustClientRect(r);
  auto placer = [&](TAlign a) {
    std::vector<TControl*> l;
    for (TControl* c : controls_)
      if (c->Visible() && c->Align() == a) l.push_back(c);
    auto cle = [a](const TControl* c) {
      switch (a) {
        case TAlign::alTop: return c->Top();
        case TAlign::alBottom: return -(c->Top() + c->Height());
        case TAlign::alLeft: return c->Left();
        case TAlign::alRight: return -(c->Left() + c->Width());
        default: return 0;
      }
    };
    std::stable_sort(l.begin(), l.end(), [&](const TControl* x, const TControl* y) { return cle(x) < cle(y); });
    for (TControl* c : l) {
      switch (a) {
        case TAlign::alTop:
          c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
          r.Top += c->Height();
          break;
        case TAlign::alBottom:
          c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
          r.Bottom -= c->Height();
          break;
        case TAlign::alLeft:
          c->SetBounds(r.Left, r.Top, c->Width(), r.Height());
          r.Left += c->Width();
          break;
        case TAlign::alRight:
          c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), r.Height());
          r.Right -= c->Width();
          break;
        case TAlign::alClient:
          c->SetBounds(r.Left, r.Top, std::max(r.Width(), 0), std::max(r.Height(), 0));
          break;
        default:
          break;
      }
    }
  };
  placer(TAlign::alTop);
  placer(TAlign::alBottom);
  placer(TAlign::alLeft);
  placer(TAlign::alRight);
  placer(TAlign::alClient);
  aligning_ = false;
}

TControl* TWinControl::ControlAtPos(TPoint P) const {
  // Windowed children stand over windowless ones, later ones over earlier ones.
  for (int passe = 0; passe < 2; ++passe) {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
      TControl* c = *it;
      if (c->Fenetre() != (passe == 0) || !c->Visible() || !c->BoundsRect().Contient(P)) continue;
      if (auto* w = dynamic_cast<TWinControl*>(c)) {
        const TRect cr = w->ClientRect();
        if (TControl* d = w->ControlAtPos({P.X - c->Left() - cr.Left, P.Y - c->Top() - cr.Top})) return d;
      }
      return c;
    }
  }
  return nullptr;
}

void TWinControl::Broadcast(int Message, intptr_t Parametre) {
  const std::vector<TControl*> l = controls_;
  for (TControl* c : l) c->Diffusion(Message, Parametre);
}

void Peindre(TControl& C, TCanvas& Canvas) {
  TSauvegardeCanvas sauvegarde(Canvas);
  C.Paint(Canvas);
  auto* w = dynamic_cast<TWinControl*>(&C);
  if (!w) return;
  const TRect client = C.ClientRect();
  const TPoint origine = Canvas.Origine;
  const TRect* clipParent = Canvas.Clip();
  const TRect limite = clipParent ? *clipParent : TRect{-1000000, -1000000, 1000000, 1000000};
  for (int passe = 0; passe < 2; ++passe) {
    for (int i = 0; i < w->ControlCount(); ++i) {
      TControl* c = w->Controls(i);
      if (!c->Visible() || c->Fenetre() != (passe == 1)) continue;
      TSauvegardeCanvas s(Canvas);
      Canvas.Origine = {origine.X + client.Left + c->Left(), origine.Y + client.Top + c->Top()};
      TRect bornes = Bornes(Canvas.Origine.X, Canvas.Origine.Y, c->Width(), c->Height());
      bornes = Intersection(bornes, limite);
      const TPoint o = Canvas.Origine;
      Canvas.Origine = {0, 0};
      Canvas.DefinirClip(bornes);
      Canvas.Origine = o;
      Peindre(*c, Canvas);
    }
  }
}

void Cadre3D(TCanvas& C, TRect& R, TColor Haut, TColor Bas, int Largeur) {
  const TPen ancien = C.Pen;
  C.Pen.Width = 1;
  C.Pen.Style = TPenStyle::psSolid;
  for (int i = 0; i < Largeur && !R.Vide(); ++i) {
    C.Pen.Color = Haut;
    C.MoveTo(R.Left, R.Bottom - 1);
    C.LineTo(R.Left, R.Top);
    C.LineTo(R.Right - 1, R.Top);
    C.Pen.Color = Bas;
    C.MoveTo(R.Right - 1, R.Top);
    C.LineTo(R.Right - 1, R.Bottom - 1);
    C.LineTo(R.Left - 1, R.Bottom - 1);
    R = R.Reduit(1, 1);
  }
  C.Pen = ancien;
}
