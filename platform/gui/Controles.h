// The component and control model of the windowing layer, headless.
//
// TComponent: an owner frees what it owns (in reverse order of insertion) when it goes, and a
// component leaving its owner tells it (Notification), so an owner never holds a freed component.
// Names are looked up without case among the owned components.
//
// TControl: a rectangle in its parent's client coordinates, with visibility, enabled state,
// caption, colour, font (taken from the parent while ParentFont), alignment in the parent, and the
// mouse and key hooks that input injection (Saisie.h) calls. TWinControl holds child controls,
// aligns them inside its client rectangle (AdjustClientRect says what a border takes off) and
// frees the children it still holds when it goes. A control is windowless (TGraphicControl) or
// windowed (TWinControl); painting draws windowless children under windowed ones, as the platform
// does.
//
// Nothing is painted by itself: Peindre paints a control and its children on a canvas on demand
// (tests, pictures). Repaint and Update count the immediate repaints a caller asked for
// (NombreRepeints), which is what a headless screen can observe of them.
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/objects/Exceptions.h"
#include "platform/gui/Graphiques.h"

class TComponent;
class TControl;
class TWinControl;
class TForm;

using TNotifyEvent = std::function<void(TComponent* Sender)>;

// An operation the state of the control does not allow (a modal form already shown, ...).
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

class TComponent {
 public:
  explicit TComponent(TComponent* Owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // A class may follow its renaming (a label shows its new name).
  virtual void SetName(std::string Nom) { name_ = std::move(Nom); }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int Index) const { return components_.at(static_cast<size_t>(Index)); }
  // The owned component of that name (without case), or nil.
  TComponent* FindComponent(std::string_view Nom) const;
  // Moves the component to another owner (nil: none).
  void ChangerProprietaire(TComponent* Proprietaire);

  int Tag = 0;

 protected:
  // Told when a component it owns is inserted (Insertion true) or leaves (false).
  virtual void Notification(TComponent* Composant, bool Insertion) { (void)Composant, (void)Insertion; }
  // True while the destructor of TComponent frees the owned components.
  bool EnDestruction() const { return destroying_; }
  void MarquerDestruction() { destroying_ = true; }

 private:
  TComponent* owner_ = nullptr;
  std::string name_;
  std::vector<TComponent*> components_;
  bool destroying_ = false;
};

enum class TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
// Shift state bits.
enum : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
// Anchor bits.
enum : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
// Virtual key codes.
enum : int { VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34,
             VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_DELETE = 46 };
// The keys a focused control takes itself instead of leaving them to the form's dialog handling
// (CodesDialogue): arrows, Tab, Enter and Escape, characters.
enum : uint32_t { DLGC_WANTARROWS = 0x1, DLGC_WANTTAB = 0x2, DLGC_WANTALLKEYS = 0x4, DLGC_WANTCHARS = 0x80 };

