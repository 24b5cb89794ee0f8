// The holder of the open base: its file (name, loaded, modified) and the two events that the service
// listens to, and the marking of the base as modified after a local change in exclusive mode. It is
// created once at start-up and owned by the application.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/vclfichi.h"

// The global holder: its four file components, and what the service adds as components it owns
// (the drawing destination, the unzip components).
class TFicheGlobales : public TComponent {
 public:
  TFicheGlobales();

  // The open base; the configuration, export and calendar-resource files.
  TFichier FichierVok;
  TFichier FichierCFG;
  TFichier FichierEXP;
  TFichier FichierResCal;
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
