// The application object that drives the program: one singleton, created by class reference on
// first use, whose Lancer runs Initialiser, the main loop and Finaliser. The chain is generic up to
// TApplicationTz; TApplicationServiceWeb (ApplicationServiceWeb.h) knows the web service.
// Main thread only; SIGTERM and SIGINT end the main loop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/objects/ClasseFinalisable.h"
#include "core/values/ChaineRessource.h"
#include "platform/loop/MainLoop.h"
#include "service/ServiceNTNorvane.h"

class TApplicationNorvane {
 public:
  TApplicationNorvane();
  virtual ~TApplicationNorvane();
  TApplicationNorvane(const TApplicationNorvane&) = delete;
  TApplicationNorvane& operator=(const TApplicationNorvane&) = delete;

  // The program's file name without folder and extension.
  std::string Nom;
  // The application's title (the single-instance guard is named after it).
  std::string Titre;
  int32_t CompteurInitialisation = 0;
  TServiceNTNorvane ServiceNT;

  virtual void DefinirIdentiteService() {}
  // Shows a text to the user: here, a line of the log.
  virtual void Informer(const std::string& Titre, const std::string& Texte);
  virtual void AfficherCompteRendu(const std::string& Texte, const std::string& Trace);

  // Initialiser, then the main loop, then Finaliser in every case. An exception from Initialiser
  // skips the loop; it is written to the log and the answer is false, so that the program ends
  // with a failure status (a refused second instance, a service that cannot start).
  bool Lancer();
  // Counted: only the call that brings the count from 0 to 1 does the work (DemarrerServiceNT), and
  // only the Finaliser that brings it back from 1 to 0.
  virtual void Initialiser();
  virtual void Finaliser();
  // Runs the loop until a stop (SIGTERM, SIGINT, RequestStop) ends it.
  virtual void BoucleMessages();

  MainLoop& Boucle() { return *boucle_; }

  // In service mode: refused (Exception) when the program was not started by the service manager.
  void DemarrerServiceNT();
  // In service mode, reports the stop to the service manager when not yet done.
  void ArreterServiceNT();
  bool ModeService() const { return ServiceNT.ModeService; }
  uint32_t EtatServiceNT();
  // The program's own path, as a service's command line names it.
  static std::string CheminProgramme();

  // The end of the construction, once the most derived class exists (a C++ constructor cannot reach
  // it): the service identity, then the service mode. The holder calls it.
  void TerminerCreation();

 private:
  std::unique_ptr<MainLoop> boucle_;
};

// The level of the chain that listens to the verification service; its handlers do nothing, so it
// adds no behaviour of its own.
class TApplicationDBNorvane : public TApplicationNorvane {};

namespace ApplicationCommuneNorvane {
// The wait texts of install and removal, and the refusal of service mode outside the service manager.
extern const TChaineRessource RS_InstallationEnCours;
extern const TChaineRessource RS_DesinstallationEnCours;
extern const TChaineRessource RS_ModeServiceHorsGestionnaire;
// Registers the unit's resource strings.
void Initialiser();
}  // namespace ApplicationCommuneNorvane

// Service install and removal, each under a wait text.
class TApplicationCommuneNorvane : public TApplicationDBNorvane {
 public:
  bool ServiceCree = false;
  bool ServiceSupprime = false;
  std::string FiltreServices;

  bool CreerServiceNT();
  bool SupprimerServiceNTPropre();
  void SupprimerServicesNT(const std::string& Filtre);
};

// The timetable family's application: nothing of its own above the common one.
class TApplicationTz : public TApplicationCommuneNorvane {};

// The holder of the singleton: its class reference names the class to create, and it frees the
// singleton at shut-down (finalisable class).
class TInstanceApplicationNorvane {
 public:
  using TClasseApplication = TApplicationNorvane* (*)();
  static const TClasseFinalisable::Class* StaticClass();
  static void DefinirClasse(TClasseApplication Classe);
  static TApplicationNorvane* Instance();
  static void Finaliser();
};

TApplicationNorvane* InstanceApplication();
// The singleton as a TApplicationCommuneNorvane; EInvalidCast when it is not one.
TApplicationCommuneNorvane* InstanceApplicationCommune();
