// The administration port "PortAdmin" of the service "TzSvcWAdmin": one operation, Version, which
// answers the program's version text. It owns no remotable type.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/soap/RegistreInvocables.h"

class TSvcWAdmin : public TInvokableClass {
 public:
  // The product name, the web service's kind word, and the version as "2007 - 0.6.1". Never raises.
  std::string Version();
};

namespace SupSvcWAdmin {

inline constexpr std::string_view kNamespace = "urn:TzSvcWAdmin-PortAdmin";

// Registers the interface ITzSvcWAdmin with its namespace, the WSDL encoding and the invoke options,
// then its implementation class.
void Enregistrer(std::string_view namespaceTypes, std::string_view encodage, uint16_t options);

}  // namespace SupSvcWAdmin
