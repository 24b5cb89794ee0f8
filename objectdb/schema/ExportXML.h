// The XML export of the object database: the parts an export can hold (the registry's class tree,
// the schema of the tables, their data) and the interface through which articles, columns, tables,
// indexes and bases write their own element.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/objects/Interfaces.h"
#include "platform/xml/NoeudXML.h"

enum TypePartieXML : uint8_t { PX_Referentiel = 0, PX_Schema = 1, PX_Data = 2 };
// A set of parts in one byte: bit n is part n.
using TypePartiesXML = uint8_t;

constexpr TypePartiesXML EnsemblePartiesXML(std::initializer_list<TypePartieXML> Parties) {
  TypePartiesXML ensemble = 0;
  for (TypePartieXML p : Parties) ensemble = static_cast<TypePartiesXML>(ensemble | (1u << p));
  return ensemble;
}
constexpr bool ContientPartieXML(TypePartiesXML Parties, TypePartieXML Partie) { return (Parties >> Partie) & 1u; }

struct ISaveToXMLNode : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{1B27371E-5703-4E17-93EA-891D3BC3D737}");
  // Adds the object's element for Partie under Parent; Noeud receives it (an empty node when the
  // object writes nothing for that part).
  virtual void SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) = 0;

 protected:
  ~ISaveToXMLNode() = default;
};
