// Replays saved inputs through a fuzz target without libFuzzer: `fuzz_replay <Target> <path>...`,
// each path a file or a folder of files (read in name order); a folder that does not exist is
// skipped. Used by ctest on each target's corpus and saved crash inputs, so that a fault once found
// stays fixed.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/FuzzSupport.h"

namespace Fuzz {
// The entry point of the target of that name (made by the build from fuzz/targets/), or null.
using TEntree = int (*)(const uint8_t*, std::size_t);
TEntree Cible(const char* Nom);
}  // namespace Fuzz

namespace {

void Rejouer(Fuzz::TEntree Cible, const std::filesystem::path& Fichier) {
  std::ifstream in(Fichier, std::ios::binary);
  const std::vector<char> octets((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // An input of its own heap block, so that a read past its end is caught.
  std::vector<uint8_t> copie(octets.begin(), octets.end());
  Cible(copie.data(), copie.size());
}

}  // namespace

int main(int argc, char** argv) {
  const Fuzz::TEntree cible = argc > 1 ? Fuzz::Cible(argv[1]) : nullptr;
  if (cible == nullptr) {
    std::fprintf(stderr, "usage: fuzz_replay <target> <file or folder>...\n");
    return 2;
  }
  int rejoues = 0;
  for (int i = 2; i < argc; ++i) {
    const std::filesystem::path chemin(argv[i]);
    std::vector<std::filesystem::path> fichiers;
    if (std::filesystem::is_directory(chemin)) {
      for (const auto& e : std::filesystem::directory_iterator(chemin))
        if (e.is_regular_file()) fichiers.push_back(e.path());
      std::sort(fichiers.begin(), fichiers.end());
    } else if (std::filesystem::is_regular_file(chemin)) {
      fichiers.push_back(chemin);
    }
    for (const auto& f : fichiers) {
      Rejouer(cible, f);
      ++rejoues;
    }
  }
  std::printf("%d inputs replayed\n", rejoues);
  // A target whose corpus is missing would otherwise pass without testing anything.
  return rejoues > 0 ? 0 : 1;
}
