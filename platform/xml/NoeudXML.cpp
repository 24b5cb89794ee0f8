#include "platform/xml/NoeudXML.h"

#include "core/values/ChaineUnicode.h"

namespace {
std::string Utf8(std::string_view Texte) { return ChaineUnicode::VersUTF8(Texte, ChaineUnicode::CP_WINDOWS_1252); }
}  // namespace

TNoeudXML TNoeudXML::AjouterFils(std::string_view Nom) {
  return TNoeudXML(noeud_.append_child(Utf8(Nom).c_str()));
}

void TNoeudXML::DefinirAttribut(std::string_view Nom, std::string_view Valeur) {
  const std::string nom = Utf8(Nom);
  pugi::xml_attribute attribut = noeud_.attribute(nom.c_str());
  if (!attribut) attribut = noeud_.append_attribute(nom.c_str());
  attribut.set_value(Utf8(Valeur).c_str());
}

void TNoeudXML::DefinirTexte(std::string_view Valeur) { noeud_.text().set(Utf8(Valeur).c_str()); }

void TNoeudXML::DefinirTexte(std::u16string_view Valeur) {
  noeud_.text().set(ChaineUnicode::DepuisUnicode(Valeur, ChaineUnicode::CP_UTF8).c_str());
}
