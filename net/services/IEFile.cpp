#include "net/services/IEFile.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {
fs::file_status Etat(const std::string& Nom) {
  std::error_code ec;
  if (Nom.empty()) return fs::file_status(fs::file_type::not_found);
  return fs::status(Nom, ec);
}
}  // namespace

bool TFile::Exists(const std::string& Nom) {
  const fs::file_status e = Etat(Nom);
  return fs::exists(e) && !fs::is_directory(e);
}
