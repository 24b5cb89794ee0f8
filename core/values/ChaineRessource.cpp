#include "core/values/ChaineRessource.h"

#include <map>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "core/values/Format.h"

namespace ChaineRessource {

namespace {

std::map<int32_t, const TChaineRessource*>& ParIds() {
  static std::map<int32_t, const TChaineRessource*> chaines;
  return chaines;
}

TypeTraducteur& TraducteurCourant() {
  static TypeTraducteur traducteur = nullptr;
  return traducteur;
}

std::string Echapper(std::string_view texte) {
  std::string s;
  for (char c : texte) {
    switch (c) {
      case '\r': s += "\\r"; break;
      case '\n': s += "\\n"; break;
      case '"': s += "\\\""; break;
      case '\\': s += "\\\\"; break;
      default: s += c;
    }
  }
  return s;
}

}  // namespace

void Enregistrer(std::span<const TChaineRessource* const> Chaines) {
  auto& chaines = ParIds();
  for (const TChaineRessource* c : Chaines) {
    if (c->Id < kIdMinimal || c->Id > kIdMaximal)
      throw EConvertError(Format("Chaîne de ressource %s : identifiant %d hors limites"_ansi, {c->Nom, c->Id}));
    const auto it = chaines.find(c->Id);
    if (it != chaines.end() && it->second != c)
      throw EConvertError(Format("Chaînes de ressource %s et %s : même identifiant %d"_ansi, {it->second->Nom, c->Nom, c->Id}));
    for (const auto& [id, autre] : chaines)
      if (autre != c && autre->Nom == c->Nom)
        throw EConvertError(Format("Chaîne de ressource %s déclarée deux fois"_ansi, {c->Nom}));
    chaines[c->Id] = c;
  }
}

const TChaineRessource* ParId(int32_t Id) {
  const auto it = ParIds().find(Id);
  return it == ParIds().end() ? nullptr : it->second;
}

void DefinirTraducteur(TypeTraducteur T) { TraducteurCourant() = T; }
TypeTraducteur Traducteur() { return TraducteurCourant(); }

std::string Charger(const TChaineRessource& Chaine) {
  std::string texte;
  if (TraducteurCourant() != nullptr && TraducteurCourant()(Chaine, texte)) return texte;
  return std::string(Chaine.TexteIntegre);
}

std::string ChargerFormate(const TChaineRessource& Chaine, std::initializer_list<TFormatArg> Arguments) {
  try {
    return Format(Charger(Chaine), Arguments);
  } catch (const EConvertError&) {
    return Format(Chaine.TexteIntegre, Arguments);
  }
}

std::string TexteDRC() {
  std::string s =
      "/* Resource-string map of the program: the name, id and built-in text of every resource string. */\r\n"
      "\r\n";
  for (const auto& [id, c] : ParIds()) s += Format("#define %s %d\r\n", {c->Nom, id});
  s += "\r\nSTRINGTABLE\r\nBEGIN\r\n";
  for (const auto& [id, c] : ParIds()) s += "\t" + std::string(c->Nom) + ",\t\"" + Echapper(c->TexteIntegre) + "\"\r\n";
  s += "END\r\n";
  return s;
}

}  // namespace ChaineRessource
