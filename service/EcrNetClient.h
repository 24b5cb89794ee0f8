// The network-client data module as the HTTP front end sees it: whether the service is logged in to
// the data server, and the "Authorization" header value that callers must present. The connection
// itself (login, streams, modification orders) lives here too once it is built; until then a
// program or a test sets the logged-in state directly.
#pragma once

#include <string>

#include "ui/DynaLibU.h"

class TFicheNetClient {
 public:
  // The unzip unit's settings start afresh with the module.
  TFicheNetClient() { DynaLibU::InitialiserReglages(); }

  // "Basic " followed by the Base64 text of the account's code, ":" and its password; empty until
  // the service is logged in.
  const std::string& CredentielAttendu() const { return credentielAttendu_; }
  void DefinirCredentielAttendu(std::string credentiel) { credentielAttendu_ = std::move(credentiel); }

 private:
  std::string credentielAttendu_;
};
