// The holder of the open base: its file (name, loaded, modified) and the two events that the service
// listens to, and the marking of the base as modified after a local change in exclusive mode. It is
// created once at start-up and owned by the application.
#pragma once

#include <functional>
#include <string>

// The open base file. Its events run after the value changed.
class TFichier {
 public:
  std::function<void(TFichier* Sender)> OnCharge;
  std::function<void(TFichier* Sender)> OnModifie;
  std::function<void(TFichier* Sender)> OnNomFichier;

  const std::string& Nom() const { return nom_; }
  bool Modifie() const { return modifie_; }
  bool Charge() const { return charge_; }
  void SetNom(const std::string& Nom);
  void SetModifie(bool Valeur);
  void SetCharge(bool Valeur);

 private:
  std::string nom_;
  bool modifie_ = false;
  bool charge_ = false;
};

class TFicheGlobales {
 public:
  TFicheGlobales();
  TFicheGlobales(const TFicheGlobales&) = delete;
  TFicheGlobales& operator=(const TFicheGlobales&) = delete;

  TFichier FichierVok;
  // The form's two event slots: the base was loaded; its name or modified state changed.
  std::function<void(TFichier* Sender)> SurBaseChargee;
  std::function<void(TFichier* Sender)> SurNomOuModification;

  void FichierVokCharge(TFichier* Sender);
  void FichierVokNomFichier(TFichier* Sender);
};

namespace EcrGlobale {

// The global holder; nil until the service creates it (and after it frees it).
TFicheGlobales*& FicheGlobales();
// Marks the open base modified when the user may change it and the client is in exclusive mode; a
// client connected normally changes the server's base, not a local file. Nil does nothing.
void MarquerBaseModifiee(TFicheGlobales* Fiche);
// Run after every received order: marks the base of the global holder.
void SignalerModification();

void Initialiser();
void Finaliser();

}  // namespace EcrGlobale
