// Reading a SOAP 1.1 request envelope (RPC style, encoded or literal use) and writing the answer or
// the fault envelope.
//
// Reading accepts "iso-8859-1" or UTF-8 (as the XML declaration says; UTF-8 without one), SOAP-ENC
// arrays whatever their item names, href/id references between elements, and nil values. It refuses
// a document type declaration (no entity is ever expanded) and nesting of values deeper than
// kProfondeurMaximale. Texts reach the operations as Windows-1252; a character that 1252 lacks
// becomes "?".
//
// Writing is always "iso-8859-1": characters outside it are numeric character references. In
// encoded use every value carries its xsi:type; types of the types namespace use the prefix NS2,
// declared on the element that uses it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/soap/RegistreInvocables.h"

// A request the caller got wrong (malformed envelope, unknown port, operation or parameter, a value
// of the wrong type): answered with a fault whose code is "SOAP-ENV:Client".
class EFauteClientSoap : public ESoapError {
 public:
  using ESoapError::ESoapError;
};

struct RequeteSoap {
  const InterfaceInvocable* Interface = nullptr;
  const OperationSoap* Operation = nullptr;
  std::vector<ValeurSoap> Arguments;  // one per parameter, in the operation's order
};

namespace EnveloppeSoap {

inline constexpr int kProfondeurMaximale = 32;

// Decodes `corps` for the port and operation that `actionSoap` names ("namespace#operation", with or
// without surrounding double quotes); an empty action takes them from the body's first element.
// Raises EFauteClientSoap with a clear text for anything it cannot accept.
RequeteSoap Decoder(std::string_view corps, std::string_view actionSoap, const TRegistreInvocables& registre);

// The answer envelope of an operation, in the interface's use.
std::string EncoderReponse(const InterfaceInvocable& interface, const OperationSoap& operation,
                           const ValeurSoap& resultat);

// A fault envelope; `code` is "Server" or "Client"; the message is 1252 text and is escaped.
std::string EncoderFaute(std::string_view code, std::string_view message);

// 1252 text as the character data of an "iso-8859-1" XML document: markup characters escaped,
// characters outside ISO-8859-1 as numeric references, control characters that XML 1.0 cannot carry
// as "?".
void EchapperTexte(std::string& sortie, std::string_view texte1252);

}  // namespace EnveloppeSoap
