#include "net/services/IEDirectory.h"

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

bool TDirectory::Exists(const std::string& Nom) {
  return fs::is_directory(Etat(Nom));
}
