// The WSDL document of the service, generated from the registry of ports and remotable types, so
// that it names exactly the operations the dispatcher answers: RPC style, one document for every
// registered port, in registration order. The literal variant is derived from the encoded one as
// text; "{RequestHost}" is filled per request with a validated host.
#pragma once

#include <string>
#include <string_view>

#include "platform/soap/RegistreInvocables.h"

namespace DocumentWsdl {

// The encoded WSDL of the ports registered in `registre` (use="encoded" whatever their options),
// with "{DateCopyright}" in its opening comment and "{RequestHost}" in the port addresses.
std::string GenererWsdlEncode(const TRegistreInvocables& registre, const TRegistreTypesRemotables& types,
                              std::string_view namespaceTypes);

// The literal variant: every encodingStyle attribute of the bodies (with the line break and the 19
// blanks that follow it) removed, every use="encoded" made use="literal".
std::string DeriverWsdlLitteral(std::string_view encode);

// Replaces the first "{DateCopyright}" by an empty text, as the documents are loaded.
std::string PreparerDocument(std::string_view document);

// Every "{RequestHost}" replaced by `hote`.
std::string RemplacerRequestHost(std::string_view wsdl, std::string_view hote);

}  // namespace DocumentWsdl
