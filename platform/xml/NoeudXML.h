// The XML node through which the object database writes its export: add a child element, set an
// attribute, set the text. Names and values are the system's Windows-1252 texts (wide texts are
// UTF-16); the document below, a pugixml tree, holds them as UTF-8.
//
// A node is a light handle on an element of a document that its caller owns: it lives no longer
// than that document.
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

class TNoeudXML {
 public:
  TNoeudXML() = default;
  explicit TNoeudXML(pugi::xml_node Noeud) : noeud_(Noeud) {}

  // A new last child element named Nom.
  TNoeudXML AjouterFils(std::string_view Nom);
  // Sets the attribute (added when missing).
  void DefinirAttribut(std::string_view Nom, std::string_view Valeur);
  // Replaces the element's text.
  void DefinirTexte(std::string_view Valeur);
  void DefinirTexte(std::u16string_view Valeur);

  bool EstVide() const { return noeud_.empty(); }
  pugi::xml_node Noeud() const { return noeud_; }

 private:
  pugi::xml_node noeud_;
};
