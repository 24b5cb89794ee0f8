#include "platform/soap/TypesSoap.h"

#include <algorithm>

TRegistreTypesRemotables::TRegistreTypesRemotables() {
  const struct {
    const char* nom;
    NatureSoap nature;
  } kXsd[] = {
      {"string", NatureSoap::Chaine},     {"boolean", NatureSoap::Booleen},
      {"int", NatureSoap::Entier},        {"unsignedInt", NatureSoap::Cardinal},
      {"unsignedShort", NatureSoap::Mot}, {"double", NatureSoap::Reel},
      {"date", NatureSoap::Date},         {"dateTime", NatureSoap::DateHeure},
      {"NMTOKEN", NatureSoap::Chaine},
  };
  for (const auto& t : kXsd) Enregistrer({t.nom, std::string(SoapNs::XmlSchema), t.nature, nullptr, {}, {}});
}

RefTypeSoap TRegistreTypesRemotables::Enregistrer(TypeSoap type) {
  auto ref = std::make_shared<const TypeSoap>(std::move(type));
  auto it = std::find_if(types_.begin(), types_.end(), [&](const RefTypeSoap& t) { return t->Nom == ref->Nom; });
  if (it != types_.end())
    *it = ref;
  else
    types_.push_back(ref);
  return ref;
}

RefTypeSoap TRegistreTypesRemotables::EnregistrerRestriction(std::string nom, std::string_view ns,
                                                             std::string_view baseXsd) {
  RefTypeSoap base = Requis(baseXsd);
  if (!base->EstXsd()) throw ESoapError("The base of a restriction must be an XML-Schema type: " + std::string(baseXsd));
  return Enregistrer({std::move(nom), std::string(ns), base->Nature, nullptr, {}, std::string(baseXsd)});
}

RefTypeSoap TRegistreTypesRemotables::EnregistrerTableau(std::string nom, std::string_view ns,
                                                         const RefTypeSoap& element) {
  if (!element) throw ESoapError("An array needs an item type: " + nom);
  return Enregistrer({std::move(nom), std::string(ns), NatureSoap::Tableau, element, {}, {}});
}

void TRegistreTypesRemotables::Desenregistrer(std::string_view nom) {
  std::erase_if(types_, [&](const RefTypeSoap& t) { return t->Nom == nom; });
}

RefTypeSoap TRegistreTypesRemotables::Chercher(std::string_view nom) const {
  for (const auto& t : types_)
    if (t->Nom == nom) return t;
  return nullptr;
}

RefTypeSoap TRegistreTypesRemotables::Requis(std::string_view nom) const {
  RefTypeSoap t = Chercher(nom);
  if (!t) throw ESoapError("Remotable type not registered: " + std::string(nom));
  return t;
}

TRegistreTypesRemotables& RegistreTypesRemotables() {
  static TRegistreTypesRemotables registre;
  return registre;
}
