// The XML node of the export: Windows-1252 names, attributes and texts reach the document as UTF-8,
// and setting an attribute twice keeps one.
#include <gtest/gtest.h>

#include <sstream>

#include "core/values/Ansi1252.h"
#include "platform/xml/NoeudXML.h"

TEST(NoeudXML, TextsInWindows1252ReachTheDocumentAsUtf8) {
  pugi::xml_document document;
  TNoeudXML racine = TNoeudXML(document).AjouterFils("référentiel"_ansi);
  racine.DefinirAttribut("nom", "déjà"_ansi);
  racine.DefinirAttribut("nom", "€ œ"_ansi);
  TNoeudXML fils = racine.AjouterFils("champ");
  fils.DefinirTexte(u"été 𝄞");
  racine.AjouterFils("vide").DefinirTexte(std::string_view("a\x80z", 3));
  std::ostringstream flux;
  document.save(flux, "", pugi::format_raw | pugi::format_no_declaration);
  EXPECT_EQ(flux.str(), "<référentiel nom=\"€ œ\"><champ>été 𝄞</champ><vide>a€z</vide></référentiel>");
}
