#include "service/ApplicationNorvane.h"

#include <unistd.h>

#include <filesystem>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "core/values/ChaineRessource.h"
#include "core/values/ChaineUnicode.h"
#include "platform/service/Systemd.h"
#include "platform/ui/Patience.h"
#include "platform/ui/VclDialogue.h"
#include "service/Noyau.h"
#include "service/ServiceControlManager.h"

TApplicationNorvane::TApplicationNorvane() : boucle_(std::make_unique<MainLoop>()) {
  Nom = std::filesystem::path(Noyau::ParamStr(0)).stem().string();
}

TApplicationNorvane::~TApplicationNorvane() = default;

void TApplicationNorvane::TerminerCreation() {
  DefinirIdentiteService();
  ServiceNT.DeterminerMode();
}

void TApplicationNorvane::Informer(const std::string& Titre, const std::string& Texte) {
  VclDialogue::AfficherMessage(true, Texte, Titre, VclDialogue::kInformation, VclDialogue::kOk, true);
}

void TApplicationNorvane::AfficherCompteRendu(const std::string& Texte, const std::string& Trace) {
  Patience::AfficherCompteRendu(Nom, Texte, Trace);
}

bool TApplicationNorvane::Lancer() {
  bool lance = false;
  try {
    Initialiser();
    lance = true;
    BoucleMessages();
  } catch (const std::exception& e) {
    if (!lance) VclDialogue::Ecrire(e.what());
  } catch (...) {
  }
  Finaliser();
  return lance;
}

void TApplicationNorvane::Initialiser() {
  ++CompteurInitialisation;
  if (CompteurInitialisation != 1) return;
  DemarrerServiceNT();
  // Nothing else at this level: no end of a user's session reaches the program.
}

void TApplicationNorvane::DemarrerServiceNT() {
  // Under systemd no dispatcher thread is needed: the service manager talks to the program through
  // its notify socket and SIGTERM. Started in service mode by anything else, the program has no
  // service manager to answer and ends at once.
  if (ModeService() && !Systemd::SousGestionnaire())
    throw Exception(ChaineRessource::Charger(ApplicationCommuneNorvane::RS_ModeServiceHorsGestionnaire));
}

void TApplicationNorvane::Finaliser() {
  if (CompteurInitialisation == 1) ArreterServiceNT();
  --CompteurInitialisation;
}

void TApplicationNorvane::BoucleMessages() { boucle_->Run(); }

void TApplicationNorvane::ArreterServiceNT() {
  if (ModeService()) ServiceNT.Arreter();
}

uint32_t TApplicationNorvane::EtatServiceNT() { return ServiceControlManager::EtatService(ServiceNT); }

std::string TApplicationNorvane::CheminProgramme() {
  std::error_code ec;
  const auto chemin = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? Noyau::ParamStr(0) : ChaineUnicode::DepuisUTF8(chemin.string(), 1252);
}

const TChaineRessource ApplicationCommuneNorvane::RS_InstallationEnCours{
    "ApplicationCommuneNorvane_RS_InstallationEnCours", 65208, "Création du service NT en cours ..."_ansi};
const TChaineRessource ApplicationCommuneNorvane::RS_DesinstallationEnCours{
    "ApplicationCommuneNorvane_RS_DesinstallationEnCours", 65209, "Suppression de services NT en cours ..."_ansi};
const TChaineRessource ApplicationCommuneNorvane::RS_ModeServiceHorsGestionnaire{
    "ApplicationCommuneNorvane_RS_ModeServiceHorsGestionnaire", 65210,
    "Le mode service (-svc) ne s'emploie que lancé par le gestionnaire de services (systemd) : le programme s'arrête."_ansi};

void ApplicationCommuneNorvane::Initialiser() {
  static const TChaineRessource* const kChaines[] = {&RS_InstallationEnCours, &RS_DesinstallationEnCours,
                                                     &RS_ModeServiceHorsGestionnaire};
  ChaineRessource::Enregistrer(kChaines);
}

bool TApplicationCommuneNorvane::CreerServiceNT() {
  Patience::Patienter(ChaineRessource::Charger(ApplicationCommuneNorvane::RS_InstallationEnCours), [this] {
    ServiceCree = ServiceControlManager::CreerService(ServiceNT, CheminProgramme());
  });
  return ServiceCree;
}

bool TApplicationCommuneNorvane::SupprimerServiceNTPropre() {
  Patience::Patienter(ChaineRessource::Charger(ApplicationCommuneNorvane::RS_DesinstallationEnCours),
                      [this] { ServiceSupprime = ServiceControlManager::SupprimerService(ServiceNT); });
  return ServiceSupprime;
}

void TApplicationCommuneNorvane::SupprimerServicesNT(const std::string& Filtre) {
  FiltreServices = Filtre;
  std::string rapport;
  Patience::Patienter(ChaineRessource::Charger(ApplicationCommuneNorvane::RS_DesinstallationEnCours),
                      [&] { rapport = ServiceControlManager::SupprimerServices(FiltreServices); });
  if (!rapport.empty()) Informer("", rapport);
}

namespace {
TInstanceApplicationNorvane::TClasseApplication classe = nullptr;
TApplicationNorvane* instance = nullptr;
}  // namespace

NV_DEFINE_FINALISABLE_CLASS(TInstanceApplicationNorvane)

void TInstanceApplicationNorvane::DefinirClasse(TClasseApplication Classe) { classe = Classe; }

TApplicationNorvane* TInstanceApplicationNorvane::Instance() {
  if (instance == nullptr) {
    if (classe == nullptr) throw ENonConstruit(std::string("Aucune classe d'application n'est définie"_ansi));
    instance = classe();
    instance->TerminerCreation();
    TClasseFinalisable::Enregistrer(StaticClass());
  }
  return instance;
}

void TInstanceApplicationNorvane::Finaliser() {
  delete instance;
  instance = nullptr;
}

TApplicationNorvane* InstanceApplication() { return TInstanceApplicationNorvane::Instance(); }

TApplicationCommuneNorvane* InstanceApplicationCommune() {
  auto* commune = dynamic_cast<TApplicationCommuneNorvane*>(InstanceApplication());
  if (commune == nullptr) throw EInvalidCast();
  return commune;
}
