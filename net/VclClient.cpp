#include "net/VclClient.h"

#include "core/objects/Exceptions.h"

std::string TIeClient::GetAdresseIpServeur() const { throw ENotBuiltYet("TIeClient.GetAdresseIpServeur"); }
void TIeClient::SetAdresseIpServeur(const std::string&) { throw ENotBuiltYet("TIeClient.SetAdresseIpServeur"); }
std::string TIeClient::GetPortTcpServeur() const { throw ENotBuiltYet("TIeClient.GetPortTcpServeur"); }
void TIeClient::SetPortTcpServeur(const std::string&) { throw ENotBuiltYet("TIeClient.SetPortTcpServeur"); }
