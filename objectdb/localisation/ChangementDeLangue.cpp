#include "objectdb/localisation/ChangementDeLangue.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/values/Ansi1252.h"
#include "platform/http/ClientHttp.h"
#include "platform/ressources/FormatModule.h"

NV_DEFINE_CLASS(TModuleDeRessources, TObject)
NV_DEFINE_CLASS(TListeNotifiables, TObject)

namespace {

constexpr std::string_view kCRLF = "\r\n";

struct Etat {
  TListeNotifiables* liste = nullptr;
  bool configLue = false;
  std::string config;
  std::string cheminApplication;  // empty: the program file's folder
  IClientHttp* client = nullptr;
};

Etat& E() {
  static Etat etat;
  return etat;
}

// The user's locale name as the environment gives it: the first of LC_ALL, LC_MESSAGES, LANG that
// is set and not empty.
std::string LocaleUtilisateur() {
  for (const char* nom : {"LC_ALL", "LC_MESSAGES", "LANG"})
    if (const char* v = std::getenv(nom); v != nullptr && *v != '\0') return v;
  return std::string();
}

// "ll_CC.codeset@modifier" (or "ll-CC"): the language and the country parts; none for "C" and
// "POSIX".
void DecomposerLocale(const std::string& locale, std::string& langue, std::string& pays) {
  langue.clear();
  pays.clear();
  const std::string nom = locale.substr(0, locale.find_first_of(".@"));
  if (nom == "C" || nom == "POSIX") return;
  const std::size_t separateur = nom.find_first_of("_-");
  langue = nom.substr(0, separateur);
  if (separateur != std::string::npos) pays = nom.substr(separateur + 1);
}

std::string NomSansDossier(const std::string& fichier) {
  const std::size_t barre = fichier.find_last_of('/');
  return barre == std::string::npos ? fichier : fichier.substr(barre + 1);
}

bool EcrireFichier(const std::string& nom, const std::string& contenu) {
  std::ofstream f(nom, std::ios::binary | std::ios::trunc);
  if (!f) return false;
  f.write(contenu.data(), static_cast<std::streamsize>(contenu.size()));
  f.flush();
  return static_cast<bool>(f);
}

}  // namespace

void ChangementDeLangue::Finaliser() {
  Etat& e = E();
  delete e.liste;
  e.liste = nullptr;
  e.configLue = false;
  e.config.clear();
}

// ---------------------------------------------------------------------------------------------------
// TModuleDeRessources

TModuleDeRessources::TModuleDeRessources(const std::string& Fichier_, TCustomTraceur* Traceur_)
    : Fichier(Fichier_), Traceur(Traceur_) {}

TModuleDeRessources::~TModuleDeRessources() {
  if (Module != ModuleRessources::kAucunModule) ModuleRessources::Liberer(Module);
}

void TModuleDeRessources::TracerLigne(const std::string& Texte) {
  std::string ligne;
  if (Traceur != nullptr) Traceur->Tracer(Texte, ligne);
}

bool TModuleDeRessources::MettreAJour(const std::string& CheminMiseAJour) {
  IClientHttp* client = TImplChangementDeLangue::ClientHttp();
  std::string contenu, erreur;
  std::vector<FormatModule::TypeRessource> ressources;
  const std::string temporaire = Fichier + ".maj";
  // An HTML page (an error page of a proxy) or anything else that is not a whole module never
  // reaches the file; the old file is replaced only by a rename of the complete new one.
  const bool ok = client->Obtenir(CheminMiseAJour + NomSansDossier(Fichier), ChangementDeLangue::kAgent,
                                  ChangementDeLangue::kTailleMaximaleModule, contenu, erreur) &&
                  !contenu.starts_with("<!DOCTYPE") && FormatModule::Lire(contenu, ressources) &&
                  EcrireFichier(temporaire, contenu) && std::rename(temporaire.c_str(), Fichier.c_str()) == 0;
  if (!ok) std::remove(temporaire.c_str());
  TracerLigne(ok ? Fichier + std::string(" a été mise à jour"_ansi) : std::string("Échec de la mise à jour de "_ansi) + Fichier);
  return ok;
}

TypeHandleModule TModuleDeRessources::Charger(bool Ceder) {
  if (Module == ModuleRessources::kAucunModule) Module = ModuleRessources::ChargerFichier(Fichier);
  const TypeHandleModule module = Module;
  if (Ceder) Module = ModuleRessources::kAucunModule;
  return module;
}

void TModuleDeRessources::Installer() {
  TracerLigne("Chargement de " + Fichier);
  for (TypeHandleModule m : ModuleRessources::ModulesDuProcessus()) {
    const TypeHandleModule ancien = ModuleRessources::ModuleDeRessources(m);
    if (ancien != ModuleRessources::kAucunModule && ancien != m) ModuleRessources::Liberer(ancien);
    ModuleRessources::DefinirModuleDeRessources(m, Charger(true));
  }
}

// ---------------------------------------------------------------------------------------------------
// TListeNotifiables

bool TListeNotifiables::Ajouter(INotifiableChangementDeLangue* N) {
  if (N == nullptr || std::find(Notifiables.begin(), Notifiables.end(), N) != Notifiables.end()) return false;
  Notifiables.push_back(N);
  return true;
}

bool TListeNotifiables::Retirer(INotifiableChangementDeLangue* N) {
  const auto it = std::find(Notifiables.begin(), Notifiables.end(), N);
  if (it == Notifiables.end()) return false;
  Notifiables.erase(it);
  return true;
}

