#include "streams/NomFichierCompletHTML.h"

#include <filesystem>

#include "core/diagnostics/Debug.h"

std::string TNomFichierCompletHTML::NomComplet(const std::string& NomFichier) {
  const size_t barre = NomFichier.find_last_of("\\/");
  std::string nom = barre == std::string::npos ? NomFichier : NomFichier.substr(barre + 1);
  if (const size_t point = nom.rfind('.'); point != std::string::npos) nom.erase(point);
  while (!nom.empty() && static_cast<unsigned char>(nom.back()) <= ' ') nom.pop_back();
  std::string dossier = std::filesystem::path(Debug::Plateforme().FichierProgramme()).parent_path().string();
  if (!dossier.empty() && dossier.back() != '/') dossier += '/';
  return dossier + "Dossier_HTML/" + nom + "/index.htm";
}
