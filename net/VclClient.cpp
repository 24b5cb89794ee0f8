#include "net/VclClient.h"

#include "core/objects/Exceptions.h"

std::string TIeClient::GetAdresseIpServeur() const { throw ENonConstruit("TIeClient.GetAdresseIpServeur: not built yet"); }
void TIeClient::SetAdresseIpServeur(const std::string&) { throw ENonConstruit("TIeClient.SetAdresseIpServeur: not built yet"); }
std::string TIeClient::GetPortTcpServeur() const { throw ENonConstruit("TIeClient.GetPortTcpServeur: not built yet"); }
void TIeClient::SetPortTcpServeur(const std::string&) { throw ENonConstruit("TIeClient.SetPortTcpServeur: not built yet"); }
