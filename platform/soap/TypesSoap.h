// The remotable types of the SOAP runtime: what a parameter or a result of an operation is on the
// wire, the registry that holds them by name, and the values that travel between the envelope and
// the operations.
//
// The built-in XML-Schema types (string, boolean, int, unsignedInt, unsignedShort, double, date,
// dateTime, NMTOKEN) are registered in the XML-Schema namespace when the registry is first used; the
// service registers its own types (keys, durations, arrays) in its types namespace and empties them
// again before each new registration. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/objects/Exceptions.h"

namespace SoapNs {
inline constexpr std::string_view XmlSchema = "http://www.w3.org/2001/XMLSchema";
inline constexpr std::string_view XmlSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";
inline constexpr std::string_view Enveloppe = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr std::string_view Encodage = "http://schemas.xmlsoap.org/soap/encoding/";
}  // namespace SoapNs

// What a value is, whatever the name it is registered under.
enum class NatureSoap : uint8_t {
  Chaine,       // text, Windows-1252 inside the system
  Booleen,
  Entier,       // signed 32-bit
  Cardinal,     // unsigned 32-bit
  Mot,          // unsigned 16-bit
  Reel,         // double
  Date,         // TDateTime, date part only on the wire
  DateHeure,    // TDateTime
  Enumeration,  // an identifier among Valeurs, held as its index
  Tableau,      // SOAP-encoded array of Element
};

struct TypeSoap;
using RefTypeSoap = std::shared_ptr<const TypeSoap>;

// A remotable type as the registry knows it.
struct TypeSoap {
  std::string Nom;        // registered name: "string", "TTzSvcWCleMatiere", "ArrayOfstring"
  std::string Namespace;  // the XML-Schema namespace for built-in types, else the types namespace
  NatureSoap Nature = NatureSoap::Chaine;
  RefTypeSoap Element;                 // the item type of an array
  std::vector<std::string> Valeurs;    // the identifiers of an enumeration, in order
  // The XML-Schema type this one restricts ("unsignedInt" for a key), empty for a built-in type and
  // for an array.
  std::string BaseXsd;

  bool EstXsd() const { return Namespace == SoapNs::XmlSchema; }
};

// A value on its way between the envelope and an operation; which member holds it follows from the
// type's nature.
struct ValeurSoap {
  int64_t Entier = 0;                // Booleen (0/1), Entier, Cardinal, Mot, Enumeration
  double Reel = 0;                   // Reel, Date, DateHeure
  std::string Texte;                 // Chaine (1252 bytes)
  std::vector<ValeurSoap> Elements;  // Tableau
};

// The registry of remotable types, in registration order.
class TRegistreTypesRemotables {
 public:
  // Holds the built-in XML-Schema types.
  TRegistreTypesRemotables();

  // Registers (or replaces, keeping its place) a type under its name.
  RefTypeSoap Enregistrer(TypeSoap type);
  // Registers a restriction of a built-in type in `ns` (a key type over "unsignedInt").
  RefTypeSoap EnregistrerRestriction(std::string nom, std::string_view ns, std::string_view baseXsd);
  // Registers an array of `element` in `ns`.
  RefTypeSoap EnregistrerTableau(std::string nom, std::string_view ns, const RefTypeSoap& element);
  // Removes a type; nothing when it is not registered.
  void Desenregistrer(std::string_view nom);

  // The type registered under `nom`, or null.
  RefTypeSoap Chercher(std::string_view nom) const;
  // The type registered under `nom`; raises ESoapError when there is none.
  RefTypeSoap Requis(std::string_view nom) const;
  const std::vector<RefTypeSoap>& Types() const { return types_; }

 private:
  std::vector<RefTypeSoap> types_;
};

// The runtime's one registry of remotable types.
TRegistreTypesRemotables& RegistreTypesRemotables();

// A failure of the SOAP runtime itself (bad registration, malformed envelope).
class ESoapError : public Exception {
 public:
  using Exception::Exception;
};

// The exception an operation raises to refuse a call: the dispatcher answers it with a SOAP fault
// carrying its message.
class ERemotableException : public Exception {
 public:
  using Exception::Exception;
};
