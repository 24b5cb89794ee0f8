// Language modules for the tests: a program folder of its own (a temporary folder) with its
// "Config.lng" and module files, and the process put back as it was afterwards (no language module
// installed, the dictionary rebuilt from the program's own resources).
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "objectdb/Traduction.h"
#include "objectdb/localisation/ChangementDeLangue.h"
#include "platform/ressources/FormatModule.h"
#include "platform/ressources/ModuleRessources.h"

class DossierProgramme {
 public:
  DossierProgramme() {
    dossier_ = std::filesystem::temp_directory_path() /
               ("nv-langue-" + std::to_string(::getpid()) + "-" + std::to_string(compteur_++));
    std::filesystem::create_directories(dossier_);
    TImplChangementDeLangue::DefinirCheminApplication(dossier_.string());
  }
  ~DossierProgramme() {
    TImplChangementDeLangue::DefinirCheminApplication(std::string());
    Reinitialiser();
    std::error_code ec;
    std::filesystem::remove_all(dossier_, ec);
  }
  DossierProgramme(const DossierProgramme&) = delete;
  DossierProgramme& operator=(const DossierProgramme&) = delete;

  // The program's module gets no language module again and the dictionary reads its own resources.
  static void Reinitialiser() {
    const TypeHandleModule programme = ModuleRessources::ModuleProgramme();
    (void)ModuleRessources::Liberer(ModuleRessources::ModuleDeRessources(programme));
    ModuleRessources::DefinirModuleDeRessources(programme, ModuleRessources::kAucunModule);
    if (TDictionnaire* d = TDictionnaire::Acquerir()) {
      d->ModuleCourant = programme;
      d->Recharger();
    }
    TDictionnaire::Liberer();
  }

  std::string Chemin(const std::string& nom) const { return (dossier_ / nom).string(); }

  void Ecrire(const std::string& nom, const std::string& contenu) const {
    std::filesystem::create_directories((dossier_ / nom).parent_path());
    std::ofstream f(Chemin(nom), std::ios::binary | std::ios::trunc);
    f << contenu;
  }
  std::string Lire(const std::string& nom) const {
    std::ifstream f(Chemin(nom), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }

  // "Config.lng" is read once per process: a new one is read after the folder is given again.
  void EcrireConfig(const std::string& contenu) const {
    Ecrire("Config.lng", contenu);
    TImplChangementDeLangue::DefinirCheminApplication(dossier_.string());
  }

  // A module file holding "CHAINES" (UTF-8 text).
  void EcrireModule(const std::string& nom, const std::string& chaines) const {
    Ecrire(nom, FormatModule::Ecrire({{"CHAINES", chaines}}));
  }

 private:
  static inline int compteur_ = 0;
  std::filesystem::path dossier_;
};

// An entry of "CHAINES".
inline std::string Entree(const std::string& cle, const std::string& texte) {
  return "<chaine cle=\"" + cle + "\">" + texte + "</chaine>\r\n";
}
