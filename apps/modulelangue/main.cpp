// Packs resources into a language module file: modulelangue OUTPUT NAME=FILE... writes OUTPUT
// holding each FILE's bytes as the resource NAME. The build makes the French module from its
// "CHAINES" source this way. The file is written beside OUTPUT and renamed over it when whole.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ressources/FormatModule.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: modulelangue OUTPUT NAME=FILE...\n";
    return 2;
  }
  std::vector<FormatModule::TypeRessource> ressources;
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    const std::size_t egal = argument.find('=');
    if (egal == std::string::npos) {
      std::cerr << "modulelangue: NAME=FILE expected: " << argument << "\n";
      return 2;
    }
    std::ifstream f(argument.substr(egal + 1), std::ios::binary);
    if (!f) {
      std::cerr << "modulelangue: cannot read " << argument.substr(egal + 1) << "\n";
      return 1;
    }
    ressources.emplace_back(argument.substr(0, egal),
                            std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()));
  }
  try {
    const std::string octets = FormatModule::Ecrire(ressources);
    const std::string sortie = argv[1], temporaire = sortie + ".tmp";
    {
      std::ofstream f(temporaire, std::ios::binary | std::ios::trunc);
      f.write(octets.data(), static_cast<std::streamsize>(octets.size()));
      if (!f.flush()) throw std::runtime_error("cannot write " + temporaire);
    }
    if (std::rename(temporaire.c_str(), sortie.c_str()) != 0) throw std::runtime_error("cannot rename to " + sortie);
  } catch (const std::exception& e) {
    std::cerr << "modulelangue: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
