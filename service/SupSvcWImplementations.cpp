#include "service/SupSvcWImplementations.h"

#include "platform/soap/RegistreInvocables.h"
#include "service/SupSvcWAdmin.h"

namespace SupSvcWImplementations {
namespace {

void ViderRegistres() {
  TRegistreInvocables& invocables = RegistreInvocables();
  while (!invocables.Interfaces().empty()) {
    std::string nom = invocables.Interfaces().front().Nom;
    invocables.DesenregistrerClasse(nom);
    invocables.Desenregistrer(nom);
  }
  TRegistreTypesRemotables& types = RegistreTypesRemotables();
  for (bool encore = true; encore;) {
    encore = false;
    for (const RefTypeSoap& t : types.Types())
      if (!t->EstXsd()) {
        types.Desenregistrer(std::string(t->Nom));
        encore = true;
        break;
      }
  }
}

void EnregistrerTypesPartages() {
  TRegistreTypesRemotables& types = RegistreTypesRemotables();
  // The durations take the place of the plain double.
  types.Desenregistrer("double");
  RefTypeSoap duree = types.Enregistrer(
      {"TTzSvcWDuree", std::string(kNamespaceTypes), NatureSoap::Reel, nullptr, {}, "double"});
  types.EnregistrerTableau("ArrayOfTTzSvcWDuree", kNamespaceTypes, duree);
  RefTypeSoap semaine = types.EnregistrerRestriction("TTzSvcWSemaine", kNamespaceTypes, "unsignedShort");
  types.EnregistrerTableau("ArrayOfTTzSvcWSemaine", kNamespaceTypes, semaine);
  types.EnregistrerTableau("ArrayOfstring", kNamespaceTypes, types.Requis("string"));
  types.EnregistrerTableau("ArrayOfunsignedInt", kNamespaceTypes, types.Requis("unsignedInt"));
  types.EnregistrerTableau("ArrayOfdateTime", kNamespaceTypes, types.Requis("dateTime"));
}

void RemplacerTout(std::string& s, std::string_view de, std::string_view par) {
  for (size_t p = s.find(de); p != std::string::npos; p = s.find(de, p + par.size())) s.replace(p, de.size(), par);
}

}  // namespace

void EnregistrerServicesWeb(std::string_view encodage, uint16_t options) {
  ViderRegistres();
  EnregistrerTypesPartages();
  // The ports, in the order of the WSDL.
  SupSvcWAdmin::Enregistrer(kNamespaceTypes, encodage, options);
}

std::string RemplacerTypesParTypesDeBase(std::string_view texte) {
  std::string s(texte);
  static constexpr std::string_view kCles[] = {
      "TTzSvcWCleMatiereType", "TTzSvcWCleMatiere",      "TTzSvcWCleModule",     "TTzSvcWCleCursus",
      "TTzSvcWCleEnseignant",  "TTzSvcWCleDiplome",      "TTzSvcWClePartition",  "TTzSvcWCleTDOption",
      "TTzSvcWCleEtudiant",    "TTzSvcWCleRegroupement", "TTzSvcWCleSalle",      "TTzSvcWCleCours",
      "TTzSvcWCleFamille",     "TTzSvcWCleRubrique"};
  for (std::string_view cle : kCles) RemplacerTout(s, "NS2:" + std::string(cle), "xsd:unsignedInt");
  RemplacerTout(s, "NS2:TTzSvcWPlacementSeances", "xsd:NMTOKEN");
  RemplacerTout(s, "NS2:TTzSvcWDuree", "xsd:double");
  RemplacerTout(s, "NS2:TTzSvcWSemaine", "xsd:unsignedShort");
  // The declarations go last, and only from start tags that no longer use the prefix: an array
  // keeps its own type name, which must stay bound.
  const std::string declaration = " xmlns:NS2=\"" + std::string(kNamespaceTypes) + "\"";
  for (size_t p = s.find(declaration); p != std::string::npos; p = s.find(declaration, p)) {
    size_t debut = s.rfind('<', p);
    size_t fin = s.find('>', p);
    std::string_view balise(s.data() + debut, (fin == std::string::npos ? s.size() : fin) - debut);
    if (balise.find("\"NS2:") != std::string_view::npos) {
      p += declaration.size();
      continue;
    }
    s.erase(p, declaration.size());
  }
  return s;
}

}  // namespace SupSvcWImplementations
