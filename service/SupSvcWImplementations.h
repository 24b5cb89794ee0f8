// The registration of the SOAP ports and of the service's shared remotable types, done again at
// every start of the HTTP server for the chosen use (encoded or literal) so that the decoding, the
// answers and the published WSDL agree; and the optional rewrite of answers to XML-Schema base types.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace SupSvcWImplementations {

// The namespace of every remotable type of the service (the WSDL's target namespace, prefix tz).
inline constexpr std::string_view kNamespaceTypes = "http://tzsvcw.invalid/zavode/TzSvcW.html";
// The encoding of the WSDL and of the answers.
inline constexpr std::string_view kEncodage = "iso-8859-1";

// Empties both registries (keeping the XML-Schema types), registers the shared types, then every
// port's types, interface and class in the port order. Options: kOptionsSoapEncode or
// kOptionsSoapLitteral.
void EnregistrerServicesWeb(std::string_view encodage, uint16_t options);

// Rewrites an answer so that it names only XML-Schema types: the declarations of the types
// namespace's prefix NS2 go, and the key, placement, duration and week types become their base
// types. A start tag that still names an NS2 type (an array type) keeps its declaration.
std::string RemplacerTypesParTypesDeBase(std::string_view texte);

}  // namespace SupSvcWImplementations
