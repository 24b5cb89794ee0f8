// Reading a SOAP 1.1 request envelope (RPC style, encoded or literal use) and writing the answer or
// the fault envelope.
//
// Reading accepts UTF-8, "iso-8859-1", "windows-1252" and, with a byte-order mark, UTF-16: the
// byte-order mark decides first, then the XML declaration's encoding, then the charset of the HTTP
// Content-Type, and UTF-8 without any. It reads SOAP-ENC arrays whatever their item names, href/id
// references between elements, and nil values. It refuses a document type declaration (no entity
// is ever expanded), nesting of values deeper than kProfondeurMaximale, and references that make
// the values built add up to more than the request itself (each value read counts one, each text
// its bytes): shared references would otherwise let a small request expand without bound. Texts
// reach the operations as Windows-1252; a character that 1252 lacks becomes "?".
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
// of the wrong type): answered with a fault whose code is "SOAP-ENV:" and Code: "Client", or
// "VersionMismatch" for an envelope of another SOAP version, "MustUnderstand" for a header that
// must be understood and is not.
class EFauteClientSoap : public ESoapError {
 public:
  explicit EFauteClientSoap(std::string message, std::string code = "Client")
      : ESoapError(std::move(message)), code_(std::move(code)) {}
  const std::string& Code() const noexcept { return code_; }

 private:
  std::string code_;
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
// `charsetHttp` is the charset that the HTTP Content-Type names (empty when none). Raises
// EFauteClientSoap with a clear text for anything it cannot accept.
RequeteSoap Decoder(std::string_view corps, std::string_view actionSoap, const TRegistreInvocables& registre,
                    std::string_view charsetHttp = {});

// The charset parameter of a Content-Type value ("text/xml; charset=ISO-8859-1"), without quotes;
// empty when it names none.
std::string CharsetDe(std::string_view typeContenu);

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