bool TListeNotifiables::ChangerModule(const std::string& Fichier, const std::string& CheminMiseAJour,
                                      TCustomTraceur* Traceur) {
  auto module = std::make_unique<TModuleDeRessources>(Fichier, Traceur);
  if (!CheminMiseAJour.empty()) (void)module->MettreAJour(CheminMiseAJour);
  const TypeHandleModule h = module->Charger(false);
  if (h == ModuleRessources::kAucunModule) return false;
  // A copy: a listener may leave the list while it is asked.
  const std::vector<INotifiableChangementDeLangue*> notifiables = Notifiables;
  for (INotifiableChangementDeLangue* n : notifiables)
    if (!n->PreparerChangement(h)) return false;
  module->Installer();
  for (INotifiableChangementDeLangue* n : notifiables) n->ValiderChangement(h);
  return true;
}

// ---------------------------------------------------------------------------------------------------
// TChangementDeLangue / TImplChangementDeLangue

bool TChangementDeLangue::AjouterNotifiable(INotifiableChangementDeLangue* N) {
  return TImplChangementDeLangue::AjouterNotifiable(N);
}
bool TChangementDeLangue::RetirerNotifiable(INotifiableChangementDeLangue* N) {
  return TImplChangementDeLangue::RetirerNotifiable(N);
}
bool TChangementDeLangue::ChangerLangue(const std::string& Locale, TCustomTraceur* Traceur) {
  return TImplChangementDeLangue::ChangerLangue(Locale, Traceur);
}

TListeNotifiables* TImplChangementDeLangue::ListeNotifiables() {
  Etat& e = E();
  if (e.liste == nullptr) e.liste = new TListeNotifiables;
  return e.liste;
}

void TImplChangementDeLangue::LibererListeSiVide() {
  Etat& e = E();
  if (e.liste != nullptr && e.liste->EstVide()) {
    delete e.liste;
    e.liste = nullptr;
  }
}

std::string TImplChangementDeLangue::CheminApplication() {
  const Etat& e = E();
  std::string chemin = e.cheminApplication;
  if (chemin.empty()) chemin = std::filesystem::path(ModuleRessources::FichierProgramme()).parent_path().string();
  if (chemin.empty() || chemin.back() != '/') chemin += '/';
  return chemin;
}

std::string TImplChangementDeLangue::LireConfig() {
  Etat& e = E();
  if (!e.configLue) {
    e.configLue = true;
    std::ifstream f(CheminApplication() + "Config.lng", std::ios::binary);
    if (f) {
      std::string contenu((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
      if (!f.bad()) e.config = std::move(contenu);
    }
  }
  return e.config;
}

std::string TImplChangementDeLangue::InfoLocale(const std::string& Locale, int32_t Genre) {
  std::string langue, pays;
  DecomposerLocale(Locale.empty() ? LocaleUtilisateur() : Locale, langue, pays);
  return Genre == 89 ? langue : Genre == 90 ? pays : std::string();
}

std::string TImplChangementDeLangue::NomModule(const std::string& Locale) {
  const std::string c = LireConfig();
  if (c.empty()) return std::string();
  const std::string langue = InfoLocale(Locale, 89);
  const std::string code = langue + "-" + InfoLocale(Locale, 90);
  std::size_t debut = 0;
  while (debut < c.size()) {
    std::size_t fin = c.find(kCRLF, debut);
    if (fin == std::string::npos) fin = c.size();
    const std::size_t egal = c.find('=', debut);
    if (egal != std::string::npos && egal < fin) {
      const std::string cle = c.substr(debut, egal - debut);
      if (cle == code || (!langue.empty() && cle == langue) || cle == "Defaut")
        return CheminApplication() + c.substr(egal + 1, fin - egal - 1);
    }
    debut = fin + kCRLF.size();
  }
  return std::string();
}

std::string TImplChangementDeLangue::LireCheminMiseAJour() {
  const std::string c = LireConfig();
  constexpr std::string_view kCle = "\r\nCheminMiseAJour=";
  const std::size_t p = c.find(kCle);
  if (p == std::string::npos) return std::string();
  const std::size_t debut = p + kCle.size();
  const std::size_t fin = c.find(kCRLF, debut);
  return c.substr(debut, fin == std::string::npos ? std::string::npos : fin - debut);
}

bool TImplChangementDeLangue::ChangerModule(const std::string& Fichier, TCustomTraceur* Traceur) {
  const bool ok = ListeNotifiables()->ChangerModule(Fichier, LireCheminMiseAJour(), Traceur);
  LibererListeSiVide();
  return ok;
}

bool TImplChangementDeLangue::AjouterNotifiable(INotifiableChangementDeLangue* N) {
  const bool ok = ListeNotifiables()->Ajouter(N);
  LibererListeSiVide();
  return ok;
}

bool TImplChangementDeLangue::RetirerNotifiable(INotifiableChangementDeLangue* N) {
  const bool ok = ListeNotifiables()->Retirer(N);
  LibererListeSiVide();
  return ok;
}

bool TImplChangementDeLangue::ChangerLangue(const std::string& Locale, TCustomTraceur* Traceur) {
  const std::string fichier = NomModule(Locale);
  return !fichier.empty() && ChangerModule(fichier, Traceur);
}

void TImplChangementDeLangue::DefinirCheminApplication(const std::string& Chemin) {
  Etat& e = E();
  e.cheminApplication = Chemin;
  e.configLue = false;
  e.config.clear();
}

void TImplChangementDeLangue::DefinirClientHttp(IClientHttp* Client) { E().client = Client; }

IClientHttp* TImplChangementDeLangue::ClientHttp() {
  static TClientHttpBeast beast;
  return E().client != nullptr ? E().client : &beast;
}
