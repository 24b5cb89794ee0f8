// Forms, the screen and the application object of the windowing layer, headless.
//
// A form is a top-level window: a position on the screen, a frame (BorderStyle) around its client
// area, a caption, and the modal loop. ShowModal disables the other task windows, tells the modal
// driver that the form enters its loop, and, unless the driver has already given the form a modal
// result, waits in the application's MainLoop (WaitUntil, without time-out) until a modal result
// is set and the close query accepts it, or until a stop is requested (the result is then 2). The
// form is then hidden and the windows it disabled are enabled again, also when the loop raises.
//
// The modal driver decides what happens when nobody is in front of the screen. The production
// driver answers before the loop: the form's own answer without a user (ReponseSansUtilisateur: 2
// unless a form says otherwise; a message dialog gives its default button). Tests install a
// scripted driver that injects input and advances the virtual clock.
//
// The screen is 1024 x 768 pixels at 96 pixels per inch, with 17-pixel scroll bars; it lists the
// forms in creation order and holds the numbered cursors. The application holds the main form, the
// loop the modal forms wait in, the idle event, the exception handler and the hint.
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controles.h"

class MainLoop;

enum class TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition : uint8_t { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum class TFormStyle : uint8_t { fsNormal, fsStayOnTop };
enum class TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
// Border icon bits.
enum : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

// Modal results.
enum : int32_t { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
                 mrAll = 8, mrNoToAll = 9, mrYesToAll = 10 };

class TForm : public TCustomControl {
 public:
  explicit TForm(TComponent* Owner);
  ~TForm() override;

  // The client area lies inside the frame of BorderStyle (none: the whole form).
  TRect ClientRect() const override;
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;
  // Frame widths: left, top (with the caption bar), right, bottom.
  TRect Cadre() const;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle Valeur);
  uint8_t BorderIcons = biSystemMenu | biMinimize | biMaximize;
  TFormStyle FormStyle = TFormStyle::fsNormal;
  TPosition Position = TPosition::poDesigned;
  bool Scaled = true;
  std::string HelpFile;
  // The form sees every key first (its OnKeyDown); a key it clears (0) goes no further.
  bool KeyPreview = false;

  // Shows the form (placing it by Position the first time it is shown) and runs OnShow.
  void Show();
  void Hide();
  // Asks the close query, runs OnClose and hides (or frees later, with caFree) the form; a modal
  // form gets the result 2 instead.
  void Close();
  virtual bool CloseQuery();
  // Runs the modal loop described above and answers the modal result.
  int32_t ShowModal();
  bool Modal() const { return modal_; }
  int32_t ModalResult() const { return modalResult_; }
  void SetModalResult(int32_t Valeur) { modalResult_ = Valeur; }
  // What the production driver answers for this form when no user is there.
  virtual int32_t ReponseSansUtilisateur() const { return mrCancel; }
  // Whether the form's loop still waits for an answer (no modal result yet, for a modal form).
  virtual bool AttendReponse() const { return modalResult_ == mrNone; }
  // Places the form by Position now.
  void Placer();

  // The form's canvas: measurements (TextWidth) in the form's font; drawing on it only records.
  TCanvas& Canvas() { return canvas_; }

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  std::function<void(TComponent* Sender, bool& CanClose)> OnCloseQuery;
  std::function<void(TComponent* Sender, TCloseAction& Action)> OnClose;

  // The control that has the focus, or nil. Setting it does what SetFocus does.
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* Controle);
  // Forgets the active control when it is C or stands on C (C leaves the form or goes).
  void OublierControle(const TControl* C);

  // Keys and characters offered to the controls as dialog keys and accelerators (see Saisie.h).
  bool TraiterTouche(int Touche, uint8_t Shift);
  bool TraiterCaractere(char Caractere);

  void Paint(TCanvas& C) override;

 protected:
  void VisibleChanged() override;
  void FontChanged() override;

 private:
  bool OffrirTouche(TWinControl& W, int Touche, uint8_t Shift);
  bool OffrirCaractere(TWinControl& W, char Caractere);

  TWinControl* activeControl_ = nullptr;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  int32_t modalResult_ = mrNone;
  bool modal_ = false;
  bool place_ = false;
  TCanvasEnregistreur canvas_;
};

// The modal driver, told of each form that enters its modal loop, and of each in-place entry
// field that enters its own loop (Terminee tells whether the entry has ended).
class IPiloteModal {
 public:
  virtual ~IPiloteModal() = default;
  virtual void EntreeBoucle(TForm& Fiche) = 0;
  // False when nobody will answer the entry (its owner then ends it as abandoned).
  virtual bool EntreeSaisie(TWinControl& Champ, const std::function<bool()>& Terminee) = 0;
};

