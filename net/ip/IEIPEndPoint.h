// An IPv4 address with a port: the form in which addresses travel inside serialised objects and the
// socket address the transports use.
//
// Serialised (after what TCustomSerializable writes, which is nothing): the address as an integer
// (its four bytes in dotted order), then, for family 2, the port in network order as a word (high
// byte first): 10.1.2.3 port 49200 is 0A 01 02 03 C0 30.
#pragma once

#include <cstdint>
#include <memory>

#include "core/serial/Serialisation.h"
#include "net/ip/IEIPAddress.h"
#include "net/protocol/Trame.h"

class TIPEndPoint : public TCustomSerializable {
  NV_DECLARE_CLASS(TIPEndPoint)
 public:
  // Keeps a copy of the address.
  TIPEndPoint(const TIPAddress& Adresse, uint16_t Port);
  explicit TIPEndPoint(TBlank b) : TCustomSerializable(b) {}

  const TIPAddress* Adresse() const { return adresse_.get(); }
  uint16_t Port = 0;  // host order
  // The address's family; 0 for an end point read from nothing yet.
  int32_t Famille() const { return adresse_ ? adresse_->Famille : 0; }
  // Family 2 (16-bit), the port in network order, the address, 8 zero bytes.
  TypeAdresseSocket EnSockAddr() const;

  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

 private:
  std::unique_ptr<TIPAddress> adresse_;
};

namespace IEIPEndPoint {
// Registers TIPEndPoint by name, so that one can be read before any has been written.
void Initialiser();
}  // namespace IEIPEndPoint
