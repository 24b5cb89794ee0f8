// Writes the seed corpus of every fuzz target with the system's own writers: `fuzz_seeds <folder>`
// makes <folder>/<Target>/<seed> files, each laid out as its target reads its input. fuzz/corpus/ in
// the source tree holds these seeds and what the fuzzers found beyond them.
#include "fuzz/seeds/Semences.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/objects/Modules.h"
#include "core/objects/ObjetInterfacable.h"
#include "reports/ModulesReports.h"

namespace Semences {

namespace {
std::filesystem::path gDossier;
}  // namespace

void Ecrire(const std::string& Cible, const std::string& Nom, const Octets& Contenu) {
  const auto dossier = gDossier / Cible;
  std::filesystem::create_directories(dossier);
  std::ofstream(dossier / Nom, std::ios::binary).write(reinterpret_cast<const char*>(Contenu.data()),
                                                        static_cast<std::streamsize>(Contenu.size()));
}

Octets Direct(uint8_t Rang, uint8_t Disposition, TObject* Objet) {
  return Octets{static_cast<uint8_t>(Rang << 2 | Disposition)} +
         Flux(Disposition, [&](TBinaryFormatter& f) { InterfaceOf<ISerializable>(Objet)->Ecrire(&f, nullptr); });
}

}  // namespace Semences

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
    return 2;
  }
  Fuzz::Demarrer();
  Semences::gDossier = argv[1];
  Semences::Core();
  Semences::Objectdb();
  Semences::Platform();
  Semences::Ui();
  Semences::Net();
  Semences::Base();
  Semences::Streams();
  Semences::Service();
  Semences::Server();
  Modules::Demarrer({ModulesReports()});
  Semences::Reports();
  Semences::ReportsPages();
  Modules::Arreter();
  return 0;
}