using TMouseEvent = std::function<void(TComponent* Sender, TMouseButton Bouton, uint8_t Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TComponent* Sender, uint8_t Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TComponent* Sender, int& Touche, uint8_t Shift)>;
using TKeyPressEvent = std::function<void(TComponent* Sender, char& Caractere)>;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* Owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* Parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int Left, int Top, int Width, int Height);
  TRect BoundsRect() const { return Bornes(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // The client area, in the control's own coordinates (the whole control unless a window frame
  // takes some of it: forms).
  virtual TRect ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientWidth(int v) { SetWidth(v); }
  virtual void SetClientHeight(int v) { SetHeight(v); }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign Valeur);
  uint8_t Anchors = akLeft | akTop;

  bool Visible() const { return visible_; }
  void SetVisible(bool Valeur);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent visible up to a form that is shown.
  bool Showing() const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Valeur);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string Valeur);

  TColor Color() const { return color_; }
  void SetColor(TColor Valeur);
  bool ParentColor = false;

  // The control's font; while ParentFont is true it follows its parent's font.
  const TFont& Font() const { return font_; }
  TFont& FontModifiable();
  void SetFont(const TFont& Valeur);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool Valeur);

  std::string Hint;
  bool ShowHint = false;
  int Cursor = 0;
  // Right-to-left reading order (the application's bidirectional mode).
  bool RightToLeft = false;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;

  // Paints the control itself on C, whose origin is the control's top-left.
  virtual void Paint(TCanvas& C) { (void)C; }
  // Asks for a repaint later (headless: remembered only).
  virtual void Invalidate() { invalide_ = true; }
  bool Invalide() const { return invalide_; }
  // Repaints at once: counted (NombreRepeints) and handed to the application's paint hook.
  void Repaint();
  void Update() { Repaint(); }
  int NombreRepeints() const { return repeints_; }

  // The form the control stands on (itself for a form), or nil.
  TForm* FormeParente();
  // Client coordinates of the control to coordinates of the screen and back.
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;

  // Input, as the injection delivers it (coordinates in the control's client area).
  virtual void MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y);
  virtual void MouseMove(uint8_t Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y);
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void DblClick();
  virtual void Click();
  // The wheel turned by Delta (positive away from the user) over P: true when taken.
  virtual bool MouseWheel(uint8_t Shift, int Delta, TPoint P) { (void)Shift, (void)Delta, (void)P; return false; }
  // A key or a character delivered to the focused control (see Saisie.h); the default raises the
  // events. A handler may clear the key (0) to say it took it.
  virtual void KeyDown(int& Touche, uint8_t Shift);
  virtual void KeyPress(char& Caractere);
  // The DLGC_ bits of the keys the control takes itself while it has the focus.
  virtual uint32_t CodesDialogue() const { return 0; }
  // A key the form offers its controls before anything else (Enter, Escape): true when taken.
  virtual bool DialogKey(int Touche, uint8_t Shift) { (void)Touche, (void)Shift; return false; }
  // A character the form offers as an accelerator: true when taken.
  virtual bool DialogChar(char Caractere) { (void)Caractere; return false; }
  // A broadcast from the parent to its controls (group changes of buttons).
  virtual void Diffusion(int Message, intptr_t Parametre) { (void)Message, (void)Parametre; }
  // Whether the control is windowed (TWinControl) and so painted over the windowless ones.
  virtual bool Fenetre() const { return false; }

 protected:
  // Hooks run after a change.
  virtual void BoundsChanged() {}
  virtual void EnabledChanged() { Invalidate(); }
  virtual void TextChanged() { Invalidate(); }
  virtual void FontChanged() { Invalidate(); }
  virtual void VisibleChanged() {}
  void ParentFontChanged();
  friend class TWinControl;

 private:
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentFont_ = true;
  bool invalide_ = false;
  int repeints_ = 0;
  std::string caption_;
  TColor color_ = Couleurs::clBtnFace;
  TFont font_;
};

// A windowless control (labels, images, speed buttons).
class TGraphicControl : public TControl {
 public:
  using TControl::TControl;
};

// A control that holds child controls and aligns them.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* Owner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int Index) const { return controls_.at(static_cast<size_t>(Index)); }
  bool Contient(const TControl* C) const;
  // Lays the aligned children out in the client rectangle less AdjustClientRect's edges: top ones
  // first (in order of their tops), then bottom, left, right, and the client one in what is left.
  void Realign();
  // The rectangle children are aligned in; a border or bevel takes its edges off.
  virtual void AdjustClientRect(TRect& R) const { (void)R; }
  // The deepest visible child under P (client coordinates), or nil.
  TControl* ControlAtPos(TPoint P) const;
  // Sends Message to every child control.
  void Broadcast(int Message, intptr_t Parametre);
  bool Fenetre() const override { return true; }

  bool TabStop = false;

  // Focus: a control can take it when it and its parents are visible and enabled on a form that is
  // shown and enabled. SetFocus makes it the form's active control (raising OnExit on the former
  // one, then OnEnter); a control that cannot take it raises EInvalidOperation.
  bool CanFocus() const;
  void SetFocus();
  bool Focused() const;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  virtual void DoEnter();
  virtual void DoExit();

 protected:
  void BoundsChanged() override { Realign(); }
  void FontChanged() override;

 private:
  friend class TControl;
  void InsererControle(TControl* C);
  void RetirerControle(TControl* C);
  std::vector<TControl*> controls_;
  bool aligning_ = false;
};

// A windowed control that paints itself (panels).
class TCustomControl : public TWinControl {
 public:
  using TWinControl::TWinControl;
};

// Paints C (at the canvas's current origin) and then its visible children, each at its own
// position and clipped to its bounds: windowless children first, windowed ones over them.
void Peindre(TControl& C, TCanvas& Canvas);

// The platform's three-dimensional frame: Largeur rings, each drawn inside R with the top-left
// sides in Haut and the bottom-right sides in Bas; R shrinks by one pixel per ring.
void Cadre3D(TCanvas& C, TRect& R, TColor Haut, TColor Bas, int Largeur);
