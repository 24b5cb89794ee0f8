// The file component: a non-visual component that stands for an open base, holding whether it is
// loaded, whether it was modified since, whether it is active, its file name and its folder. It
// holds no data of the base; it raises an event when one of these changes, so that windows can
// update their captions and menus. Main thread only.
#pragma once

#include <memory>
#include <string>

#include "platform/gui/Controles.h"

class TFichier : public TComponent {
 public:
  explicit TFichier(TComponent* Owner = nullptr);
  // Clears the flags without raising any event.
  ~TFichier() override;

  // Stored only.
  bool Consulte = false;

  bool Charge() const { return charge_; }
  bool Modifie() const { return modifie_; }
  bool Active() const { return active_; }
  // The folder, without its trailing backslash (a drive root such as "C:\" keeps it).
  std::string Repertoire() const { return repertoire_ ? *repertoire_ : std::string(); }
  const std::string& NomFichier() const { return nomFichier_; }

  // Each stores a different value and then raises its event. Unloading also clears Modifie
  // (raising OnModifie when it was set).
  void SetCharge(bool Valeur);
  void SetModifie(bool Valeur);
  void SetActive(bool Valeur);
  void SetNomFichier(const std::string& Valeur);
  // Stores the normalised folder when none is stored yet or it differs, and raises OnNomFichier.
  void SetRepertoire(const std::string& Valeur);

  TNotifyEvent OnCharge;
  TNotifyEvent OnModifie;
  TNotifyEvent OnNomFichier;
  // Raised when Active changes.
  TNotifyEvent OnActivation;

 private:
  static void Lever(const TNotifyEvent& Evenement, TFichier* Sender) {
    if (Evenement) Evenement(Sender);
  }
  // Held in an allocation of its own, none until a folder is first set.
  std::unique_ptr<std::string> repertoire_;
  std::string nomFichier_;
  bool modifie_ = false;
  bool active_ = false;
  bool charge_ = false;
};