// The production driver: sets the form's ReponseSansUtilisateur before the loop starts; nobody
// answers an entry field.
class TPiloteProduction : public IPiloteModal {
 public:
  void EntreeBoucle(TForm& Fiche) override { Fiche.SetModalResult(Fiche.ReponseSansUtilisateur()); }
  bool EntreeSaisie(TWinControl&, const std::function<bool()>&) override { return false; }
};

// The scripted driver of tests: runs Script on each form entering its loop (inject input, advance
// the virtual clock). When the script leaves the form without a modal result, the form's loop
// would wait for input that never comes: the driver then requests a stop of the application's
// loop (AttendReponse), so that a modal form ends with 2 and the test goes on; a test whose answer
// comes from events the loop handles clears ArreterSansReponse. An entry field's loop is driven
// the same way by ScriptSaisie (the entry left open: a stop is requested, unless cleared).
class TPiloteScripte : public IPiloteModal {
 public:
  std::function<void(TForm& Fiche)> Script;
  std::function<void(TWinControl& Champ)> ScriptSaisie;
  bool ArreterSansReponse = true;
  int Entrees = 0;
  void EntreeBoucle(TForm& Fiche) override;
  bool EntreeSaisie(TWinControl& Champ, const std::function<bool()>& Terminee) override;
};

// A named cursor of the screen: the resource it was loaded from and whether it was found.
struct TCurseur {
  std::string Ressource;
  bool Charge = false;
};

class TScreen {
 public:
  static constexpr int kLargeur = 1024;
  static constexpr int kHauteur = 768;
  static constexpr int kPixelsParPouce = 96;
  static constexpr int kLargeurBarreDefilement = 17;

  int Width() const { return kLargeur; }
  int Height() const { return kHauteur; }
  int PixelsPerInch() const { return kPixelsParPouce; }
  TRect DesktopRect() const { return {0, 0, kLargeur, kHauteur}; }
  // The number of colours the screen shows; -1 when it is not limited (more than 256: true colours,
  // what this screen shows unless a test says otherwise).
  int NombreCouleurs = -1;
  // The message-box font of the platform's non-client metrics.
  TFont MessageFont() const;

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TForm* Forms(int Index) const { return forms_.at(static_cast<size_t>(Index)); }
  bool Existe(const TForm* F) const;

  // The numbered cursors; 0 is the default arrow.
  std::map<int, TCurseur> Cursors;
  int Cursor = 0;

 private:
  friend class TForm;
  std::vector<TForm*> forms_;
};

class TApplication : public TComponent {
 public:
  TApplication() : TComponent(nullptr) {}

  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm* F) { mainForm_ = F; }

  // The loop modal forms and nested waits run in; nil until the program sets it.
  MainLoop* Boucle() const { return boucle_; }
  // A change of loop drops the timers armed on the former one (they stop running).
  void DefinirBoucle(MainLoop* Boucle);
  // The modal driver (the production driver while none is set).
  IPiloteModal& PiloteModal();
  void DefinirPiloteModal(IPiloteModal* Pilote) { pilote_ = Pilote; }

  // The idle event: Done left true lets the loop wait for the next event.
  std::function<void(TComponent* Sender, bool& Done)> OnIdle;
  // Runs OnIdle once; its Done (true without an event or when it raised, the exception reported).
  bool Idle();
  // Reports an exception: OnException when set, else one line on the standard error.
  std::function<void(TComponent* Sender, const std::exception& E)> OnException;
  void HandleException(const std::exception& E);

  std::string Hint;
  bool ShowHint = true;
  TNotifyEvent OnHint;
  void SetHint(std::string Texte);

  bool RightToLeft = false;
  // Asks the loop to stop (the program's end).
  void Terminate();

  // Told of each immediate repaint (tests paint then).
  std::function<void(TControl&)> SurRepeint;

 private:
  TForm* mainForm_ = nullptr;
  MainLoop* boucle_ = nullptr;
  IPiloteModal* pilote_ = nullptr;
};

TApplication& Application();
TScreen& Screen();

// The list of forms one disabling disabled.
using TListeFenetres = std::vector<TForm*>;
// Disables every visible, enabled form but Sauf and answers the list of those it disabled.
TListeFenetres DisableTaskWindows(const TForm* Sauf);
// Enables again the forms of the list that still exist.
void EnableTaskWindows(const TListeFenetres& Liste);
