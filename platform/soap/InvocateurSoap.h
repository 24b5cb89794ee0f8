// The dispatcher of SOAP requests: finds the port and operation that the SOAP action names (the
// request's path plays no part), decodes the envelope in the port's registered use, calls the
// operation on a fresh implementation object and writes the answer.
//
// A request the caller got wrong is answered with a "Client" fault (or "VersionMismatch",
// "MustUnderstand"), a refusal of the operation
// (ERemotableException) with a "Server" fault carrying its message. Any other exception leaves the
// dispatcher for the caller to answer. Main thread only.
#pragma once

#include <string>
#include <string_view>

#include "platform/soap/RegistreInvocables.h"

class TInvocateurSoap {
 public:
  explicit TInvocateurSoap(const TRegistreInvocables& registre = RegistreInvocables()) : registre_(registre) {}

  // Dispatches `requete` and answers into `reponse` (replaced). `charsetHttp`: the charset of the
  // request's HTTP Content-Type, empty when none.
  void Dispatcher(std::string_view chemin, std::string_view actionSoap, std::string_view requete,
                  std::string& reponse, std::string_view charsetHttp = {}) const;

 private:
  const TRegistreInvocables& registre_;
};
