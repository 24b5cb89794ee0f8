// The language module: the module file format, the "CHAINES" resource and the resource-string map
// ("DRC") that the dictionary reads, and "Config.lng". Input: one byte chooses the reader, the rest is
// its bytes.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "objectdb/Traduction.h"
#include "objectdb/columns/ChampInteger.h"
#include "platform/ressources/FormatModule.h"
#include "platform/ressources/ModuleRessources.h"

namespace {

// Every row of a loaded table is found again by its key, and a resource string by its id.
void VerifierTable(TTableTraductions& Table, bool Ressources) {
  const int32_t lignes = Table.NombreArticles;
  for (int32_t l = 0; l < lignes; ++l) {
    const auto ligne = static_cast<uint32_t>(l);
    Fuzz::Verifier(Table.LigneExiste(l), "the loaders leave no hole among the rows");
    Fuzz::Verifier(Table.ChercherParCle(Table.Cle(ligne)) != kAucuneLigne, "a row is found by its key");
    Fuzz::Verifier(Table.Chaine(ligne) != nullptr, "a row holds its text");
    if (Ressources) {
      const int32_t id = static_cast<TChampInteger*>(Table.GetChamp(TTraduction::kIdRessource))->GetValeur(l);
      Fuzz::Verifier(Table.ChercherParRessource(id, 7) != kAucuneLigne, "a resource string is found by its id");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t choix = octets.Octet();
  const std::string reste(octets.Reste());
  switch (choix % 4) {
    case 0: {
      std::vector<FormatModule::TypeRessource> ressources;
      if (FormatModule::Lire(reste, ressources))
        Fuzz::Verifier(FormatModule::Ecrire(ressources) == reste, "a module read back writes the same bytes");
      break;
    }
    case 1: {
      ModuleRessources::DefinirRessourceProgramme("CHAINES", [&] { return reste; });
      TTableTraductions table;
      TDictionnaire::ChargerChaines(ModuleRessources::ModuleProgramme(), &table);
      ModuleRessources::DefinirRessourceProgramme("CHAINES", nullptr);
      VerifierTable(table, false);
      break;
    }
    case 3: {
      // "Config.lng" in a folder of the fuzzer's own.
      struct Dossier {
        std::filesystem::path chemin =
            std::filesystem::temp_directory_path() / ("nv-fuzz-langue-" + std::to_string(::getpid()));
        Dossier() { std::filesystem::create_directories(chemin); }
        ~Dossier() {
          std::error_code ec;
          std::filesystem::remove_all(chemin, ec);
        }
      };
      static const Dossier d;
      const std::filesystem::path& dossier = d.chemin;
      std::ofstream(dossier / "Config.lng", std::ios::binary | std::ios::trunc) << reste;
      TImplChangementDeLangue::DefinirCheminApplication(dossier.string());
      const std::string module = TImplChangementDeLangue::NomModule("fr_FR");
      Fuzz::Verifier(module.empty() || module.starts_with(TImplChangementDeLangue::CheminApplication()),
                     "a module is named relative to the program's folder");
      const std::string chemin = TImplChangementDeLangue::LireCheminMiseAJour();
      Fuzz::Verifier(chemin.find("\r\n") == std::string::npos, "the update path is one line");
      break;
    }
    default: {
      TTableTraductions table;
      TDictionnaire::ChargerDRC(&table, reste, 7);
      VerifierTable(table, true);
    }
  }
  return 0;
}
