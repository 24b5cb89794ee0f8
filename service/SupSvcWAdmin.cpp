#include "service/SupSvcWAdmin.h"

#include "streams/SupVersion.h"

namespace {

// The program's version record, filled once.
const TypeVersion& VersionProgramme() {
  static const TypeVersion v = [] {
    TypeVersion r;
    SupVersion::InitialiserVersion(r);
    return r;
  }();
  return v;
}

}  // namespace

std::string TSvcWAdmin::Version() {
  std::string texte;
  SupVersion::TexteVersion(VersionProgramme(), 4, true, 0, true, texte);
  return texte;
}

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
