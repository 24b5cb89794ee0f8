// The client side of the link to the main database server. Only the settings that the registry
// keeps are declared here; the client itself (channels, handshake, login) is not built yet, and
// every call raises ENonConstruit.
#pragma once

#include <string>

class TIeClient {
 public:
  // The TCP channel's server address and port, as texts.
  std::string GetAdresseIpServeur() const;
  void SetAdresseIpServeur(const std::string& Valeur);
  std::string GetPortTcpServeur() const;
  void SetPortTcpServeur(const std::string& Valeur);
};
