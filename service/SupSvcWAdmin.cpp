#include "service/SupSvcWAdmin.h"

#include "service/TexteCle.h"

namespace {

// The program's version record, filled once at start-up.
struct VersionProgramme {
  std::string Nom = "TEMPRAVO";
  int Majeure = 5, Mineure = 0, Edition = 6, Construction = 1;
};

const VersionProgramme& Version() {
  static const VersionProgramme v;
  return v;
}

// The version text with the product name, the web service's kind word and four parts: the major
// shown as its year (4: 2006, 5: 2007), then " - " and the minor, "." release, "." build.
std::string TexteVersionServiceWeb(const VersionProgramme& v) {
  std::string majeure = v.Majeure == 4 ? "2006" : v.Majeure == 5 ? "2007" : std::to_string(v.Majeure);
  return v.Nom + " " + TexteCle("SupVersionServiceWeb") + " " + majeure + (v.Majeure >= 4 ? " - " : ".") +
         std::to_string(v.Mineure) + "." + std::to_string(v.Edition) + "." + std::to_string(v.Construction);
}

}  // namespace

std::string TSvcWAdmin::Version() { return TexteVersionServiceWeb(::Version()); }

namespace SupSvcWAdmin {

void Enregistrer(std::string_view, std::string_view encodage, uint16_t options) {
  InterfaceInvocable i;
  i.Nom = "ITzSvcWAdmin";
  i.Guid = "{5E0C2A31-7B4D-4C1E-9A52-2D8F6B1E0A01}";
  i.Namespace = kNamespace;
  i.Encodage = encodage;
  i.Options = options;
  i.Operations.push_back(
      OperationDe("Version", &TSvcWAdmin::Version, {}, RegistreTypesRemotables().Requis("string")));
  i.NomClasse = "TSvcWAdmin";
  i.Fabrique = [] { return std::make_unique<TSvcWAdmin>(); };
  RegistreInvocables().Enregistrer(std::move(i));
}

}  // namespace SupSvcWAdmin
